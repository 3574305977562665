#include "SL/Linux/Audio/CCaAudioOutDevice.h"

#include "SL/Linux/Audio/CCaAudioDeviceTransaction.h"

namespace SL {

CCaAudioOutDevice::CCaAudioOutDevice(std::string const& name, IAudioDeviceFacade const& facade)
    : AAudioOutDevice<CCaAudioDeviceBase>(name, facade) {
  mDevice.Init(name, false);
}

CCaAudioOutDevice::~CCaAudioOutDevice() { Shutdown(); }

boost::shared_ptr<CCaAudioOutDevice::ITransaction> CCaAudioOutDevice::CreateTransaction(
    boost::shared_ptr<IInputSampleIterator> source) {
  return boost::shared_ptr<ITransaction>(new CTransaction(*this, source));
}

}  // namespace SL
