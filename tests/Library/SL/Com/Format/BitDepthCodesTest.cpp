#include "SL/Com/Format/BitDepthCodes.h"

#include <gtest/gtest.h>

// Each code the streams hold reaches the template of its own code, and
// nothing else reaches any.
TEST(BitDepthCodes, DispatchReachesTheTemplateOfEachStreamDepthOnly) {
  struct {
    int code;
    bool stream;
  } const rows[] = {
      {SL::nInteger8, true},  {SL::nInteger16, true},         {SL::nInteger24, true},
      {SL::nInteger32, true}, {SL::nFloat32, true},           {SL::nFloat64, true},
      {SL::nNone, false},     {SL::nComplex32, false},        {SL::nComplex64, false},
      {SL::nPoint64, false},  {SL::nIntegerKind | 12, false}, {-1, false},
  };
  for (auto const& row : rows) {
    int const reached = SL::DispatchBitDepth(row.code, [](auto depth) { return depth(); });
    EXPECT_EQ(reached, row.stream ? row.code : 0) << row.code;
  }
}
