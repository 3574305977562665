#include "SL/Linux/Audio/CCaAudioInDevice.h"

#include "SL/Com/Audio/IAudioDeviceFacade.h"
#include "SL/Linux/Audio/CCaAudioDeviceTransaction.h"

namespace SL {

CCaAudioInDevice::CCaAudioInDevice(std::string const& name, IAudioDeviceFacade const& facade)
    : CCaAudioDeviceBase(name, facade) {
  mDevice.Init(name, true);
}

CCaAudioInDevice::~CCaAudioInDevice() { Shutdown(); }

bool CCaAudioInDevice::IsAvailable(CSampleAttribute const& attribute) const {
  return mFacade.IsInDeviceAvailable(mName, attribute);
}

bool CCaAudioInDevice::Record(boost::shared_ptr<IOutputSampleIterator> destination) {
  if (!destination || !HasRunner() || IsRecording()) {
    return false;
  }
  mFactory->mAttribute = destination->GetAttribute();
  ResetTotalFrame();
  boost::shared_ptr<ITransaction> const transaction(new CTransaction(*this, destination));
  InstallTransaction(transaction);
  if (transaction->IsValid() && transaction->StartStreaming()) {
    return true;
  }
  TakeTransaction();
  return false;
}

bool CCaAudioInDevice::Stop() {
  StoreTotalFrame();
  boost::shared_ptr<ITransaction> const transaction = TakeTransaction();
  if (transaction && IsAudioThread()) {
    transaction->StopStreaming();
    RetireLater(transaction);
  } else if (transaction) {
    transaction->AbortStreaming();
  }
  DropEvents();
  return true;
}

}  // namespace SL
