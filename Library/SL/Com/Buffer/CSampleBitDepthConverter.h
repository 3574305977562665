#pragma once

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Wave/CInterleavedBuffer.h"
#include "SL/Com/Format/CSampleTraits.h"

namespace SL {

// Converts one sample of depth N into depth M; only M = FLOAT64 exists.
template <int N, int M>
class CSampleBitDepthConverter;

// Integer samples: (s - mid) / (max - mid), never clipped.
template <int N>
class CIntegerToDoubleConverter {
public:
  double operator()(typename CInterleavedSample<N>::CValue sample) const {
    int const range = static_cast<int>(CSampleTraits<N>::sMaximumValue) -
                      static_cast<int>(CSampleTraits<N>::sMidpointValue);
    return (static_cast<double>(sample) - static_cast<double>(CSampleTraits<N>::sMidpointValue)) /
           static_cast<double>(range);
  }
};

template <>
class CSampleBitDepthConverter<nInteger8, nFloat64> : public CIntegerToDoubleConverter<nInteger8> {
};
template <>
class CSampleBitDepthConverter<nInteger16, nFloat64>
    : public CIntegerToDoubleConverter<nInteger16> {};
template <>
class CSampleBitDepthConverter<nInteger24, nFloat64>
    : public CIntegerToDoubleConverter<nInteger24> {};
template <>
class CSampleBitDepthConverter<nInteger32, nFloat64>
    : public CIntegerToDoubleConverter<nInteger32> {};

template <>
class CSampleBitDepthConverter<nFloat32, nFloat64> {
public:
  double operator()(float sample) const { return static_cast<double>(sample); }
};

template <>
class CSampleBitDepthConverter<nFloat64, nFloat64> {
public:
  double operator()(double sample) const { return sample; }
};

// Complex and point samples have no sound value of their own.
template <int N>
class CZeroConverter {
public:
  double operator()(typename CInterleavedSample<N>::CValue const&) const { return 0.0; }
};
template <>
class CSampleBitDepthConverter<nComplex32, nFloat64> : public CZeroConverter<nComplex32> {};
template <>
class CSampleBitDepthConverter<nComplex64, nFloat64> : public CZeroConverter<nComplex64> {};
template <>
class CSampleBitDepthConverter<nPoint64, nFloat64> : public CZeroConverter<nPoint64> {};

}  // namespace SL
