#include "SL/Com/Format/CSampleTraits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <type_traits>

namespace {

template <int N>
double ToUnit(typename SL::CSampleTraits<N>::CValueType s) {
  using T = SL::CSampleTraits<N>;
  return (double(s) - double(T::sMidpointValue)) / double(T::sMaximumValue - T::sMidpointValue);
}

}  // namespace

TEST(CSampleTraits, IntegerTypesAndLimits) {
  static_assert(std::is_same<SL::CSampleTraits<65544>::CValueType, unsigned char>::value, "");
  static_assert(std::is_same<SL::CSampleTraits<65552>::CValueType, std::int16_t>::value, "");
  static_assert(std::is_same<SL::CSampleTraits<65560>::CValueType, std::int32_t>::value, "");
  static_assert(std::is_same<SL::CSampleTraits<65568>::CValueType, std::int32_t>::value, "");
  EXPECT_EQ(SL::CSampleTraits<65544>::sMinimumValue, 0);
  EXPECT_EQ(SL::CSampleTraits<65544>::sMidpointValue, 128);
  EXPECT_EQ(SL::CSampleTraits<65544>::sMaximumValue, 255);
  EXPECT_EQ(SL::CSampleTraits<65552>::sMinimumValue, -32768);
  EXPECT_EQ(SL::CSampleTraits<65552>::sMaximumValue, 32767);
  EXPECT_EQ(SL::CSampleTraits<65560>::sMinimumValue, -8388608);
  EXPECT_EQ(SL::CSampleTraits<65560>::sMaximumValue, 8388607);
  EXPECT_EQ(SL::CSampleTraits<65568>::sMinimumValue, INT32_MIN);
  EXPECT_EQ(SL::CSampleTraits<65568>::sMaximumValue, INT32_MAX);

  // The conversions the sound library builds on these constants.
  EXPECT_EQ(ToUnit<65544>(0), -1.0078740157480315);
  EXPECT_EQ(ToUnit<65544>(255), 1.0);
  EXPECT_EQ(ToUnit<65544>(128), 0.0);
  EXPECT_EQ(ToUnit<65552>(-32768), -1.000030518509476);
  EXPECT_EQ(ToUnit<65560>(-8388608), -1.0000001192093038);
  EXPECT_EQ(ToUnit<65568>(INT32_MIN), -1.0000000004656613);
  EXPECT_EQ(ToUnit<65568>(INT32_MAX), 1.0);
}

TEST(CSampleTraits, FloatingComplexAndPointLimits) {
  EXPECT_EQ(SL::CSampleTraits<131104>::sMinimumValue, 1.17549435e-38f);
  EXPECT_EQ(SL::CSampleTraits<131104>::sMaximumValue, std::numeric_limits<float>::max());
  EXPECT_EQ(SL::CSampleTraits<131104>::sMidpointValue, 0.0f);
  EXPECT_EQ(SL::CSampleTraits<131136>::sMinimumValue, 2.2250738585072014e-308);
  EXPECT_EQ(SL::CSampleTraits<131136>::sMaximumValue, std::numeric_limits<double>::max());
  EXPECT_EQ(SL::CSampleTraits<262208>::sMinimumValue, std::complex<float>(0, 0));
  EXPECT_EQ(SL::CSampleTraits<262208>::sMaximumValue, std::complex<float>(0, 0));
  EXPECT_EQ(SL::CSampleTraits<262272>::sMaximumValue, std::complex<double>(0, 0));
  EXPECT_EQ(SL::CSampleTraits<524416>::sMinimumValue.first, 2.2250738585072014e-308);
  EXPECT_EQ(SL::CSampleTraits<524416>::sMaximumValue.first, std::numeric_limits<double>::max());
  EXPECT_EQ(SL::CSampleTraits<524416>::sMaximumValue.second, 0.0);
}
