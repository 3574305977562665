#pragma once

#include <cstdint>
#include <cstring>

#include "GT/Com/Data/CEndianed.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Format/CSampleTraits.h"

namespace SL {

namespace Private {

// Unsigned integer of W bytes, and its byte reversal.
template <int W>
struct CSampleWord;
template <>
struct CSampleWord<1> {
  typedef std::uint8_t CType;
  static CType Reverse(CType v) { return v; }
};
template <>
struct CSampleWord<2> {
  typedef std::uint16_t CType;
  static CType Reverse(CType v) { return __builtin_bswap16(v); }
};
template <>
struct CSampleWord<4> {
  typedef std::uint32_t CType;
  static CType Reverse(CType v) { return __builtin_bswap32(v); }
};
template <>
struct CSampleWord<8> {
  typedef std::uint64_t CType;
  static CType Reverse(CType v) { return __builtin_bswap64(v); }
};

// How a stored word of bit-depth code N becomes its value and back: integer
// samples are the word's bit pattern (signed but for 8 bits), floating-point
// samples its bits.
template <typename V, typename W>
struct CIntegerWordValue {
  static V ToValue(W w) { return static_cast<V>(w); }
  static W ToWord(V v) { return static_cast<W>(v); }
};
template <typename V, typename W>
struct CFloatWordValue {
  static V ToValue(W w) {
    V v;
    std::memcpy(&v, &w, sizeof v);
    return v;
  }
  static W ToWord(V v) {
    W w;
    std::memcpy(&w, &v, sizeof w);
    return w;
  }
};

template <int N>
struct CSampleWordValue;
template <>
struct CSampleWordValue<nInteger8> : CIntegerWordValue<unsigned char, std::uint8_t> {};
template <>
struct CSampleWordValue<nInteger16> : CIntegerWordValue<std::int16_t, std::uint16_t> {};
template <>
struct CSampleWordValue<nInteger32> : CIntegerWordValue<std::int32_t, std::uint32_t> {};
template <>
struct CSampleWordValue<nFloat32> : CFloatWordValue<float, std::uint32_t> {};
template <>
struct CSampleWordValue<nFloat64> : CFloatWordValue<double, std::uint64_t> {};

}  // namespace Private

// The byte order of stored samples of bit-depth code N: reads and writes one
// sample at an address, reversing its bytes when that order is not the
// platform's.
template <int N>
class CSampleEndianConverter : public GT::CEndianed {
public:
  typedef typename CSampleTraits<N>::CValueType CValueType;
  enum { B = BytesOf(N) };

  explicit CSampleEndianConverter(GT::CEndianness::EEndian endian = GT::CEndianness::sPlatform)
      : GT::CEndianed(endian) {}
  CSampleEndianConverter(CSampleEndianConverter const&) = default;
  CSampleEndianConverter& operator=(CSampleEndianConverter const&) = default;

  CValueType Convert(unsigned char const* p) const {
    typedef Private::CSampleWord<B> CWord;
    typename CWord::CType w;
    std::memcpy(&w, p, B);
    if (GetEndian() != GT::CEndianness::sPlatform) {
      w = CWord::Reverse(w);
    }
    return static_cast<CValueType>(Private::CSampleWordValue<N>::ToValue(w));
  }

  void Store(unsigned char* p, CValueType value) const {
    typedef Private::CSampleWord<B> CWord;
    typename CWord::CType w = Private::CSampleWordValue<N>::ToWord(value);
    if (GetEndian() != GT::CEndianness::sPlatform) {
      w = CWord::Reverse(w);
    }
    std::memcpy(p, &w, B);
  }
};

// 24-bit samples take three bytes, assembled in the stored order whatever
// the platform's; the value is sign-extended from bit 23, and writing drops
// bits 24 to 31.
template <>
class CSampleEndianConverter<nInteger24> : public GT::CEndianed {
public:
  typedef CSampleTraits<nInteger24>::CValueType CValueType;
  enum { B = 3 };

  explicit CSampleEndianConverter(GT::CEndianness::EEndian endian = GT::CEndianness::sPlatform)
      : GT::CEndianed(endian) {}
  CSampleEndianConverter(CSampleEndianConverter const&) = default;
  CSampleEndianConverter& operator=(CSampleEndianConverter const&) = default;

  CValueType Convert(unsigned char const* p) const {
    std::uint32_t u;
    if (GetEndian() == GT::CEndianness::BigEndian) {
      u = (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
    } else {
      u = (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
    }
    if (u & 0x800000u) {
      u |= 0xFF000000u;
    }
    return static_cast<CValueType>(static_cast<std::int32_t>(u));
  }

  void Store(unsigned char* p, CValueType value) const {
    std::uint32_t const u = static_cast<std::uint32_t>(value);
    unsigned char const b0 = static_cast<unsigned char>(u);
    unsigned char const b1 = static_cast<unsigned char>(u >> 8);
    unsigned char const b2 = static_cast<unsigned char>(u >> 16);
    if (GetEndian() == GT::CEndianness::BigEndian) {
      p[0] = b2;
      p[1] = b1;
      p[2] = b0;
    } else {
      p[0] = b0;
      p[1] = b1;
      p[2] = b2;
    }
  }
};

}  // namespace SL
