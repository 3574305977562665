#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"

#include "SL/Linux/Audio/CAudioStreamDesc.h"
#include "SL/Linux/Audio/CCaAudioInDevice.h"
#include "SL/Linux/Audio/CCaAudioOutDevice.h"
#include "SL/Linux/Audio/CDevice.h"

namespace SL {

namespace {

int const kIntegerKind = 0x10000;
int const kFloatKind = 0x20000;

}  // namespace

int CCaAudioDeviceFacade::GetInDeviceCount() const {
  return static_cast<int>(CoreAudio::CDevice::GetDeviceCount(true));
}

int CCaAudioDeviceFacade::GetOutDeviceCount() const {
  return static_cast<int>(CoreAudio::CDevice::GetDeviceCount(false));
}

std::vector<std::string> CCaAudioDeviceFacade::GetInDeviceNames() const {
  std::vector<std::string> names;
  CoreAudio::CDevice::GetDeviceNames(names, true);
  return names;
}

std::vector<std::string> CCaAudioDeviceFacade::GetOutDeviceNames() const {
  std::vector<std::string> names;
  CoreAudio::CDevice::GetDeviceNames(names, false);
  return names;
}

std::string CCaAudioDeviceFacade::GetDefaultDeviceName(bool isInput) {
  AudioDeviceId const id = CoreAudio::CDevice::GetDefaultDeviceID(isInput);
  if (id == kAudioDeviceNone) {
    return std::string();
  }
  return CoreAudio::CDevice(id).GetDeviceName(isInput);
}

std::string CCaAudioDeviceFacade::GetDefaultInDeviceName() const {
  return GetDefaultDeviceName(true);
}

std::string CCaAudioDeviceFacade::GetDefaultOutDeviceName() const {
  return GetDefaultDeviceName(false);
}

std::unique_ptr<IAudioInDevice> CCaAudioDeviceFacade::CreateInDevice(
    std::string const& name) const {
  return std::unique_ptr<IAudioInDevice>(new CCaAudioInDevice(name, *this));
}

std::unique_ptr<IAudioOutDevice> CCaAudioDeviceFacade::CreateOutDevice(
    std::string const& name) const {
  return std::unique_ptr<IAudioOutDevice>(new CCaAudioOutDevice(name, *this));
}

bool CCaAudioDeviceFacade::IsDeviceAvailable(std::string const& name,
                                             CSampleAttribute const& attribute, bool isInput) {
  int const code = attribute.mBitDepth.GetValue();
  if ((code & (kIntegerKind | kFloatKind)) == 0) {
    return false;
  }
  AudioDeviceId const id = CoreAudio::CDevice::NameToDeviceID(name, isInput);
  if (id == kAudioDeviceNone) {
    return false;
  }
  CoreAudio::CAudioStreamDesc const format(id, isInput);
  if (format.mFormatID != kAudioFormatLinearPcm) {
    return false;
  }
  bool const deviceFloat = (format.mFormatFlags & kAudioFormatFlagIsFloat) != 0;
  bool const streamFloat = (code & kFloatKind) != 0;
  if (deviceFloat != streamFloat) {
    return false;
  }
  std::uint32_t const bits = static_cast<std::uint32_t>(code & 0xFFFF);
  return (format.mBitsPerChannel + 7) / 8 == bits / 8 && format.mBitsPerChannel == bits;
}

bool CCaAudioDeviceFacade::IsInDeviceAvailable(std::string const& name,
                                               CSampleAttribute const& attribute) const {
  return IsDeviceAvailable(name, attribute, true);
}

bool CCaAudioDeviceFacade::IsOutDeviceAvailable(std::string const& name,
                                                CSampleAttribute const& attribute) const {
  return IsDeviceAvailable(name, attribute, false);
}

}  // namespace SL
