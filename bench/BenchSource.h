#pragma once

// The source files of the converter, controller and application benches:
// 16-bit stereo at 44.1 kHz, made with sox.

#include <cstdlib>
#include <string>

namespace VQ7Bench {

// False when sox is missing or failed.
inline bool MakeSource(std::string const& path, int seconds) {
  std::string const command = "sox -D -n -r 44100 -b 16 -c 2 '" + path + "' synth " +
                              std::to_string(seconds) + " sine 440 pinknoise vol 0.5 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

inline bool MakeTenMinuteSource(std::string const& path) { return MakeSource(path, 600); }

}  // namespace VQ7Bench
