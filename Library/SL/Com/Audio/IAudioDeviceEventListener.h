#pragma once

namespace SL {

class CAudioDeviceEvent;

class IAudioDeviceEventListener {
public:
  virtual ~IAudioDeviceEventListener() {}
  virtual void Handle(CAudioDeviceEvent const& event) = 0;
};

}  // namespace SL
