#include "SL/Com/Wave/CLoop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CEnvelope.h"
#include "SL/Com/Wave/IWave.h"

namespace {

TEST(CLoop, DefaultIsNormalisedAndEmpty) {
  SL::CLoop loop;
  for (int id = 0; id < 5; ++id)
    EXPECT_EQ(0.0, loop.GetFrame(static_cast<SL::ILoop::EFrameId>(id)));
  EXPECT_EQ(0.5, loop.GetXfRateLoop());
  EXPECT_EQ(0.5, loop.GetXfRateEnd());
  EXPECT_EQ(0.0, loop.GetXfDepthLoop());
  EXPECT_TRUE(loop.GetLoopMode() == SL::CLoopMode::OneShot);
  EXPECT_EQ(0.0, loop.GetLoopTune());
  EXPECT_TRUE(loop.HasNormalized());
  EXPECT_EQ(0.0, loop.GetPlayLength());
  EXPECT_EQ(0.0, loop.GetLoopLength());
  EXPECT_EQ(0.0, loop.GetAttackLength());
  EXPECT_EQ(0.0, loop.GetDecayLength());
}

TEST(CLoop, NormaliseOrdersFramesAndFitsCrossFades) {
  SL::CLoop swapped;
  swapped.SetLoopFrame(10.0);
  swapped.SetEndFrame(5.0);
  EXPECT_FALSE(swapped.HasNormalized());
  swapped.Normalize();
  EXPECT_EQ(5.0, swapped.GetLoopFrame());
  EXPECT_EQ(10.0, swapped.GetEndFrame());
  EXPECT_TRUE(swapped.HasNormalized());

  SL::CLoop start;
  start.SetStartFrame(8.0);
  start.SetJumpFrame(7.0);
  start.SetLoopFrame(3.0);
  start.SetEndFrame(6.0);
  start.Normalize();
  EXPECT_EQ(3.0, start.GetStartFrame());
  EXPECT_EQ(3.0, start.GetJumpFrame());
  EXPECT_EQ(6.0, start.GetEndFrame());

  SL::CLoop fades;
  fades.SetEndFrame(100.0);
  fades.SetXfDepthEnd(80.0);
  fades.SetXfDepthLoop(50.0);
  fades.SetXfRateLoop(-1.0);
  fades.SetCurrentFrame(500.0);
  EXPECT_FALSE(fades.HasNormalized());
  fades.Normalize();
  EXPECT_EQ(80.0, fades.GetXfDepthEnd());
  EXPECT_EQ(20.0, fades.GetXfDepthLoop());
  EXPECT_EQ(0.0, fades.GetXfRateLoop());
  EXPECT_EQ(500.0, fades.GetCurrentFrame());
  EXPECT_TRUE(fades.HasNormalized());

  SL::CLoop nan;
  nan.SetJumpFrame(std::numeric_limits<double>::quiet_NaN());
  EXPECT_FALSE(nan.HasNormalized());
}

TEST(CLoop, IntegerFramesRoundHalfAwayAndClamp) {
  SL::CLoop loop;
  loop.SetStartFrame(2.5);
  loop.SetJumpFrame(-2.5);
  loop.SetLoopFrame(1e12);
  loop.SetEndFrame(-1e12);
  loop.SetCurrentFrame(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(3, loop.GetStartFrameInteger());
  EXPECT_EQ(-3, loop.GetJumpFrameInteger());
  EXPECT_EQ(2147483647, loop.GetLoopFrameInteger());
  EXPECT_EQ(-2147483647, loop.GetEndFrameInteger());
  EXPECT_EQ(2147483647, loop.GetCurrentFrameInteger());
}

TEST(CLoop, IntegerLengthsAreClampedDifferencesThatNeverWrap) {
  SL::CLoop loop;
  loop.SetStartFrame(0.5);
  loop.SetEndFrame(2.4);
  EXPECT_EQ(1, loop.GetPlayLengthInteger());  // 2 - 1, not the rounded 1.9

  SL::CLoop wide;
  wide.SetStartFrame(-1e12);
  wide.SetJumpFrame(-1e12);
  wide.SetLoopFrame(-1e12);
  wide.SetEndFrame(1e12);
  EXPECT_EQ(2147483647, wide.GetPlayLengthInteger());
  EXPECT_EQ(2147483647, wide.GetLoopLengthInteger());
  EXPECT_EQ(2147483647, wide.GetDecayLengthInteger());
  EXPECT_EQ(0, wide.GetAttackLengthInteger());
  wide.SetStartFrame(1e12);
  wide.SetEndFrame(-1e12);
  EXPECT_EQ(-2147483647, wide.GetPlayLengthInteger());
  EXPECT_EQ(-2147483647L, wide.GetPlayRangeInteger().end);
  EXPECT_EQ(2147483647L, wide.GetPlayRangeInteger().begin);
}

TEST(CLoop, RangesFollowTheFrames) {
  SL::CLoop loop;
  loop.SetStartFrame(1.0);
  loop.SetJumpFrame(2.0);
  loop.SetLoopFrame(3.0);
  loop.SetEndFrame(7.0);
  EXPECT_EQ(6.0, loop.GetPlayLength());
  EXPECT_EQ(4.0, loop.GetLoopLength());
  EXPECT_EQ(1.0, loop.GetAttackLength());
  EXPECT_EQ(5.0, loop.GetDecayLength());
  EXPECT_EQ(3.0, loop.GetLoopRange().begin);
  EXPECT_EQ(2.0, loop.GetAttackRange().end);
  EXPECT_EQ(2, loop.GetAttackLRangeInteger().end);
  EXPECT_EQ(2, loop.GetDecayRangeInteger().begin);
}

TEST(CLoop, RoundFrameThenNormalises) {
  SL::CLoop loop;
  loop.SetLoopFrame(4.6);
  loop.SetEndFrame(4.4);
  loop.RoundFrame();
  EXPECT_EQ(4.0, loop.GetLoopFrame());
  EXPECT_EQ(5.0, loop.GetEndFrame());
}

TEST(CLoop, FrameIdsOutsideTheRangeAreIgnored) {
  SL::CLoop loop;
  loop.SetFrame(static_cast<SL::ILoop::EFrameId>(7), 3.0);
  loop.SetFrame(static_cast<SL::ILoop::EFrameId>(-1), 3.0);
  EXPECT_TRUE(loop.Equals(SL::CLoop()));
  EXPECT_EQ(0.0, loop.GetFrame(static_cast<SL::ILoop::EFrameId>(5)));
  loop.SetFrame(SL::ILoop::EndFrame, 9.0);
  EXPECT_EQ(9.0, loop.GetEndFrame());
}

TEST(CLoop, CopiesAreDeepAndKeepUnrepairedValues) {
  SL::CLoop source;
  source.SetLoopFrame(10.0);
  source.SetEndFrame(5.0);
  source.SetName("loop");
  SL::CLoop copy(source);
  EXPECT_EQ(10.0, copy.GetLoopFrame());  // not normalised
  EXPECT_TRUE(copy.Equals(source));
  copy.SetEndFrame(6.0);
  copy.SetName("other");
  EXPECT_EQ(5.0, source.GetEndFrame());
  EXPECT_EQ("loop", source.GetName());

  std::unique_ptr<SL::CLoop> clone(source.Clone());
  clone->SetLoopTune(1.0);
  EXPECT_EQ(0.0, source.GetLoopTune());
  EXPECT_FALSE(clone->Equals(source));

  SL::CLoop assigned;
  assigned = source;
  assigned.SetCurrentFrame(4.0);
  EXPECT_EQ(0.0, source.GetCurrentFrame());
  EXPECT_FALSE(assigned.Equals(source));
}

TEST(CLoop, EqualsNeedsALoop) {
  SL::CLoop loop;
  SL::CEnvelope envelope(SL::CWaveFormat::None);
  EXPECT_FALSE(loop.Equals(envelope));
  SL::CLoop other;
  other.SetLoopMode(SL::CLoopMode::Forward);
  EXPECT_FALSE(loop.Equals(other));
}

TEST(CLoop, AttributeTexts) {
  EXPECT_EQ("(LoopFrame)(JumpFrame)", SL::ILoop::ToString(0x60));
  EXPECT_EQ("", SL::ILoop::ToString(0x10));
  EXPECT_EQ("(Name)(CurrentFrame)", SL::ILoop::ToString(0x102));
}

TEST(CLoop, CopyAttributeCopiesEverythingWhenTheLoopIsSelected) {
  SL::CLoop source;
  source.SetStartFrame(1.0);
  source.SetEndFrame(50.0);
  source.SetXfDepthEnd(3.0);
  source.SetLoopMode(SL::CLoopMode::AlternatePlus);
  source.SetLoopTune(0.25);
  source.SetCaption("c");

  SL::CLoop all;
  all.CopyAttribute(source, SL::IEntity::sCopyAll);
  EXPECT_TRUE(all.Equals(source));

  SL::CLoop one;  // a single bit still copies the whole loop
  one.CopyAttribute(source, SL::CEntityId().Set<SL::ILoop>(0).Attribute(0x40));
  EXPECT_TRUE(one.Equals(source));

  SL::CLoop untouched;
  untouched.CopyAttribute(source, SL::CEntityId().Set<SL::IEnvelope>(0));
  EXPECT_TRUE(untouched.Equals(SL::CLoop()));
  untouched.CopyAttribute(source, SL::CEntityId().Set<SL::ILoop>(1));
  EXPECT_TRUE(untouched.Equals(SL::CLoop()));
  // A loop below a wave is not this loop's concern until shrunk.
  untouched.CopyAttribute(source, SL::CEntityId().Set<SL::IWave>(0).Set<SL::ILoop>(0));
  EXPECT_TRUE(untouched.Equals(SL::CLoop()));
}

}  // namespace
