#pragma once

#include "SL/Com/Stream/CSampleAttribute.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace SL {

class IAudioDeviceEventListener;

// One audio device of the machine, in one direction.
class IAudioDevice {
public:
  virtual ~IAudioDevice() {}

  // The name given at creation.
  virtual std::string GetDeviceName() const = 0;
  // Whether the device takes a stream of this sample format now.
  virtual bool IsAvailable(CSampleAttribute const& attribute) const = 0;
  // The frame of the source (or destination) that the stream has reached;
  // 0 when idle.
  virtual long GetCurrentFrame() const = 0;
  // Held weakly: the caller keeps the listener alive.
  virtual void AddAudioEventListener(boost::shared_ptr<IAudioDeviceEventListener> listener) = 0;
};

}  // namespace SL
