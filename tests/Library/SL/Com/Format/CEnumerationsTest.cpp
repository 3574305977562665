#include "SL/Com/Wave/CLoopMode.h"
#include "SL/Com/Format/CWaveFileFormat.h"
#include "SL/Com/Format/CWaveFormat.h"

#include <gtest/gtest.h>

#include "Support/RangeError.h"

#include <string>
#include <utility>
#include <vector>

namespace {

template <typename E>
void ExpectTable(std::vector<std::pair<E const*, std::pair<int, std::string> > > const& rows,
                 int lower, int upper) {
  std::vector<int> ids;
  for (auto const& row : rows) {
    EXPECT_EQ(row.first->GetValue(), row.second.first);
    EXPECT_EQ(row.first->ToString(), row.second.second);
    EXPECT_EQ(E(row.second.second).GetValue(), row.second.first);
    ids.push_back(row.second.first);
  }
  std::vector<int> listed;
  for (auto it = E().GetDescription().Instances(); it->HasNext();) listed.push_back(it->Next());
  EXPECT_EQ(listed, ids);
  EXPECT_EQ(E().GetDescription().GetLowerBound(), lower);
  EXPECT_EQ(E().GetDescription().GetUpperBound(), upper);
}

template <typename E>
void ExpectRangeError(int value, int lower, int upper) {
  SCOPED_TRACE(value);
  TestSupport::ExpectRangeError([value] { E e(value); }, lower, upper);
}

}  // namespace

TEST(SampleFormatEnumerations, WaveFileFormat) {
  using F = SL::CWaveFileFormat;
  ExpectTable<F>(
      {{&F::Invalid, {0, "INVALID"}}, {&F::FormAiff, {1, "AIFF"}}, {&F::RiffWave, {2, "WINWAVE"}}},
      0, 2);
  ExpectRangeError<F>(3, 0, 2);
  ExpectRangeError<F>(-1, 0, 2);
  EXPECT_TRUE(F() != F::RiffWave);
  EXPECT_TRUE(F() != F::FormAiff);
  EXPECT_TRUE(F(2) == F::RiffWave);
}

TEST(SampleFormatEnumerations, WaveFormat) {
  using W = SL::CWaveFormat;
  ExpectTable<W>({{&W::None, {0, "NONE"}},
                  {&W::Wave, {0x1000A, "WAVE"}},
                  {&W::Fft, {0x10014, "FFT"}},
                  {&W::Pitch, {0x10022, "PITCH"}},
                  {&W::General, {0x10003, "GENERAL"}},
                  {&W::AmplitudeEnvelope, {0x2000A, "AMPLITUDE_ENVELOPE"}},
                  {&W::PitchEnvelope, {0x20022, "PITCH_ENVELOPE"}},
                  {&W::FilterEnvelope, {0x20014, "FILTER_ENVELOPE"}},
                  {&W::PhaseEnvelope, {0x20044, "PHASE_ENVELOPE"}}},
                 0, 0x20044);
  ExpectRangeError<W>(0x1000B, 0, 0x20044);
}

TEST(SampleFormatEnumerations, LoopMode) {
  using L = SL::CLoopMode;
  ExpectTable<L>({{&L::OneShot, {0, "1SHOT"}},
                  {&L::Forward, {1, "FWD"}},
                  {&L::AlternatePlus, {3, "ALT++"}},
                  {&L::AlternateMinus, {7, "ALT+-"}},
                  {&L::OneShotReverse, {8, "1SHOTR"}},
                  {&L::ForwardReverse, {9, "FWDR"}},
                  {&L::AlternatePlusReverse, {11, "ALT++R"}},
                  {&L::AlternateMinusReverse, {15, "ALT+-R"}}},
                 0, 15);
  ExpectRangeError<L>(2, 0, 15);
  ExpectRangeError<L>(16, 0, 15);
  EXPECT_EQ(L(11).ToString(), "ALT++R");
}
