#pragma once

// Generators of test blocks for the device's block coding: random and
// extreme signals, one block of 16 samples at a time.

#include <array>
#include <cmath>
#include <cstdint>
#include <random>

namespace KvacBlocks {

typedef std::array<short, 16> Block;

inline short Clip(long v) {
  return static_cast<short>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
}

// Kind 0..9: white noise at full scale, rails only, DC near -32768, DC near
// 32767, silence, quiet noise, sine-like, steps, noise of random loudness,
// single spikes.
inline Block Make(int kind, std::mt19937& rng) {
  Block b{};
  std::uniform_int_distribution<int> full(-32768, 32767);
  switch (kind % 10) {
    case 0:
      for (short& s : b) s = static_cast<short>(full(rng));
      break;
    case 1:
      for (short& s : b) s = (rng() & 1) ? -32768 : 32767;
      break;
    case 2:
      for (short& s : b) s = static_cast<short>(-32768 + static_cast<int>(rng() % 64));
      break;
    case 3:
      for (short& s : b) s = static_cast<short>(32767 - static_cast<int>(rng() % 64));
      break;
    case 4:
      break;
    case 5:
      for (short& s : b) s = static_cast<short>(static_cast<int>(rng() % 9) - 4);
      break;
    case 6: {
      const double amplitude = static_cast<double>(rng() % 32768);
      const double step = 0.01 + static_cast<double>(rng() % 1000) / 1000.0;
      const double phase = static_cast<double>(rng() % 628) / 100.0;
      for (int i = 0; i < 16; ++i)
        b[i] = Clip(static_cast<long>(amplitude * std::sin(phase + step * i)));
      break;
    }
    case 7:
      for (int i = 0; i < 16; ++i)
        b[i] = static_cast<short>((i / 4) % 2 ? 32767 - static_cast<int>(rng() % 4)
                                              : -32768 + static_cast<int>(rng() % 4));
      break;
    case 8: {
      const int bitsOfNoise = 1 + static_cast<int>(rng() % 16);
      const int centre = full(rng);
      for (short& s : b)
        s = Clip(centre + static_cast<long>(rng() % (1u << bitsOfNoise)) -
                 (1 << (bitsOfNoise - 1)));
      break;
    }
    case 9:
      b[rng() % 16] = static_cast<short>(full(rng));
      break;
  }
  return b;
}

}  // namespace KvacBlocks
