#pragma once

#include "SL/Com/Audio/IAudioDeviceFacade.h"
#include "SL/Com/Audio/IAudioOutDevice.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace SL {

// The output-device operations over a device base (a CAudioDeviceBase).
template <class Base>
class AAudioOutDevice : public Base, public IAudioOutDevice {
public:
  typedef typename Base::ITransaction ITransaction;

  AAudioOutDevice(std::string const& name, IAudioDeviceFacade const& facade) : Base(name, facade) {}

  std::string GetDeviceName() const override { return this->mName; }
  bool IsAvailable(CSampleAttribute const& attribute) const override {
    return this->mFacade.IsOutDeviceAvailable(this->mName, attribute);
  }
  long GetCurrentFrame() const override { return Base::GetCurrentFrame(); }
  void AddAudioEventListener(boost::shared_ptr<IAudioDeviceEventListener> listener) override {
    Base::AddAudioEventListener(listener);
  }

  bool Play(boost::shared_ptr<IInputSampleIterator> source) override {
    if (!source || !this->HasRunner() || IsPlaying()) {
      return false;
    }
    if (!IsAvailable(source->GetAttribute())) {
      return false;
    }
    this->mFactory->mAttribute = source->GetAttribute();
    this->ResetTotalFrame();
    boost::shared_ptr<ITransaction> const transaction = CreateTransaction(source);
    if (!transaction) {
      return false;
    }
    this->InstallTransaction(transaction);
    if (transaction->IsValid() && transaction->StartStreaming()) {
      return true;
    }
    // Torn down here, on the caller's thread, with nothing of it left current.
    this->TakeTransaction();
    return false;
  }

  // A playback that has run dry counts until the runner has retired it.
  bool IsPlaying() const override { return static_cast<bool>(this->LoadTransaction()); }

  bool Stop() override {
    this->StoreTotalFrame();
    boost::shared_ptr<ITransaction> const transaction = this->TakeTransaction();
    if (transaction && this->IsAudioThread()) {
      // From inside a callback (a source that stops its own playback): the
      // call under way cannot be waited for, so the stream only stops taking
      // samples here and is torn down on the runner thread.
      transaction->StopStreaming();
      this->RetireLater(transaction);
    } else if (transaction) {
      transaction->AbortStreaming();
    }
    // No event of the stopped playback reaches a listener after this.
    this->DropEvents();
    return true;
  }

protected:
  virtual boost::shared_ptr<ITransaction> CreateTransaction(
      boost::shared_ptr<IInputSampleIterator> source) = 0;
};

}  // namespace SL
