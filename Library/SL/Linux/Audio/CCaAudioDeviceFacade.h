#pragma once

#include "SL/Com/Audio/IAudioDeviceFacade.h"

namespace SL {

// The audio hardware through the platform layer; holds nothing and asks
// the layer afresh each time. Never throws for a platform failure: counts
// are 0, names empty, availability false.
class CCaAudioDeviceFacade : public IAudioDeviceFacade {
public:
  int GetInDeviceCount() const override;
  int GetOutDeviceCount() const override;
  std::vector<std::string> GetInDeviceNames() const override;
  std::vector<std::string> GetOutDeviceNames() const override;
  std::string GetDefaultInDeviceName() const override;
  std::string GetDefaultOutDeviceName() const override;
  std::unique_ptr<IAudioInDevice> CreateInDevice(std::string const& name) const override;
  std::unique_ptr<IAudioOutDevice> CreateOutDevice(std::string const& name) const override;
  // A device is available for a stream when its current format in that
  // direction is linear PCM of the stream's kind (integer or float) and bit
  // count; channels and rate are converted.
  bool IsInDeviceAvailable(std::string const& name,
                           CSampleAttribute const& attribute) const override;
  bool IsOutDeviceAvailable(std::string const& name,
                            CSampleAttribute const& attribute) const override;

private:
  static std::string GetDefaultDeviceName(bool isInput);
  static bool IsDeviceAvailable(std::string const& name, CSampleAttribute const& attribute,
                                bool isInput);
};

}  // namespace SL
