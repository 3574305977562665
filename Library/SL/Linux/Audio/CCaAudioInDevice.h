#pragma once

#include "SL/Com/Audio/IAudioInDevice.h"
#include "SL/Linux/Audio/CCaAudioDeviceBase.h"

namespace SL {

// The input device: records from the platform device into an output
// iterator, converting from the device's format to the iterator's.
class CCaAudioInDevice : public CCaAudioDeviceBase, public IAudioInDevice {
public:
  CCaAudioInDevice(std::string const& name, IAudioDeviceFacade const& facade);
  ~CCaAudioInDevice() override;

  std::string GetDeviceName() const override { return mName; }
  bool IsAvailable(CSampleAttribute const& attribute) const override;
  long GetCurrentFrame() const override { return CCaAudioDeviceBase::GetCurrentFrame(); }
  void AddAudioEventListener(boost::shared_ptr<IAudioDeviceEventListener> listener) override {
    CCaAudioDeviceBase::AddAudioEventListener(listener);
  }

  bool Record(boost::shared_ptr<IOutputSampleIterator> destination) override;
  bool IsRecording() const override { return static_cast<bool>(LoadTransaction()); }
  bool Stop() override;
};

}  // namespace SL
