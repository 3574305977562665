#pragma once

#include "Platform/Audio/AudioHardware.h"

namespace AudioLayer {

// What moves one device's samples: the ALSA PCM or a virtual device. The
// device calls Open and SetFormat with its own lock held and the IO thread
// parked or gone; the cycle calls run on the IO thread alone.
class IDeviceDriver {
public:
  virtual ~IDeviceDriver() {}

  // Before the IO thread starts: ready to stream in this format. A non-zero
  // status fails the start.
  virtual AudioStatus Open(AudioStreamBasicDescription const& format,
                           std::uint32_t bufferFrames) = 0;
  // The format changed while open.
  virtual void SetFormat(AudioStreamBasicDescription const& format, std::uint32_t bufferFrames) = 0;
  // Waits until the next cycle is due; an input device fills data with what
  // it captured (silence when it has nothing).
  virtual void WaitForCycle(void* data, std::uint32_t bytes) = 0;
  // After the procedures ran: an output device plays data; an input device
  // ignores it.
  virtual void FinishCycle(void const* data, std::uint32_t bytes) = 0;
  // The IO thread ends. drain: what the device still holds is the end of
  // the sound and plays out; else it is dropped.
  virtual void Close(bool drain) = 0;
  // False once the device has failed for good.
  virtual bool IsAlive() const = 0;
};

}  // namespace AudioLayer
