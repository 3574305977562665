#pragma once

#include <complex>
#include <cstdint>
#include <limits>
#include <utility>

#include "GT/Com/Data/CEndianness.h"
#include "SL/Com/Format/BitDepthCodes.h"

namespace SL {

// Value type and minimum, midpoint and maximum sample of a bit-depth code.
// Integer samples become floating point as (s - mid) / (max - mid).
template <int N>
struct CSampleTraits;

template <>
struct CSampleTraits<nInteger8> {
  using CValueType = unsigned char;
  static constexpr CValueType sMinimumValue = 0;
  static constexpr CValueType sMidpointValue = 128;
  static constexpr CValueType sMaximumValue = 255;
  // Held offset binary, but stored two's complement in AIFF (big-endian)
  // files; WAV (little-endian) files store them as held.
  static constexpr bool IsStoredSigned(GT::CEndianness::EEndian order) {
    return order == GT::CEndianness::BigEndian;
  }
};

template <>
struct CSampleTraits<nInteger16> {
  using CValueType = std::int16_t;
  static constexpr CValueType sMinimumValue = -32768;
  static constexpr CValueType sMidpointValue = 0;
  static constexpr CValueType sMaximumValue = 32767;
};

// 24 bits, sign-extended into 32.
template <>
struct CSampleTraits<nInteger24> {
  using CValueType = std::int32_t;
  static constexpr CValueType sMinimumValue = -8388608;
  static constexpr CValueType sMidpointValue = 0;
  static constexpr CValueType sMaximumValue = 8388607;
};

template <>
struct CSampleTraits<nInteger32> {
  using CValueType = std::int32_t;
  static constexpr CValueType sMinimumValue = std::numeric_limits<std::int32_t>::min();
  static constexpr CValueType sMidpointValue = 0;
  static constexpr CValueType sMaximumValue = 2147483647;
};

// The minimum of the floating-point kinds is the smallest positive normal
// value, not the most negative one.
template <>
struct CSampleTraits<nFloat32> {
  using CValueType = float;
  static constexpr CValueType sMinimumValue = std::numeric_limits<float>::min();
  static constexpr CValueType sMidpointValue = 0.0f;
  static constexpr CValueType sMaximumValue = std::numeric_limits<float>::max();
};

template <>
struct CSampleTraits<nFloat64> {
  using CValueType = double;
  static constexpr CValueType sMinimumValue = std::numeric_limits<double>::min();
  static constexpr CValueType sMidpointValue = 0.0;
  static constexpr CValueType sMaximumValue = std::numeric_limits<double>::max();
};

// numeric_limits is not specialised for complex: its min and max are (0, 0).
template <>
struct CSampleTraits<nComplex32> {
  using CValueType = std::complex<float>;
  static constexpr CValueType sMinimumValue = std::numeric_limits<CValueType>::min();
  static constexpr CValueType sMidpointValue = CValueType(0.0f, 0.0f);
  static constexpr CValueType sMaximumValue = std::numeric_limits<CValueType>::max();
};

template <>
struct CSampleTraits<nComplex64> {
  using CValueType = std::complex<double>;
  static constexpr CValueType sMinimumValue = std::numeric_limits<CValueType>::min();
  static constexpr CValueType sMidpointValue = CValueType(0.0, 0.0);
  static constexpr CValueType sMaximumValue = std::numeric_limits<CValueType>::max();
};

template <>
struct CSampleTraits<nPoint64> {
  using CValueType = std::pair<double, double>;
  static constexpr CValueType sMinimumValue = CValueType(std::numeric_limits<double>::min(), 0.0);
  static constexpr CValueType sMidpointValue = CValueType(0.0, 0.0);
  static constexpr CValueType sMaximumValue = CValueType(std::numeric_limits<double>::max(), 0.0);
};

}  // namespace SL
