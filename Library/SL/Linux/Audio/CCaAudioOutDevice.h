#pragma once

#include "SL/Com/Audio/AAudioOutDevice.h"
#include "SL/Linux/Audio/CCaAudioDeviceBase.h"

namespace SL {

// The output device the facade makes and the player uses.
class CCaAudioOutDevice : public AAudioOutDevice<CCaAudioDeviceBase> {
public:
  // The first output device of that name; a name that matches none gives a
  // device that fails to play.
  CCaAudioOutDevice(std::string const& name, IAudioDeviceFacade const& facade);
  ~CCaAudioOutDevice() override;

protected:
  boost::shared_ptr<ITransaction> CreateTransaction(
      boost::shared_ptr<IInputSampleIterator> source) override;
};

}  // namespace SL
