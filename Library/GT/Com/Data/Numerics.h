#pragma once

#include "GT/Com/Enum/Int2Type.h"

#include <cstdint>
#include <type_traits>

namespace GT {

// 80-bit IEEE 754 extended format (10 bytes, big endian, explicit integer
// bit), as AIFF stores its sample rate. The value is narrowed to double first;
// NaN and infinities are written as infinity with the value's sign (NaN as +).
void ConvertToIeeeExtended(long double value, char* bytes);
// Any 10 bytes decode without fault: an all-ones exponent gives infinity,
// exponents beyond double range give infinity or zero.
long double ConvertFromIeeeExtended(char const* bytes);

// Rounds half away from zero; NaN stays NaN.
double Round(double x);

// Clamps value into the interval spanned by a and b, given in either order.
// A NaN value gives the larger bound.
template <typename T, typename U>
U Clip(T value, U a, U b) {
  if (b >= a) {
    if (a > value) return a;
    if (!(value <= b)) return b;
  } else {
    if (b > value) return b;
    if (!(value <= a)) return a;
  }
  return static_cast<U>(value);
}

// Rounds, then clamps to [low, high], then converts; NaN gives high. The
// bounds are compared as doubles so the conversion never leaves T's range.
template <typename T>
T RoundClipA(double x, T low, T high) {
  static_assert(std::is_integral<T>::value, "RoundClipA produces integers");
  double const r = Round(x);
  if (r <= static_cast<double>(low)) return low;
  if (!(r < static_cast<double>(high))) return high;
  return static_cast<T>(r);
}

// Signed form: [-2147483647, 2147483647] (the lower bound is one above the
// smallest 32-bit value).
template <typename T>
T RoundClipPrivate(double x, Int2Type<1>) {
  static_assert(std::is_signed<T>::value && sizeof(T) >= 4,
                "needs a signed type of 32 bits or more");
  return RoundClipA<T>(x, static_cast<T>(-2147483647), static_cast<T>(2147483647));
}

// Unsigned form: [0, 4294967295].
template <typename T>
T RoundClipPrivate(double x, Int2Type<0>) {
  static_assert(std::is_unsigned<T>::value && sizeof(T) >= 4,
                "needs an unsigned type of 32 bits or more");
  return RoundClipA<T>(x, static_cast<T>(0), static_cast<T>(4294967295u));
}

// Rounds and clamps to the 32-bit range of T's signedness.
template <typename T>
T RoundClipA(double x) {
  return RoundClipPrivate<T>(x, Int2Type < std::is_signed<T>::value ? 1 : 0 > ());
}

}  // namespace GT
