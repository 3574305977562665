#pragma once

#include "Platform/Audio/Private/IDeviceDriver.h"

#include <atomic>
#include <chrono>
#include <string>

typedef struct _snd_pcm snd_pcm_t;
typedef struct _snd_config snd_config_t;

namespace AudioLayer {

// ALSA's "default" PCM in one direction, opened as packed 32-bit float in 2
// channels (ALSA's plug layer converts where the device needs it). Paced by
// blocking reads and writes; a PCM that never blocks (the null device) is
// held to real time by the clock. An underrun is recovered from; a PCM that
// fails for good is closed and the cycles go on by the clock, silent.
class CAlsaDriver : public IDeviceDriver {
public:
  CAlsaDriver(std::string const& configuration, bool isInput);
  ~CAlsaDriver() override;

  // Whether "default" opens in that direction, and its format and period.
  static bool Probe(std::string const& configuration, bool isInput,
                    AudioStreamBasicDescription* format, std::uint32_t* bufferFrames);

  AudioStatus Open(AudioStreamBasicDescription const& format, std::uint32_t bufferFrames) override;
  void SetFormat(AudioStreamBasicDescription const& format, std::uint32_t bufferFrames) override;
  void WaitForCycle(void* data, std::uint32_t bytes) override;
  void FinishCycle(void const* data, std::uint32_t bytes) override;
  void Close(bool drain) override;
  bool IsAlive() const override { return mAlive.load(std::memory_order_relaxed); }

private:
  void Fail();
  void KeepTime(std::uint32_t frames);

  std::string const mConfigurationText;
  bool const mIsInput;
  snd_pcm_t* mPcm;
  snd_config_t* mConfiguration;
  std::uint32_t mBytesPerFrame;
  double mRate;
  double mBufferSeconds;
  std::chrono::steady_clock::time_point mStart;
  double mSecondsMoved;
  std::atomic<bool> mAlive;
};

}  // namespace AudioLayer
