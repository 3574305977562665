#include "SL/Com/Stream/CSampleAttribute.h"

#include <gtest/gtest.h>

namespace {

using GT::CEndianness;

TEST(CSampleAttribute, ToFrameCountDividesByChannelsThenBySampleBytes) {
  struct Case {
    int code;
    int channels;
    long bytes;
    long frames;
  };
  Case const cases[] = {
      {65552, 2, 4000, 1000}, {65560, 2, 4000, 666}, {65552, 2, 1000, 250}, {65560, 2, 1000, 166},
      {131136, 1, 1000, 125}, {65544, 3, 10, 3},     {65568, 2, 15, 1},     {131104, 1, 3, 0},
      {65552, 0, 4000, 0},    {65552, -2, 4000, 0},  {65552, 1, -6, -3},    {65552, 1, -1, 0},
      {0, 2, 4000, 0},        {65552, 2, 0, 0},      {65552, 2, 10, 2},
  };
  for (Case const& c : cases) {
    SL::CSampleAttribute const a(SL::CBitDepth(c.code), 44100.0, c.channels,
                                 CEndianness::LittleEndian);
    EXPECT_EQ(c.frames, a.ToFrameCount(c.bytes))
        << c.code << " " << c.channels << " channels, " << c.bytes << " bytes";
  }
}

TEST(CSampleAttribute, ConstructionCopyAndAssignment) {
  SL::CSampleAttribute const blank;
  EXPECT_EQ(CEndianness::sPlatform, blank.GetEndian());
  EXPECT_EQ(0, blank.mBitDepth.GetValue());
  EXPECT_EQ(0.0, blank.mSampleRate);
  EXPECT_EQ(0, blank.mChannelCount);
  EXPECT_EQ(0, blank.mFrameCount);

  SL::CSampleAttribute const full(SL::CBitDepth(65560), 48000.0, 6, 1234, CEndianness::BigEndian);
  EXPECT_EQ(24, full.GetBitsPerSample());
  EXPECT_EQ(3, full.GetBytesPerSample());
  EXPECT_EQ(18, full.GetBytesPerFrame());
  SL::CSampleAttribute const unbounded(SL::CBitDepth(65552), 8000.0, 1, CEndianness::BigEndian);
  EXPECT_EQ(0, unbounded.mFrameCount);
  EXPECT_TRUE(unbounded.IsBigEndian());

  SL::CSampleAttribute copy(full);
  SL::CSampleAttribute assigned;
  assigned = full;
  for (SL::CSampleAttribute const* a : {&copy, &assigned}) {
    EXPECT_EQ(CEndianness::BigEndian, a->GetEndian());
    EXPECT_EQ(65560, a->mBitDepth.GetValue());
    EXPECT_EQ(48000.0, a->mSampleRate);
    EXPECT_EQ(6, a->mChannelCount);
    EXPECT_EQ(1234, a->mFrameCount);
  }
  SL::CSampleAttribute& self = assigned;
  assigned = self;
  EXPECT_EQ(65560, assigned.mBitDepth.GetValue());
  EXPECT_EQ(1234, assigned.mFrameCount);
}

}  // namespace
