#pragma once

#include "Platform/Audio/AudioHardware.h"
#include "SL/Com/Stream/CSampleAttribute.h"
#include "SL/Linux/Audio/CDevice.h"

namespace CoreAudio {

// A stream description, all zero until set.
class CAudioStreamDesc : public AudioStreamBasicDescription {
public:
  CAudioStreamDesc();
  // The device's current format in that direction; zero when unreadable.
  CAudioStreamDesc(CDevice const& device, bool isInput);
  CAudioStreamDesc(AudioDeviceId device, bool isInput);

  void Init(AudioDeviceId device, bool isInput);
  // Interleaved linear PCM of the attribute's depth, rate and channels, in
  // its byte order; integers of more than 8 bits are signed.
  void SetAttribute(SL::CSampleAttribute const& attribute);
  // False unless linear PCM.
  bool GetAttribute(SL::CSampleAttribute& attribute) const;
};

}  // namespace CoreAudio
