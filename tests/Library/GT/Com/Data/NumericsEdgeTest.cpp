#include "GT/Com/Data/Numerics.h"
#include "GT/Com/Enum/CRange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string Extended(long double v) {
  char bytes[10];
  GT::ConvertToIeeeExtended(v, bytes);
  return std::string(bytes, 10);
}

TEST(IeeeExtended, ZeroInfinityAndNaN) {
  double const inf = std::numeric_limits<double>::infinity();
  std::string const zeros(8, '\0');
  EXPECT_EQ(std::string(10, '\0'), Extended(-0.0L));
  EXPECT_EQ(std::string("\x7F\xFF", 2) + zeros, Extended(std::nan("")));
  EXPECT_EQ(std::string("\x7F\xFF", 2) + zeros, Extended(inf));
  EXPECT_EQ(std::string("\xFF\xFF", 2) + zeros, Extended(-inf));
  EXPECT_EQ(inf, GT::ConvertFromIeeeExtended(
                     std::string("\x7F\xFF\x00\x00\x00\x00\x00\x00\x00\x01", 10).data()));
  EXPECT_EQ(-inf, GT::ConvertFromIeeeExtended((std::string("\xFF\xFF", 2) + zeros).data()));
  long double const negativeZero =
      GT::ConvertFromIeeeExtended((std::string("\x80\x00", 2) + zeros).data());
  EXPECT_EQ(0.0L, negativeZero);
  EXPECT_TRUE(std::signbit(negativeZero));
  for (long double rate : {44100.0L, 48000.0L, 22050.0L, 0.1L, -1e300L}) {
    std::string const bytes = Extended(rate);
    EXPECT_EQ(static_cast<double>(rate),
              static_cast<double>(GT::ConvertFromIeeeExtended(bytes.data())));
  }
}

TEST(Numerics, RoundAndClip) {
  struct Round {
    double x, rounded;
  } const rounds[] = {{2.5, 3}, {-2.5, -3}, {0.49, 0}, {-0.49, 0}, {1.4999, 1}, {-7.0, -7}};
  for (auto const& c : rounds) EXPECT_EQ(c.rounded, GT::Round(c.x)) << c.x;
  EXPECT_TRUE(std::isnan(GT::Round(std::nan(""))));

  struct Clip {
    long v, a, b, clipped;
  } const clips[] = {{5, 10, 0, 5},   {5, 0, 10, 5},   {-1, 10, 0, 0}, {-1, 0, 10, 0},
                     {11, 10, 0, 10}, {11, 0, 10, 10}, {3, 3, 3, 3}};
  for (auto const& c : clips) {
    EXPECT_EQ(c.clipped, GT::Clip(c.v, c.a, c.b)) << c.v << " " << c.a << " " << c.b;
    EXPECT_EQ(
        static_cast<double>(c.clipped),
        GT::Clip(static_cast<double>(c.v), static_cast<double>(c.a), static_cast<double>(c.b)));
  }
  double const nan = std::nan("");
  EXPECT_EQ(10.0, GT::Clip(nan, 0.0, 10.0));  // NaN gives the larger bound
  EXPECT_EQ(10.0, GT::Clip(nan, 10.0, 0.0));
}

TEST(CRange, IncludesOnlyNonEmptyRangesInside) {
  GT::CRange<long> const r(0, 10);
  struct Case {
    long b, e;
    bool included;
  } const cases[] = {{0, 10, true},  {2, 5, true},   {10, 10, false}, {0, 0, false},
                     {5, 11, false}, {-1, 3, false}, {9, 10, true}};
  for (auto const& c : cases)
    EXPECT_EQ(c.included, r.Includes(GT::CRange<long>(c.b, c.e))) << c.b << "," << c.e;

  GT::CRange<long> a(1, 2), b(3, 4);
  a.Swap(b);
  EXPECT_EQ(3, a.begin);
  EXPECT_EQ(2, b.end);
  a = b;
  EXPECT_EQ(1, a.begin);
  EXPECT_EQ(2, a.end);
  GT::CRange<double> const empty;
  EXPECT_EQ(0.0, empty.begin);
  EXPECT_EQ(0.0, empty.end);
}

}  // namespace
