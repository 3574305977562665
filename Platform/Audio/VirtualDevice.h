#pragma once

// For tests: virtual devices in place of the machine's, and what they were
// given. See README.md.

#include "Platform/Audio/AudioHardware.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace AudioLayer {

class CLayerDevice;
class CVirtualDriver;

// Packed 32-bit float in the machine's byte order: what devices report.
AudioStreamBasicDescription MakeFloatFormat(double sampleRate, std::uint32_t channels);
// Packed signed 16-bit integers in the machine's byte order.
AudioStreamBasicDescription MakeInteger16Format(double sampleRate, std::uint32_t channels);

struct CVirtualDeviceOptions {
  std::string mName = "Virtual Output";
  bool mIsInput = false;
  AudioStreamBasicDescription mFormat = MakeFloatFormat(44100.0, 2);
  std::uint32_t mBufferFrames = 512;
  // How much an output device keeps, or an input device can be fed ahead.
  double mCapacitySeconds = 60.0;
};

// What an output device was given while in one stream format.
struct CVirtualRecording {
  AudioStreamBasicDescription mFormat;
  std::vector<unsigned char> mBytes;
  // The bytes as floats; empty unless the format is float32.
  std::vector<float> Floats() const;
};

// One virtual device of the layer. Not to be driven from inside its own IO
// procedures or property listeners.
class CVirtualDevice {
public:
  AudioDeviceId GetId() const;
  std::string const& GetName() const;

  // Replaces the stream format; the listeners of the format property run
  // (on the notification thread) while the IO waits, and it goes on after
  // they have returned.
  void SetStreamFormat(AudioStreamBasicDescription const& format);
  // Starting the device fails while set.
  void SetStartFails(bool fails);

  // Output: every buffer played since the last ClearOutput, in full, one
  // recording per stream format.
  std::vector<CVirtualRecording> GetRecordings() const;
  // The same, float samples only, run together.
  std::vector<float> GetOutput() const;
  void ClearOutput();

  // Input: samples (interleaved float32) delivered before silence; returns
  // how many were taken.
  std::size_t Feed(std::vector<float> const& samples);

  // The IO thread runs (some procedure is started).
  bool IsRunning() const;
  unsigned long GetCycleCount() const;
  unsigned long GetStartCount() const;
  std::size_t GetIOProcCount() const;
  // True once not running; false when the limit passed first.
  bool WaitUntilIdle(std::chrono::milliseconds limit) const;
  // True once GetCycleCount() reached count.
  bool WaitForCycles(unsigned long count, std::chrono::milliseconds limit) const;

private:
  friend class CVirtualAudio;
  CVirtualDevice(std::shared_ptr<CLayerDevice> device, CVirtualDriver* driver);

  std::shared_ptr<CLayerDevice> mDevice;
  CVirtualDriver* mDriver;
};

// Puts virtual devices in place of every device of the layer for its
// lifetime; the first output and the first input are the defaults. The
// machine's devices come back when it goes. One at a time.
class CVirtualAudio {
public:
  // "Virtual Output" and "Virtual Input": 44.1 kHz, stereo float, 512-frame buffers.
  CVirtualAudio();
  explicit CVirtualAudio(std::vector<CVirtualDeviceOptions> const& devices);
  ~CVirtualAudio();
  CVirtualAudio(CVirtualAudio const&) = delete;
  CVirtualAudio& operator=(CVirtualAudio const&) = delete;

  // The first output (input) device; throws std::logic_error when there is none.
  CVirtualDevice& Output();
  CVirtualDevice& Input();
  CVirtualDevice& Device(std::size_t index);

  // Takes every device away: the layer has none (the handles still read).
  void RemoveAllDevices();

private:
  std::vector<std::unique_ptr<CVirtualDevice> > mDevices;
};

}  // namespace AudioLayer
