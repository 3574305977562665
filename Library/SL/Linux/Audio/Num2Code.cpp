#include "SL/Linux/Audio/Num2Code.h"

namespace CoreAudio {

std::string num2code(std::uint32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char const c = static_cast<char>((code >> shift) & 0xFFu);
    if (c == '\0') {
      break;
    }
    text += c;
  }
  return text;
}

}  // namespace CoreAudio
