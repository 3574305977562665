#pragma once

#include <complex>
#include <cstdint>
#include <cstring>
#include <type_traits>

// Byte reversal of single values. All bit work happens on the unsigned type
// of the same width, so signed values never meet a shift.
namespace Implement {

namespace Detail {
template <typename U, int n, int i>
struct FReverseStep {
  static constexpr U Apply(U v) {
    return static_cast<U>(((v >> (8 * (n - 1 - i))) & U(0xFF)) << (8 * i)) |
           FReverseStep<U, n, i - 1>::Apply(v);
  }
};
template <typename U, int n>
struct FReverseStep<U, n, 0> {
  static constexpr U Apply(U v) { return static_cast<U>((v >> (8 * (n - 1))) & U(0xFF)); }
};
}  // namespace Detail

// Function object returning its argument with its bytes reversed; i is the
// index of the last byte (width - 1), so FReverseByte<int32_t, 3> reverses a
// 4-byte value.
template <typename T, int i>
struct FReverseByte {
  static_assert(std::is_integral<T>::value, "FReverseByte works on integers");
  static_assert(i + 1 == static_cast<int>(sizeof(T)),
                "FReverseByte<T, i> needs i == sizeof(T) - 1 (use int32_t/uint32_t for 4 bytes)");

  constexpr T operator()(T value) const {
    using U = typename std::make_unsigned<T>::type;
    return static_cast<T>(Detail::FReverseStep<U, i + 1, i>::Apply(static_cast<U>(value)));
  }
};

namespace Detail {
template <unsigned n>
struct UnsignedOfSize;
template <>
struct UnsignedOfSize<1> {
  using Type = std::uint8_t;
};
template <>
struct UnsignedOfSize<2> {
  using Type = std::uint16_t;
};
template <>
struct UnsignedOfSize<4> {
  using Type = std::uint32_t;
};
template <>
struct UnsignedOfSize<8> {
  using Type = std::uint64_t;
};
}  // namespace Detail

// Any integer or floating-point value with its bytes in reverse order.
template <typename T>
inline typename std::enable_if<std::is_arithmetic<T>::value, T>::type ReverseByte(T value) {
  if constexpr (std::is_integral<T>::value) {
    return FReverseByte<T, static_cast<int>(sizeof(T)) - 1>()(value);
  } else {
    using U = typename Detail::UnsignedOfSize<sizeof(T)>::Type;
    U bits;
    std::memcpy(&bits, &value, sizeof bits);
    bits = FReverseByte<U, static_cast<int>(sizeof(U)) - 1>()(bits);
    T result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
  }
}

// Each part reversed by itself; the parts keep their places.
template <typename T>
inline std::complex<T> ReverseByte(std::complex<T> const& value) {
  return std::complex<T>(ReverseByte<T>(value.real()), ReverseByte<T>(value.imag()));
}

}  // namespace Implement

namespace GT {
namespace Implement = ::Implement;
}  // namespace GT
