#pragma once

#include <string>

namespace AudioLayer {

// The ALSA configuration (in ALSA's own syntax) that the layer's system
// devices open "default" with; empty for the system's configuration. The
// system devices are found afresh. For tests, which point "default" at
// ALSA's file output.
void SetAlsaConfiguration(std::string const& text);

}  // namespace AudioLayer
