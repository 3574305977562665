#pragma once

#include <cstdint>
#include <string>

namespace CoreAudio {

// A status or property id as text for traces: its four bytes, most
// significant first, up to the first zero byte.
std::string num2code(std::uint32_t code);

}  // namespace CoreAudio
