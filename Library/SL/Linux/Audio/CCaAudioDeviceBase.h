#pragma once

#include "SL/Com/Audio/CAudioDeviceBase.h"
#include "SL/Linux/Audio/CDevice.h"

#include <atomic>
#include <string>

namespace SL {

// The device base on the platform's audio layer: the platform device and
// the count of frames the current stream has moved.
class CCaAudioDeviceBase : public CAudioDeviceBase {
public:
  class CTransaction;

  CCaAudioDeviceBase(std::string const& name, IAudioDeviceFacade const& facade);
  ~CCaAudioDeviceBase() override;

  void StoreTotalFrame() const override;
  long GetTotalFrame() const override;
  void ResetTotalFrame() override;
  // From the audio thread: frames the current stream has moved. Touches
  // nothing but the count, never the current transaction.
  void AddTotalFrame(long frames) { mTotalFrame.fetch_add(frames, std::memory_order_relaxed); }

  CoreAudio::CDevice const& GetDevice() const { return mDevice; }

protected:
  bool IsAudioThread() const override;
  // Stops (waiting) and releases the current transaction, then ends the
  // runner: the most derived destructor's first step.
  void Shutdown();

  CoreAudio::CDevice mDevice;

private:
  mutable std::atomic<long> mTotalFrame;
};

}  // namespace SL
