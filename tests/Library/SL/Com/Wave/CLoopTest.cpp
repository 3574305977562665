#include "SL/Com/Wave/CLoop.h"

#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CEnvelope.h"
#include "SL/Com/Wave/IEnvelope.h"
#include "SL/Com/Wave/IWave.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace {

double const kNaN = std::numeric_limits<double>::quiet_NaN();

// The values Normalize reads and writes, in the order of its steps.
struct CValues {
  double start, jump, loop, end, xfDepthLoop, xfDepthEnd, xfRateLoop, xfRateEnd;
};

void Load(SL::ILoop& loop, CValues const& v) {
  loop.SetStartFrame(v.start);
  loop.SetJumpFrame(v.jump);
  loop.SetLoopFrame(v.loop);
  loop.SetEndFrame(v.end);
  loop.SetXfDepthLoop(v.xfDepthLoop);
  loop.SetXfDepthEnd(v.xfDepthEnd);
  loop.SetXfRateLoop(v.xfRateLoop);
  loop.SetXfRateEnd(v.xfRateEnd);
}

void ExpectValues(CValues const& v, SL::ILoop const& loop, int row) {
  EXPECT_EQ(v.start, loop.GetStartFrame()) << row;
  EXPECT_EQ(v.jump, loop.GetJumpFrame()) << row;
  EXPECT_EQ(v.loop, loop.GetLoopFrame()) << row;
  EXPECT_EQ(v.end, loop.GetEndFrame()) << row;
  EXPECT_EQ(v.xfDepthLoop, loop.GetXfDepthLoop()) << row;
  EXPECT_EQ(v.xfDepthEnd, loop.GetXfDepthEnd()) << row;
  EXPECT_EQ(v.xfRateLoop, loop.GetXfRateLoop()) << row;
  EXPECT_EQ(v.xfRateEnd, loop.GetXfRateEnd()) << row;
}

// A loop with every field set away from its default.
SL::CLoop Distinct() {
  SL::CLoop loop;
  loop.SetActive(true);
  loop.SetName("n");
  loop.SetCaption("c");
  loop.SetText("t");
  Load(loop, {1, 2, 3, 40, 4, 5, 0.25, 0.75});
  loop.SetCurrentFrame(7);
  loop.SetLoopMode(SL::CLoopMode::AlternatePlusReverse);
  loop.SetLoopTune(-3.5);
  return loop;
}

}  // namespace

TEST(CLoop, DefaultLoopIsNormalisedAndEmpty) {
  SL::CLoop const loop;
  ExpectValues({0, 0, 0, 0, 0, 0, 0.5, 0.5}, loop, 0);
  EXPECT_EQ(0.0, loop.GetCurrentFrame());
  EXPECT_EQ(SL::CLoopMode::OneShot, loop.GetLoopMode());
  EXPECT_EQ(0.0, loop.GetLoopTune());
  EXPECT_TRUE(loop.HasNormalized());
  EXPECT_EQ(0.0, loop.GetPlayLength() + loop.GetLoopLength() + loop.GetAttackLength() +
                     loop.GetDecayLength());
  EXPECT_FALSE(loop.IsActive());
}

TEST(CLoop, NormalizeRepairsInSixSteps) {
  struct {
    CValues in, out;
  } const rows[] = {
      // 1: loop and end swapped when the loop lies behind the end.
      {{0, 0, 10, 5, 0, 0, 0.5, 0.5}, {0, 0, 5, 10, 0, 0, 0.5, 0.5}},
      // 2, 3: the start is pulled back to the loop, the jump into [start, loop].
      {{8, 0, 3, 6, 0, 0, 0.5, 0.5}, {3, 3, 3, 6, 0, 0, 0.5, 0.5}},
      {{0, 50, 20, 30, 0, 0, 0.5, 0.5}, {0, 20, 20, 30, 0, 0, 0.5, 0.5}},
      {{10, 4, 20, 30, 0, 0, 0.5, 0.5}, {10, 10, 20, 30, 0, 0, 0.5, 0.5}},
      // 4, 5: the end cross-fade is served first, the loop's gets the rest.
      {{0, 0, 0, 100, 50, 80, 0.5, 0.5}, {0, 0, 0, 100, 20, 80, 0.5, 0.5}},
      {{0, 0, 10, 20, 5, 30, 0.5, 0.5}, {0, 0, 10, 20, 0, 10, 0.5, 0.5}},
      {{0, 0, 10, 20, -5, -1, 0.5, 0.5}, {0, 0, 10, 20, 0, 0, 0.5, 0.5}},
      // 6: negative rates become 0, others stay.
      {{0, 0, 0, 0, 0, 0, -1, -0.5}, {0, 0, 0, 0, 0, 0, 0, 0}},
      {{0, 0, 0, 0, 0, 0, 3, 2}, {0, 0, 0, 0, 0, 0, 3, 2}},
      // All at once: swap, then start, jump and fades measured on the swapped loop.
      {{90, 95, 100, 60, 30, 30, -2, 1}, {60, 60, 60, 100, 10, 30, 0, 1}},
      // Fractional frames stay fractional.
      {{0.25, 1.5, 2.75, 9.5, 1, 1, 0.5, 0.5}, {0.25, 1.5, 2.75, 9.5, 1, 1, 0.5, 0.5}},
  };
  int row = 0;
  for (auto const& r : rows) {
    SL::CLoop loop;
    Load(loop, r.in);
    loop.SetCurrentFrame(1000.0);
    loop.SetLoopMode(SL::CLoopMode::Forward);
    loop.SetLoopTune(-12.0);
    loop.Normalize();
    ExpectValues(r.out, loop, row);
    EXPECT_TRUE(loop.HasNormalized()) << row;
    // Current frame, mode and tune are none of Normalize's business.
    EXPECT_EQ(1000.0, loop.GetCurrentFrame()) << row;
    EXPECT_EQ(SL::CLoopMode::Forward, loop.GetLoopMode()) << row;
    EXPECT_EQ(-12.0, loop.GetLoopTune()) << row;
    ++row;
  }
}

TEST(CLoop, HasNormalizedChecksEveryRuleAndFailsOnNaN) {
  struct {
    CValues values;
    bool normalised;
  } const rows[] = {
      {{0, 1, 2, 10, 3, 5, 0, 0}, true},     {{0, 1, 2, 10, 3, 5, 0.5, 0.5}, true},
      {{1, 0, 2, 10, 0, 0, 0, 0}, false},   // jump before start
      {{0, 3, 2, 10, 0, 0, 0, 0}, false},   // loop before jump
      {{0, 1, 12, 10, 0, 0, 0, 0}, false},  // end before loop
      {{0, 1, 2, 10, 0, -1, 0, 0}, false},   {{0, 1, 2, 10, -1, 0, 0, 0}, false},
      {{0, 1, 2, 10, 4, 5, 0, 0}, false},  // fades longer than the loop
      {{0, 1, 2, 10, 0, 0, 0, -0.1}, false}, {{0, 1, 2, 10, 0, 0, -0.1, 0}, false},
      {{0, kNaN, 2, 10, 0, 0, 0, 0}, false}, {{0, 1, 2, 10, 0, 0, kNaN, 0}, false},
      {{0, 1, 2, kNaN, 0, 0, 0, 0}, false},
  };
  int row = 0;
  for (auto const& r : rows) {
    SL::CLoop loop;
    Load(loop, r.values);
    loop.SetCurrentFrame(-50.0);  // never looked at
    EXPECT_EQ(r.normalised, loop.HasNormalized()) << row++;
  }
}

TEST(CLoop, IntegerFramesRoundHalfAwayAndClampTo32Bits) {
  struct {
    double frame;
    long integer;
  } const rows[] = {
      {2.5, 3},
      {-2.5, -3},
      {2.4999, 2},
      {-0.4, 0},
      {1e12, 2147483647L},
      {-1e12, -2147483647L},
      {-2147483648.0, -2147483647L},
      {2147483646.6, 2147483647L},
      {kNaN, 2147483647L},
  };
  long (*const getters[])(SL::ILoop const&) = {
      [](SL::ILoop const& l) { return l.GetStartFrameInteger(); },
      [](SL::ILoop const& l) { return l.GetJumpFrameInteger(); },
      [](SL::ILoop const& l) { return l.GetLoopFrameInteger(); },
      [](SL::ILoop const& l) { return l.GetEndFrameInteger(); },
      [](SL::ILoop const& l) { return l.GetCurrentFrameInteger(); }};
  for (int id = 0; id < 5; ++id) {
    for (auto const& row : rows) {
      SL::CLoop loop;
      loop.SetFrame(static_cast<SL::ILoop::EFrameId>(id), row.frame);
      EXPECT_EQ(row.integer, getters[id](loop)) << "frame " << id << " = " << row.frame;
    }
  }
}

TEST(CLoop, LengthsAndRangesOfTheFourParts) {
  SL::CLoop loop;
  Load(loop, {0.5, 1.5, 2.6, 10.4, 0, 0, 0, 0});
  EXPECT_DOUBLE_EQ(9.9, loop.GetPlayLength());
  EXPECT_DOUBLE_EQ(7.8, loop.GetLoopLength());
  EXPECT_DOUBLE_EQ(1.0, loop.GetAttackLength());
  EXPECT_DOUBLE_EQ(8.9, loop.GetDecayLength());
  EXPECT_EQ(0.5, loop.GetPlayRange().begin);
  EXPECT_EQ(10.4, loop.GetPlayRange().end);
  EXPECT_EQ(2.6, loop.GetLoopRange().begin);
  EXPECT_EQ(1.5, loop.GetAttackRange().end);
  EXPECT_EQ(1.5, loop.GetDecayRange().begin);
  EXPECT_EQ(10.4, loop.GetDecayRange().end);
  // Integer lengths are differences of the rounded frames: 10 - 1, 10 - 3, 2 - 1, 10 - 2.
  EXPECT_EQ(9, loop.GetPlayLengthInteger());
  EXPECT_EQ(7, loop.GetLoopLengthInteger());
  EXPECT_EQ(1, loop.GetAttackLengthInteger());
  EXPECT_EQ(8, loop.GetDecayLengthInteger());
  EXPECT_EQ(1, loop.GetPlayRangeInteger().begin);
  EXPECT_EQ(10, loop.GetPlayRangeInteger().end);
  EXPECT_EQ(3, loop.GetLoopRangeInteger().begin);
  EXPECT_EQ(2, loop.GetAttackLRangeInteger().end);
  EXPECT_EQ(2, loop.GetDecayRangeInteger().begin);

  // Start 0.5 and end 2.4: 2 - 1, not the rounded length 2.
  loop.SetEndFrame(2.4);
  EXPECT_EQ(1, loop.GetPlayLengthInteger());
}

TEST(CLoop, IntegerLengthsOfClampedFramesStayIn32Bits) {
  struct {
    double begin, end;
    long length;
  } const rows[] = {
      {-1e12, 1e12, 2147483647L},
      {1e12, -1e12, -2147483647L},
      {-1.0, 2147483646.0, 2147483647L},
      {0.0, 2147483647.0, 2147483647L},
      {-100.0, 100.0, 200L},
  };
  for (auto const& row : rows) {
    SL::CLoop loop;
    Load(loop, {row.begin, row.begin, row.begin, row.end, 0, 0, 0, 0});
    loop.SetJumpFrame(row.end);
    EXPECT_EQ(row.length, loop.GetPlayLengthInteger()) << row.begin << ".." << row.end;
    EXPECT_EQ(row.length, loop.GetLoopLengthInteger()) << row.begin << ".." << row.end;
    EXPECT_EQ(row.length, loop.GetAttackLengthInteger()) << row.begin << ".." << row.end;
  }
}

TEST(CLoop, RoundFrameRoundsEveryFrameThenNormalises) {
  SL::CLoop loop;
  Load(loop, {0.4, 1.5, 4.6, 4.4, 0, 0, 0.5, 0.5});
  loop.SetCurrentFrame(-7.5);
  loop.RoundFrame();
  EXPECT_EQ(0.0, loop.GetStartFrame());
  EXPECT_EQ(2.0, loop.GetJumpFrame());
  EXPECT_EQ(4.0, loop.GetLoopFrame());
  EXPECT_EQ(5.0, loop.GetEndFrame());
  EXPECT_EQ(-8.0, loop.GetCurrentFrame());
  EXPECT_TRUE(loop.HasNormalized());
}

TEST(CLoop, FramesByIdIgnoreUnknownIds) {
  SL::CLoop loop;
  for (int id = 0; id < 5; ++id) loop.SetFrame(static_cast<SL::ILoop::EFrameId>(id), 10.0 + id);
  EXPECT_EQ(10.0, loop.GetStartFrame());
  EXPECT_EQ(11.0, loop.GetJumpFrame());
  EXPECT_EQ(12.0, loop.GetLoopFrame());
  EXPECT_EQ(13.0, loop.GetEndFrame());
  EXPECT_EQ(14.0, loop.GetCurrentFrame());
  SL::CLoop const before(loop);
  for (int id : {-1, 5, 99}) {
    loop.SetFrame(static_cast<SL::ILoop::EFrameId>(id), 77.0);
    EXPECT_EQ(0.0, loop.GetFrame(static_cast<SL::ILoop::EFrameId>(id)));
  }
  EXPECT_TRUE(loop.Equals(before));
  for (int id = 0; id < 5; ++id)
    EXPECT_EQ(10.0 + id, loop.GetFrame(static_cast<SL::ILoop::EFrameId>(id)));
}

TEST(CLoop, CopiesAreDeepAndEqualityNeedsEveryField) {
  SL::CLoop const source = Distinct();
  std::unique_ptr<SL::CLoop> clone(source.Clone());
  SL::CLoop copy(source);
  SL::CLoop assigned;
  assigned = source;
  for (SL::CLoop const* loop : {clone.get(), &copy, &assigned}) EXPECT_TRUE(loop->Equals(source));
  copy.SetEndFrame(41);
  EXPECT_EQ(40.0, source.GetEndFrame());
  EXPECT_FALSE(copy.Equals(source));
  // A copy keeps out-of-order frames: copying does not normalise.
  SL::CLoop disordered;
  disordered.SetLoopFrame(10);
  SL::CLoop copied(disordered);
  EXPECT_EQ(10.0, copied.GetLoopFrame());
  EXPECT_FALSE(copied.HasNormalized());
  copied.Swap(assigned);  // swapping exchanges the records
  EXPECT_TRUE(copied.Equals(source));
  EXPECT_EQ(10.0, assigned.GetLoopFrame());

  // Each field alone breaks equality.
  void (*const changes[])(SL::CLoop&) = {
      [](SL::CLoop& l) { l.SetStartFrame(0); },
      [](SL::CLoop& l) { l.SetJumpFrame(0); },
      [](SL::CLoop& l) { l.SetLoopFrame(0); },
      [](SL::CLoop& l) { l.SetEndFrame(0); },
      [](SL::CLoop& l) { l.SetCurrentFrame(0); },
      [](SL::CLoop& l) { l.SetXfDepthLoop(0); },
      [](SL::CLoop& l) { l.SetXfDepthEnd(0); },
      [](SL::CLoop& l) { l.SetXfRateLoop(0); },
      [](SL::CLoop& l) { l.SetXfRateEnd(0); },
      [](SL::CLoop& l) { l.SetLoopTune(0); },
      [](SL::CLoop& l) { l.SetLoopMode(SL::CLoopMode::OneShot); },
      [](SL::CLoop& l) { l.SetActive(false); },
      [](SL::CLoop& l) { l.SetName(""); },
      [](SL::CLoop& l) { l.SetCaption(""); },
      [](SL::CLoop& l) { l.SetText(""); },
  };
  int n = 0;
  for (auto change : changes) {
    SL::CLoop changed(source);
    change(changed);
    EXPECT_FALSE(changed.Equals(source)) << n;
    EXPECT_FALSE(source.Equals(changed)) << n++;
  }
  // Another entity type with the same common attributes is not equal.
  SL::CEnvelope envelope(SL::CWaveFormat::None);
  SL::CLoop plain;
  EXPECT_FALSE(plain.Equals(envelope));
  // A NaN field never compares equal, not even with itself.
  SL::CLoop nan;
  nan.SetLoopTune(kNaN);
  EXPECT_FALSE(nan.Equals(nan));
}

TEST(CLoop, ToStringAddsTheLoopBitsAfterTheEntityBits) {
  struct {
    int attributes;
    char const* text;
  } const rows[] = {
      {0x60, "(LoopFrame)(JumpFrame)"},
      {0x10, ""},
      {0x80, ""},
      {0x100, "(CurrentFrame)"},
      {0x163, "(Activity)(Name)(LoopFrame)(JumpFrame)(CurrentFrame)"},
      {-1, "(Activity)(Name)(Caption)(Text)(LoopFrame)(JumpFrame)(CurrentFrame)"},
  };
  for (auto const& row : rows) EXPECT_EQ(row.text, SL::ILoop::ToString(row.attributes));
}

TEST(CLoop, CopyAttributeCopiesEverythingWhenTheIdReachesTheLoop) {
  SL::CLoop source = Distinct();
  source.SetEndFrame(0.5);  // out of order: the copy does not normalise
  struct {
    SL::CEntityId id;
    bool copies;
  } const rows[] = {
      {SL::IEntity::sCopyAll, true},
      {SL::CEntityId().Set<SL::ILoop>(0), true},
      {SL::CEntityId().Set<SL::ILoop>(0).Attribute(0x20), true},
      {SL::CEntityId().Set<SL::ILoop>(0).Attribute(-1), true},
      {SL::CEntityId().Set<SL::ILoop>(-1).Attribute(SL::IEntity::kName), true},
      {SL::CEntityId().Set<SL::ILoop>(1), false},
      {SL::CEntityId().Set<SL::IEnvelope>(0), false},
      // A wave's id reaches its loop only after the wave has narrowed it.
      {SL::CEntityId().Set<SL::IWave>(0).Set<SL::ILoop>(0), false},
  };
  int row = 0;
  for (auto const& r : rows) {
    SL::CLoop target;
    target.CopyAttribute(source, r.id);
    EXPECT_EQ(r.copies, target.Equals(source)) << row;
    EXPECT_EQ(r.copies, !target.Equals(SL::CLoop())) << row++;
  }
}

TEST(CLoop, LoopRecordHasValueSemantics) {
  SL::ALoop a;
  a.mEndFrame = 8;
  a.mLoopMode = SL::CLoopMode::Forward;
  SL::ALoop b;
  EXPECT_TRUE(a != b);
  b = a;
  EXPECT_TRUE(a == b);
  a.mLoopFrame = 2;
  EXPECT_FALSE(a == b);
  a.Swap(b);
  EXPECT_EQ(0.0, a.mLoopFrame);
  EXPECT_EQ(2.0, b.mLoopFrame);
  EXPECT_EQ(SL::CLoopMode::Forward, b.mLoopMode);
  b.mXfDepthEnd = 9;
  b.Normalize();
  EXPECT_EQ(6.0, b.mXfDepthEnd);
  EXPECT_TRUE(b.HasNormalized());
}
