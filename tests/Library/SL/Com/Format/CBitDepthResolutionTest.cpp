// Significant digits of each sample type and the order of resolution.

#include "SL/Com/Format/CBitDepth.h"

#include <gtest/gtest.h>

using SL::CBitDepth;

TEST(CBitDepthResolutionTest, DigitsAndOrder) {
  // In increasing resolution; equal digits are ordered integer, floating
  // point and point, then complex.
  struct {
    CBitDepth depth;
    int digits;
  } const ordered[] = {
      {CBitDepth::None, 0},       {CBitDepth::Integer8, 8}, {CBitDepth::Integer16, 16},
      {CBitDepth::Integer24, 24}, {CBitDepth::Float32, 24}, {CBitDepth::Complex32, 24},
      {CBitDepth::Integer32, 32}, {CBitDepth::Float64, 53}, {CBitDepth::Complex64, 53}};
  size_t const n = sizeof ordered / sizeof ordered[0];
  for (size_t i = 0; i < n; ++i) {
    EXPECT_EQ(ordered[i].digits, ordered[i].depth.GetDigits()) << i;
    for (size_t j = 0; j < n; ++j)
      EXPECT_EQ(i < j, ordered[i].depth.ResolutionLess(ordered[j].depth)) << i << " " << j;
  }
  EXPECT_EQ(53, CBitDepth::Point64.GetDigits());
  EXPECT_FALSE(CBitDepth::Point64.ResolutionLess(CBitDepth::Float64));
  EXPECT_FALSE(CBitDepth::Float64.ResolutionLess(CBitDepth::Point64));
  EXPECT_TRUE(CBitDepth::Point64.ResolutionLess(CBitDepth::Complex64));
}
