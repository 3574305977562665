#include "SL/Linux/Audio/CDevice.h"

#include "GT/Com/Base/DebugTrace.h"
#include "SL/Linux/Audio/CHardware.h"
#include "SL/Linux/Audio/CLog.h"
#include "SL/Linux/Audio/Num2Code.h"

#include <cstring>

namespace CoreAudio {

AudioDeviceId CDevice::GetDefaultDeviceID(bool isInput) {
  AudioDeviceId id = kAudioDeviceNone;
  std::uint32_t size = sizeof id;
  AudioPropertyId const property =
      isInput ? kAudioPropertyDefaultInputDevice : kAudioPropertyDefaultOutputDevice;
  if (CHardware::GetProperty(property, size, &id) != 0 || size != sizeof id) {
    return kAudioDeviceNone;
  }
  return id;
}

std::size_t CDevice::GetDeviceIDs(std::vector<AudioDeviceId>& ids, bool isInput) {
  // Devices without a stream in this direction fail to answer; that is no error.
  CLogSuspension const quiet;
  ids.clear();
  std::uint32_t size = CHardware::GetPropertySize(kAudioPropertyDeviceList);
  if (size < sizeof(AudioDeviceId) || size % sizeof(AudioDeviceId) != 0) {
    return 0;
  }
  std::vector<AudioDeviceId> all(size / sizeof(AudioDeviceId));
  if (CHardware::GetProperty(kAudioPropertyDeviceList, size, all.data()) != 0) {
    return 0;
  }
  all.resize(size / sizeof(AudioDeviceId));
  for (AudioDeviceId const id : all) {
    AudioStreamBasicDescription description;
    if (CDevice(id).GetAudioStreamDesc(description, isInput) && description.mChannelsPerFrame > 0) {
      ids.push_back(id);
    }
  }
  return ids.size();
}

std::size_t CDevice::GetDeviceCount(bool isInput) {
  std::vector<AudioDeviceId> ids;
  return GetDeviceIDs(ids, isInput);
}

AudioDeviceId CDevice::NameToDeviceID(std::string const& name, bool isInput) {
  std::vector<AudioDeviceId> ids;
  GetDeviceIDs(ids, isInput);
  for (AudioDeviceId const id : ids) {
    if (CDevice(id).GetDeviceName(isInput) == name) {
      return id;
    }
  }
  return kAudioDeviceNone;
}

void CDevice::GetDeviceNames(std::vector<std::string>& names, bool isInput) {
  names.clear();
  std::vector<AudioDeviceId> ids;
  GetDeviceIDs(ids, isInput);
  for (AudioDeviceId const id : ids) {
    names.push_back(CDevice(id).GetDeviceName(isInput));
  }
}

std::uint32_t CDevice::GetPropertySize(std::uint32_t channel, bool isInput,
                                       AudioPropertyId property) const {
  if (mId == kAudioDeviceNone) {
    return 0;
  }
  std::uint32_t size = 0;
  AudioStatus const status =
      AudioDeviceGetPropertyInfo(mId, channel, isInput, property, &size, nullptr);
  if (status != 0) {
    TRACE("AudioDeviceGetPropertyInfo() failed: error=%s, device=%d, property=%s \n",
          num2code(status).c_str(), static_cast<int>(mId), num2code(property).c_str());
    CLog::Error(status);
    return 0;
  }
  return size;
}

AudioStatus CDevice::GetProperty(std::uint32_t channel, bool isInput, AudioPropertyId property,
                                 std::uint32_t& size, void* data) const {
  if (mId == kAudioDeviceNone) {
    return kAudioStatusBadDevice;
  }
  AudioStatus const status = AudioDeviceGetProperty(mId, channel, isInput, property, &size, data);
  if (status != 0) {
    TRACE("AudioDeviceGetProperty() failed: error=%s, device=%d, property=%s \n",
          num2code(status).c_str(), static_cast<int>(mId), num2code(property).c_str());
    CLog::Error(status);
  }
  return status;
}

AudioStatus CDevice::SetProperty(std::uint32_t channel, bool isInput, AudioPropertyId property,
                                 std::uint32_t size, void const* data,
                                 AudioTimeStamp const* when) const {
  if (mId == kAudioDeviceNone) {
    return kAudioStatusBadDevice;
  }
  AudioStatus const status =
      AudioDeviceSetProperty(mId, when, channel, isInput, property, size, data);
  if (status != 0) {
    TRACE("AudioDeviceSetProperty() failed: error=%s, device=%d, property=%s \n",
          num2code(status).c_str(), static_cast<int>(mId), num2code(property).c_str());
    CLog::Error(status);
  }
  return status;
}

bool CDevice::HasProperty(AudioPropertyId property, bool isInput, std::uint32_t channel) const {
  std::uint32_t size = 0;
  return mId != kAudioDeviceNone &&
         AudioDeviceGetPropertyInfo(mId, channel, isInput, property, &size, nullptr) == 0;
}

bool CDevice::GetAudioStreamDesc(AudioStreamBasicDescription& description, bool isInput) const {
  std::uint32_t size = sizeof description;
  return GetProperty(0, isInput, kAudioPropertyStreamFormat, size, &description) == 0 &&
         size == sizeof description;
}

std::string CDevice::GetDeviceName(bool isInput) const {
  std::uint32_t size = GetPropertySize(0, isInput, kAudioPropertyDeviceName);
  if (size == 0) {
    return std::string();
  }
  std::vector<char> text(size, '\0');
  if (GetProperty(0, isInput, kAudioPropertyDeviceName, size, text.data()) != 0) {
    return std::string();
  }
  return std::string(text.data(), strnlen(text.data(), size));
}

bool CDevice::IsAlive() const {
  std::uint32_t alive = 0;
  std::uint32_t size = sizeof alive;
  return mId != kAudioDeviceNone &&
         GetProperty(0, false, kAudioPropertyDeviceIsAlive, size, &alive) == 0 && alive != 0;
}

}  // namespace CoreAudio
