#pragma once

#include "Platform/Audio/AudioHardware.h"

namespace CoreAudio {

// Hardware-wide properties.
class CHardware {
public:
  // 0 when the size cannot be read.
  static std::uint32_t GetPropertySize(AudioPropertyId id);
  static AudioStatus GetProperty(AudioPropertyId id, std::uint32_t& size, void* data);
  static AudioStatus SetProperty(AudioPropertyId id, std::uint32_t size, void const* data);
};

}  // namespace CoreAudio
