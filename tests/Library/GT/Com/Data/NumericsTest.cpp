#include "GT/Com/Data/Numerics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string Extended(long double v) {
  char bytes[10];
  GT::ConvertToIeeeExtended(v, bytes);
  return std::string(bytes, 10);
}

long double FromExtended(std::string const& bytes) {
  return GT::ConvertFromIeeeExtended(bytes.data());
}

double const kInf = std::numeric_limits<double>::infinity();
double const kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(IeeeExtended, EncodesKnownValuesBitExact) {
  EXPECT_EQ(Extended(44100), std::string("\x40\x0E\xAC\x44\x00\x00\x00\x00\x00\x00", 10));
  EXPECT_EQ(Extended(48000), std::string("\x40\x0E\xBB\x80\x00\x00\x00\x00\x00\x00", 10));
  EXPECT_EQ(Extended(22050), std::string("\x40\x0D\xAC\x44\x00\x00\x00\x00\x00\x00", 10));
  EXPECT_EQ(Extended(1.0), std::string("\x3F\xFF\x80\x00\x00\x00\x00\x00\x00\x00", 10));
  EXPECT_EQ(Extended(-1.0), std::string("\xBF\xFF\x80\x00\x00\x00\x00\x00\x00\x00", 10));
  // 53 significant bits spread over both mantissa words.
  EXPECT_EQ(Extended(1.0 + std::ldexp(1.0, -52)),
            std::string("\x3F\xFF\x80\x00\x00\x00\x00\x00\x08\x00", 10));
}

TEST(IeeeExtended, SurvivesAbsurdExponents) {
  // Largest finite exponent: far beyond double range, saturates to infinity.
  EXPECT_TRUE(
      std::isinf(FromExtended(std::string("\x7F\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 10))));
  EXPECT_TRUE(
      std::isinf(FromExtended(std::string("\xFF\xFE\x80\x00\x00\x00\x00\x00\x00\x00", 10))));
  // Denormal and tiny exponents: underflow to zero.
  EXPECT_EQ(FromExtended(std::string("\x00\x00\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 10)), 0.0L);
  EXPECT_EQ(FromExtended(std::string("\x00\x01\x80\x00\x00\x00\x00\x00\x00\x00", 10)), 0.0L);
  // An unnormalised mantissa (integer bit clear) still decodes by the formula.
  EXPECT_EQ(FromExtended(std::string("\x40\x0E\x56\x22\x00\x00\x00\x00\x00\x00", 10)), 22050.0L);

  // Every exponent with assorted mantissas: never NaN, never a fault.
  std::mt19937 rng(17);
  for (int e = 0; e <= 0xFFFF; ++e) {
    char bytes[10];
    bytes[0] = static_cast<char>(e >> 8);
    bytes[1] = static_cast<char>(e);
    for (int i = 2; i < 10; ++i) bytes[i] = static_cast<char>(rng());
    long double const v = GT::ConvertFromIeeeExtended(bytes);
    ASSERT_FALSE(std::isnan(v)) << e;
  }
}

TEST(Numerics, RoundClipBoundsAndNaN) {
  EXPECT_EQ(GT::RoundClipPrivate<long>(-3e9, GT::Int2Type<1>()), -2147483647L);
  EXPECT_EQ(GT::RoundClipPrivate<long>(3e9, GT::Int2Type<1>()), 2147483647L);
  EXPECT_EQ(GT::RoundClipPrivate<long>(-2147483647.6, GT::Int2Type<1>()), -2147483647L);
  EXPECT_EQ(GT::RoundClipPrivate<long>(88200.5, GT::Int2Type<1>()), 88201L);
  EXPECT_EQ(GT::RoundClipPrivate<std::int32_t>(kNaN, GT::Int2Type<1>()), 2147483647);
  EXPECT_EQ(GT::RoundClipA<unsigned long>(-0.4), 0ul);
  EXPECT_EQ(GT::RoundClipA<unsigned long>(-0.6), 0ul);
  EXPECT_EQ(GT::RoundClipA<unsigned long>(4294967295.4), 4294967295ul);
  EXPECT_EQ(GT::RoundClipA<unsigned long>(1e300), 4294967295ul);
  EXPECT_EQ(GT::RoundClipA<unsigned long>(kNaN), 4294967295ul);
  EXPECT_EQ(GT::RoundClipA<std::uint32_t>(44100.4999), 44100u);
  EXPECT_EQ(GT::RoundClipA<long>(-kInf), -2147483647L);
  EXPECT_EQ(GT::RoundClipA<long>(2.5, 0L, 10L), 3L);
  EXPECT_EQ(GT::RoundClipA<long>(-2.5, -10L, 10L), -3L);
  EXPECT_EQ(GT::RoundClipA<long>(kNaN, -10L, 10L), 10L);
  // Bounds not exactly representable as double never lead outside the type.
  long const big = std::numeric_limits<long>::max();
  EXPECT_EQ(GT::RoundClipA<long>(1e19, 0L, big), big);
  EXPECT_EQ(GT::RoundClipA<long>(9.2233720368547758e18, 0L, big), big);
  EXPECT_EQ(GT::RoundClipA<long>(-1e19, std::numeric_limits<long>::min(), big),
            std::numeric_limits<long>::min());
}
