#include "GT/Com/Data/Numerics.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace GT {

namespace {

void PutBig32(std::uint32_t v, char* out) {
  for (int i = 0; i < 4; ++i)
    out[i] = static_cast<char>(static_cast<unsigned char>(v >> (24 - 8 * i)));
}

std::uint32_t GetBig32(char const* in) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(in[i]);
  return v;
}

}  // namespace

void ConvertToIeeeExtended(long double value, char* bytes) {
  double num = static_cast<double>(value);
  unsigned sign = 0;
  if (num < 0) {
    sign = 0x8000;
    num = -num;
  }

  unsigned expon = 0;
  std::uint32_t hiMant = 0;
  std::uint32_t loMant = 0;
  if (num != 0) {
    int e = 0;
    double const fMant = std::frexp(num, &e);
    if (e > 16384 || !(fMant < 1.0)) {
      // Infinity; a NaN lands here too (it compares false).
      expon = sign | 0x7FFF;
    } else {
      // e + 16382 stays positive: a double's exponent is at least -1073.
      expon = static_cast<unsigned>(e + 16382) | sign;
      double m = std::ldexp(fMant, 32);
      double const hi = std::floor(m);
      hiMant = static_cast<std::uint32_t>(hi);
      m = std::ldexp(m - hi, 32);
      loMant = static_cast<std::uint32_t>(std::floor(m));
    }
  }

  bytes[0] = static_cast<char>(static_cast<unsigned char>(expon >> 8));
  bytes[1] = static_cast<char>(static_cast<unsigned char>(expon));
  PutBig32(hiMant, bytes + 2);
  PutBig32(loMant, bytes + 6);
}

long double ConvertFromIeeeExtended(char const* bytes) {
  unsigned char const b0 = static_cast<unsigned char>(bytes[0]);
  unsigned char const b1 = static_cast<unsigned char>(bytes[1]);
  int const expon = static_cast<int>(((b0 & 0x7Fu) << 8) | b1);
  std::uint32_t const hiMant = GetBig32(bytes + 2);
  std::uint32_t const loMant = GetBig32(bytes + 6);

  double f;
  if (expon == 0 && hiMant == 0 && loMant == 0) {
    f = 0;
  } else if (expon == 0x7FFF) {
    f = std::numeric_limits<double>::infinity();
  } else {
    // ldexp saturates to infinity or zero for exponents outside double range.
    f = std::ldexp(static_cast<double>(hiMant), expon - 16414) +
        std::ldexp(static_cast<double>(loMant), expon - 16446);
  }
  if (b0 & 0x80u) f = -f;
  return f;
}

double Round(double x) {
  // std::round is exact; floor(x + 0.5) misrounds 0.49999999999999994 and odd
  // integers above 2^52.
  return std::round(x);
}

}  // namespace GT
