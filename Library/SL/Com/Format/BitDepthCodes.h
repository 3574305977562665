#pragma once

#include <type_traits>

namespace SL {

// Sample type codes, (kind << 16) | bits: the values of CBitDepth and the
// template argument of every typed sample stream, buffer and wave.
constexpr int nIntegerKind = 0x10000;
constexpr int nFloatKind = 0x20000;
constexpr int nComplexKind = 0x40000;
constexpr int nPointKind = 0x80000;

constexpr int nNone = 0;
constexpr int nInteger8 = nIntegerKind | 8;  // unsigned
constexpr int nInteger16 = nIntegerKind | 16;
constexpr int nInteger24 = nIntegerKind | 24;  // 3 bytes, held in 32 bits
constexpr int nInteger32 = nIntegerKind | 32;
constexpr int nFloat32 = nFloatKind | 32;
constexpr int nFloat64 = nFloatKind | 64;
constexpr int nComplex32 = nComplexKind | 64;
constexpr int nComplex64 = nComplexKind | 128;
constexpr int nPoint64 = nPointKind | 128;

constexpr int BitsOf(int code) { return code & 0xFFFF; }
constexpr int BytesOf(int code) { return BitsOf(code) >> 3; }
constexpr int KindOf(int code) { return code & ~0xFFFF; }
constexpr bool IsIntegerCode(int code) { return KindOf(code) == nIntegerKind; }

template <int N>
using BitDepthConstant = std::integral_constant<int, N>;

// The one switch from a runtime code to the typed templates: calls
// f(BitDepthConstant<N>()) for the depths that files, streams and buffers
// hold (the four integer and two floating-point ones). Any other code gives
// a value-initialised result (an empty pointer, false).
template <class F>
auto DispatchBitDepth(int code, F&& f) -> decltype(f(BitDepthConstant<nInteger16>())) {
  switch (code) {
    case nInteger8:
      return f(BitDepthConstant<nInteger8>());
    case nInteger16:
      return f(BitDepthConstant<nInteger16>());
    case nInteger24:
      return f(BitDepthConstant<nInteger24>());
    case nInteger32:
      return f(BitDepthConstant<nInteger32>());
    case nFloat32:
      return f(BitDepthConstant<nFloat32>());
    case nFloat64:
      return f(BitDepthConstant<nFloat64>());
    default:
      return decltype(f(BitDepthConstant<nInteger16>()))();
  }
}

}  // namespace SL
