#include "SL/Com/Stream/CSampleAttribute.h"

#include <gtest/gtest.h>

namespace {

using GT::CEndianness;

TEST(SampleAttribute, DefaultsAndCopies) {
  SL::CSampleAttribute a;
  EXPECT_EQ(CEndianness::sPlatform, a.GetEndian());
  EXPECT_EQ(0, a.mBitDepth.GetValue());
  EXPECT_EQ(0.0, a.mSampleRate);
  EXPECT_EQ(0, a.mChannelCount);
  EXPECT_EQ(0, a.mFrameCount);

  SL::CSampleAttribute b(SL::CBitDepth::Integer24, 48000.0, 2, 1234, CEndianness::BigEndian);
  SL::CSampleAttribute c(SL::CBitDepth::Float32, 22050.0, 1, CEndianness::LittleEndian);
  EXPECT_EQ(0, c.mFrameCount);
  c = b;
  EXPECT_EQ(CEndianness::BigEndian, c.GetEndian());
  EXPECT_EQ(65560, c.mBitDepth.GetValue());
  EXPECT_EQ(48000.0, c.mSampleRate);
  EXPECT_EQ(2, c.mChannelCount);
  EXPECT_EQ(1234, c.mFrameCount);
  SL::CSampleAttribute& same = c;
  c = same;
  EXPECT_EQ(65560, c.mBitDepth.GetValue());
  EXPECT_EQ(1234, c.mFrameCount);
  SL::CSampleAttribute d(b);
  EXPECT_EQ(CEndianness::BigEndian, d.GetEndian());
  EXPECT_EQ(2, d.mChannelCount);
}

TEST(SampleAttribute, ToFrameCount) {
  SL::CSampleAttribute s16(SL::CBitDepth::Integer16, 44100.0, 2, CEndianness::LittleEndian);
  SL::CSampleAttribute s24(SL::CBitDepth::Integer24, 44100.0, 2, CEndianness::LittleEndian);
  SL::CSampleAttribute f64(SL::CBitDepth::Float64, 44100.0, 1, CEndianness::LittleEndian);
  SL::CSampleAttribute m16(SL::CBitDepth::Integer16, 44100.0, 1, CEndianness::LittleEndian);
  EXPECT_EQ(250, s16.ToFrameCount(1000));
  EXPECT_EQ(1000, s16.ToFrameCount(4000));
  EXPECT_EQ(166, s24.ToFrameCount(1000));
  EXPECT_EQ(666, s24.ToFrameCount(4000));
  EXPECT_EQ(125, f64.ToFrameCount(1000));
  EXPECT_EQ(-3, m16.ToFrameCount(-6));
  EXPECT_EQ(0, m16.ToFrameCount(-1));

  SL::CSampleAttribute none(SL::CBitDepth::Integer16, 44100.0, 0, CEndianness::LittleEndian);
  EXPECT_EQ(0, none.ToFrameCount(4000));
  none.mChannelCount = -2;
  EXPECT_EQ(0, none.ToFrameCount(4000));
  SL::CSampleAttribute noDepth(SL::CBitDepth::None, 44100.0, 2, CEndianness::LittleEndian);
  EXPECT_EQ(0, noDepth.ToFrameCount(4000));
}

}  // namespace
