#pragma once

#include "SL/Com/Audio/IAudioInDevice.h"
#include "SL/Com/Audio/IAudioOutDevice.h"
#include "SL/Com/Stream/CSampleAttribute.h"

#include <memory>
#include <string>
#include <vector>

namespace SL {

// The machine's audio hardware as a whole: lists devices by name, names the
// defaults, tells whether a device takes a stream format, and makes device
// objects. Devices are named by the system's device-name property.
class IAudioDeviceFacade {
public:
  virtual ~IAudioDeviceFacade() {}

  virtual int GetInDeviceCount() const = 0;
  virtual int GetOutDeviceCount() const = 0;
  virtual std::vector<std::string> GetInDeviceNames() const = 0;
  virtual std::vector<std::string> GetOutDeviceNames() const = 0;
  // Empty when there is no default device.
  virtual std::string GetDefaultInDeviceName() const = 0;
  virtual std::string GetDefaultOutDeviceName() const = 0;
  // Never empty: a device whose name matches nothing fails when asked to
  // stream. The device refers to this facade, which must outlive it.
  virtual std::unique_ptr<IAudioInDevice> CreateInDevice(std::string const& name) const = 0;
  virtual std::unique_ptr<IAudioOutDevice> CreateOutDevice(std::string const& name) const = 0;
  virtual bool IsInDeviceAvailable(std::string const& name,
                                   CSampleAttribute const& attribute) const = 0;
  virtual bool IsOutDeviceAvailable(std::string const& name,
                                    CSampleAttribute const& attribute) const = 0;

  // Receives every platform status the audio layer reports; ignores it.
  static void HandleError(int status);
};

}  // namespace SL
