#pragma once

// The source file of the converter and controller benches: ten minutes of
// 16-bit stereo at 44.1 kHz, made with sox.

#include <cstdlib>
#include <string>

namespace VQ7Bench {

// False when sox is missing or failed.
inline bool MakeTenMinuteSource(std::string const& path) {
  std::string const command = "sox -D -n -r 44100 -b 16 -c 2 '" + path +
                              "' synth 600 sine 440 pinknoise vol 0.5 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

}  // namespace VQ7Bench
