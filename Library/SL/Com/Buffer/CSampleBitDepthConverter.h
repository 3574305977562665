#pragma once

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
class CSampleBitDepthConverter<0x10008, 0x20040> : public CIntegerToDoubleConverter<0x10008> {};
template <>
class CSampleBitDepthConverter<0x10010, 0x20040> : public CIntegerToDoubleConverter<0x10010> {};
template <>
class CSampleBitDepthConverter<0x10018, 0x20040> : public CIntegerToDoubleConverter<0x10018> {};
template <>
class CSampleBitDepthConverter<0x10020, 0x20040> : public CIntegerToDoubleConverter<0x10020> {};

template <>
class CSampleBitDepthConverter<0x20020, 0x20040> {
public:
  double operator()(float sample) const { return static_cast<double>(sample); }
};

template <>
class CSampleBitDepthConverter<0x20040, 0x20040> {
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
class CSampleBitDepthConverter<0x40040, 0x20040> : public CZeroConverter<0x40040> {};
template <>
class CSampleBitDepthConverter<0x40080, 0x20040> : public CZeroConverter<0x40080> {};
template <>
class CSampleBitDepthConverter<0x80080, 0x20040> : public CZeroConverter<0x80080> {};

}  // namespace SL
