#include "SL/Com/Wave/CChannel.h"
#include "SL/Com/Wave/CLoop.h"
#include "SL/Com/Wave/CWave.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace {

typedef SL::CWave<0x20040> CWave64;
double const kNaN = std::numeric_limits<double>::quiet_NaN();

// Values a hostile file can bring in are repaired, wherever they sit.
TEST(WaveModel, NormaliseRepairsWhatAFileCanBringIn) {
  CWave64 wave(SL::CWaveFormat::Wave);
  wave.SetSampleRate(-1.0);
  wave.SetPlayTempo(kNaN);
  wave.SetActualNote(-3.0);
  wave.Loop().SetLoopFrame(10.0);
  wave.Loop().SetEndFrame(2.0);
  wave.Loop().SetXfRateLoop(-1.0);
  wave.Channels().Initialize(1);
  wave.Channels()[0]->SetPan(9.0);
  EXPECT_FALSE(wave.HasNormalized());
  wave.Normalize();
  EXPECT_TRUE(wave.HasNormalized());
  EXPECT_EQ(0.0, wave.GetSampleRate());
  EXPECT_EQ(0.0, wave.GetPlayTempo());
  EXPECT_EQ(0.0, wave.GetActualNote());
  EXPECT_EQ(2.0, wave.Loop().GetLoopFrame());
  EXPECT_EQ(10.0, wave.Loop().GetEndFrame());
  EXPECT_EQ(0.0, wave.Loop().GetXfRateLoop());
  EXPECT_EQ(1.0, wave.Channels()[0]->GetPan());

  SL::CLoop nan;
  nan.SetJumpFrame(kNaN);
  EXPECT_FALSE(nan.HasNormalized());
}

// Frames far outside 32 bits (or NaN) clamp; lengths are differences of the
// clamped frames and never wrap.
TEST(WaveModel, IntegerLoopFramesClampAndNeverWrap) {
  SL::CLoop loop;
  loop.SetStartFrame(2.5);
  loop.SetJumpFrame(-2.5);
  loop.SetLoopFrame(1e12);
  loop.SetEndFrame(-1e12);
  loop.SetCurrentFrame(kNaN);
  EXPECT_EQ(3, loop.GetStartFrameInteger());
  EXPECT_EQ(-3, loop.GetJumpFrameInteger());
  EXPECT_EQ(2147483647, loop.GetLoopFrameInteger());
  EXPECT_EQ(-2147483647, loop.GetEndFrameInteger());
  EXPECT_EQ(2147483647, loop.GetCurrentFrameInteger());

  SL::CLoop wide;
  wide.SetStartFrame(-1e12);
  wide.SetEndFrame(1e12);
  EXPECT_EQ(2147483647, wide.GetPlayLengthInteger());
  wide.SetStartFrame(1e12);
  wide.SetEndFrame(-1e12);
  EXPECT_EQ(-2147483647, wide.GetPlayLengthInteger());
  SL::CLoop half;
  half.SetStartFrame(0.5);
  half.SetEndFrame(2.4);
  EXPECT_EQ(1, half.GetPlayLengthInteger());  // 2 - 1, not the rounded 1.9
}

TEST(WaveModel, ClonesShareNothingMutable) {
  CWave64 wave(SL::CWaveFormat::Wave);
  wave.Channels().Initialize(2);
  wave.SetLocation(GT::CRange<long>(0, 10));
  wave.Loop().SetEndFrame(9.0);
  wave.SetName("w");
  std::unique_ptr<CWave64> clone(wave.Clone());
  EXPECT_TRUE(clone->Equals(wave));
  clone->Loop().SetLoopFrame(4.0);
  clone->Channels()[1]->SetLevel(0.1);
  static_cast<SL::CChannel<0x20040>&>(*clone->Channels()[0]).Begin()[3] = 1.0;
  EXPECT_EQ(0.0, wave.Loop().GetLoopFrame());
  EXPECT_EQ(1.0, wave.Channels()[1]->GetLevel());
  EXPECT_EQ(0.0, static_cast<SL::CChannel<0x20040>&>(*wave.Channels()[0]).Begin()[3]);
  EXPECT_FALSE(clone->Equals(wave));
}

}  // namespace
