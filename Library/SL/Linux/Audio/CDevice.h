#pragma once

#include "Platform/Audio/AudioHardware.h"

#include <cstddef>
#include <string>
#include <vector>

namespace CoreAudio {

// A platform audio device by id; 0 is no device.
class CDevice {
public:
  CDevice() : mId(kAudioDeviceNone) {}
  explicit CDevice(AudioDeviceId id) : mId(id) {}

  // The first device of that direction with that name; none: 0.
  void Init(std::string const& name, bool isInput) { mId = NameToDeviceID(name, isInput); }
  AudioDeviceId GetId() const { return mId; }

  // 0 when it cannot be read.
  static AudioDeviceId GetDefaultDeviceID(bool isInput);
  // The devices with a stream in that direction, in the system's order.
  static std::size_t GetDeviceIDs(std::vector<AudioDeviceId>& ids, bool isInput);
  static std::size_t GetDeviceCount(bool isInput);
  static AudioDeviceId NameToDeviceID(std::string const& name, bool isInput);
  // A name that cannot be read is empty.
  static void GetDeviceNames(std::vector<std::string>& names, bool isInput);

  // 0 for no device or on failure.
  std::uint32_t GetPropertySize(std::uint32_t channel, bool isInput,
                                AudioPropertyId property) const;
  AudioStatus GetProperty(std::uint32_t channel, bool isInput, AudioPropertyId property,
                          std::uint32_t& size, void* data) const;
  AudioStatus SetProperty(std::uint32_t channel, bool isInput, AudioPropertyId property,
                          std::uint32_t size, void const* data, AudioTimeStamp const* when) const;
  bool HasProperty(AudioPropertyId property, bool isInput, std::uint32_t channel) const;
  bool GetAudioStreamDesc(AudioStreamBasicDescription& description, bool isInput) const;
  // Empty for no device or on failure.
  std::string GetDeviceName(bool isInput) const;
  bool IsAlive() const;

private:
  AudioDeviceId mId;
};

}  // namespace CoreAudio
