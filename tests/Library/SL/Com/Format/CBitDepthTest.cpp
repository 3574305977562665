#include "SL/Com/Format/CBitDepth.h"

#include <gtest/gtest.h>

#include "Support/RangeError.h"

#include <memory>
#include <vector>

using TestSupport::ExpectRangeError;

TEST(CBitDepth, TableCodesNamesAndConstants) {
  struct {
    SL::CBitDepth const& constant;
    int code;
    char const* name;
    int digits;
  } const rows[] = {
      {SL::CBitDepth::None, 0, "NONE", 0},
      {SL::CBitDepth::Integer8, 65544, "INTEGER8", 8},
      {SL::CBitDepth::Integer16, 65552, "INTEGER16", 16},
      {SL::CBitDepth::Integer24, 65560, "INTEGER24", 24},
      {SL::CBitDepth::Integer32, 65568, "INTEGER32", 32},
      {SL::CBitDepth::Float32, 131104, "FLOAT32", 24},
      {SL::CBitDepth::Float64, 131136, "FLOAT64", 53},
      {SL::CBitDepth::Complex32, 262208, "COMPLEX32", 24},
      {SL::CBitDepth::Complex64, 262272, "COMPLEX64", 53},
      {SL::CBitDepth::Point64, 524416, "POINT64", 53},
  };
  std::vector<int> expectedIds;
  for (auto const& row : rows) {
    EXPECT_EQ(row.constant.GetValue(), row.code);
    EXPECT_EQ(SL::CBitDepth(row.code).ToString(), row.name);
    EXPECT_EQ(SL::CBitDepth(std::string(row.name)).GetValue(), row.code);
    EXPECT_EQ(row.constant.GetDigits(), row.digits) << row.name;
    EXPECT_TRUE(row.constant == SL::CBitDepth(row.code));
    expectedIds.push_back(row.code);
  }
  std::vector<int> ids;
  for (auto it = SL::CBitDepth().GetDescription().Instances(); it->HasNext();)
    ids.push_back(it->Next());
  EXPECT_EQ(ids, expectedIds);
  EXPECT_EQ(SL::CBitDepth().GetValue(), 0);
  EXPECT_TRUE(SL::CBitDepth(0x10010) == SL::CBitDepth::Integer16);
}

TEST(CBitDepth, InvalidCodesThrowWithBounds) {
  ExpectRangeError([] { SL::CBitDepth d(0x10011); }, 0, 0x80080);
  ExpectRangeError([] { SL::CBitDepth d(-1); }, 0, 0x80080);
  ExpectRangeError([] { SL::CBitDepth d(0x10040); }, 0, 0x80080);
  ExpectRangeError([] { SL::CBitDepth d(std::string("integer16")); }, 0, 0x80080);
  ExpectRangeError([] { SL::CBitDepth::Float32.Create(12); }, 0, 0x80080);
  EXPECT_EQ(SL::CBitDepth::Float32.Create(0x20040)->ToString(), "FLOAT64");
}

TEST(CBitDepth, ResolutionOrder) {
  using D = SL::CBitDepth;
  EXPECT_TRUE(D::Integer24.ResolutionLess(D::Float32));
  EXPECT_FALSE(D::Float32.ResolutionLess(D::Integer24));
  EXPECT_TRUE(D::None.ResolutionLess(D::Integer8));
  EXPECT_FALSE(D::Integer8.ResolutionLess(D::None));
  EXPECT_TRUE(D::Integer16.ResolutionLess(D::Integer24));
  EXPECT_TRUE(D::Float32.ResolutionLess(D::Complex32));
  EXPECT_FALSE(D::Float64.ResolutionLess(D::Point64));
  EXPECT_FALSE(D::Point64.ResolutionLess(D::Float64));
  EXPECT_TRUE(D::Float64.ResolutionLess(D::Complex64));
  EXPECT_TRUE(D::Point64.ResolutionLess(D::Complex64));
  EXPECT_FALSE(D::Integer32.ResolutionLess(D::Float32));  // 32 digits against 24
  EXPECT_FALSE(D::Integer16.ResolutionLess(D::Integer16));
}
