#pragma once

#include "SL/Com/Format/CSampleTraits.h"

#include <cstdint>
#include <vector>

namespace TestSupport {

// Distinct, non-zero sample values of depth N that use the type's range
// (24-bit values stay within 24 bits).
template <int N>
struct CSampleValues;

template <>
struct CSampleValues<65544> {
  static unsigned char At(long k) { return static_cast<unsigned char>(1 + (k * 37) % 255); }
};
template <>
struct CSampleValues<65552> {
  static std::int16_t At(long k) {
    return static_cast<std::int16_t>(-32768 + 1 + (k * 1237) % 65534);
  }
};
template <>
struct CSampleValues<65560> {
  static std::int32_t At(long k) {
    return static_cast<std::int32_t>(-8388608 + 1 + (k * 123457) % 16777214);
  }
};
template <>
struct CSampleValues<65568> {
  static std::int32_t At(long k) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(k + 1) * 2654435761u | 1u);
  }
};
template <>
struct CSampleValues<131104> {
  static float At(long k) { return static_cast<float>(k) * 0.25f - 3.125f; }
};
template <>
struct CSampleValues<131136> {
  static double At(long k) { return static_cast<double>(k) * 0.125 - 7.0625; }
};

template <int N>
std::vector<typename SL::CSampleTraits<N>::CValueType> MakeSamples(long count, long first = 0) {
  std::vector<typename SL::CSampleTraits<N>::CValueType> v;
  for (long k = 0; k < count; ++k) {
    v.push_back(CSampleValues<N>::At(first + k));
  }
  return v;
}

// The six sample bit depths, for typed tests.
template <int N>
struct CDepth {
  enum { value = N };
};

}  // namespace TestSupport
