#include "SL/Com/Buffer/CLinearRingSampleIncrementer.h"
#include "SL/Com/Buffer/CRingSampleBuffer.h"
#include "SL/Com/Buffer/CRingSampleIncrementer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// A ring storage of 4 frames of 3 channels of 2-byte samples.
int const kChannels = 3;
int const kFrameBytes = 6;
int const kFrames = 4;

// Walks an incrementer from a frame start for two rounds of the storage:
// every sample visited is the listed channel of the next frame, wrapping at
// the end, and the published pointer is always the start of the frame that
// holds the current sample.
void ExpectWalk(SL::ISampleIncrementer<2>& incrementer, std::vector<int> const& channels,
                int startFrame, unsigned char* begin, std::atomic<unsigned char*>& published) {
  std::vector<long> expected;
  for (int f = startFrame; f < startFrame + 2 * kFrames; ++f) {
    for (int c : channels) expected.push_back((f % kFrames) * kFrameBytes + c * 2);
  }
  long position = startFrame * kFrameBytes + incrementer.IncrementInitial();
  ASSERT_EQ(expected[0], position);
  for (std::size_t k = 1; k < expected.size(); ++k) {
    position += incrementer.Increment();
    ASSERT_EQ(expected[k], position) << "step " << k;
    ASSERT_EQ(begin + position / kFrameBytes * kFrameBytes, published.load()) << "step " << k;
  }
}

TEST(CRingSampleIncrementer, VisitsListedChannelsAndPublishesTheCurrentFrame) {
  struct Case {
    std::vector<int> channels;
    int startFrame;
  };
  Case const cases[] = {{{1, 2}, 0}, {{1, 2}, 3}, {{0, 2}, 2}, {{2, 0}, 0},
                        {{2, 0}, 3}, {{0, 0}, 1}, {{1}, 3},    {{2, 1, 0}, 2}};
  std::vector<unsigned char> storage(kFrames * kFrameBytes);
  GT::CRange<unsigned char*> const range(storage.data(), storage.data() + storage.size());
  for (Case const& c : cases) {
    std::atomic<unsigned char*> published(nullptr);
    SL::CRingSampleIncrementer<2> incrementer(&published, range, kChannels, c.channels,
                                              storage.data() + c.startFrame * kFrameBytes);
    SCOPED_TRACE(::testing::Message() << "list starting " << c.channels[0] << ", size "
                                      << c.channels.size() << ", frame " << c.startFrame);
    ExpectWalk(incrementer, c.channels, c.startFrame, storage.data(), published);
  }
  for (int start = 0; start < kFrames; ++start) {
    std::atomic<unsigned char*> published(nullptr);
    SL::CLinearRingSampleIncrementer<2> linear(&published, range, kChannels,
                                               storage.data() + start * kFrameBytes);
    ExpectWalk(linear, {0, 1, 2}, start, storage.data(), published);
  }
}

TEST(CRingSampleIncrementer, ACloneContinuesInTheSamePhase) {
  std::vector<unsigned char> storage(kFrames * kFrameBytes);
  GT::CRange<unsigned char*> const range(storage.data(), storage.data() + storage.size());
  std::atomic<unsigned char*> published(nullptr);
  SL::CRingSampleIncrementer<2> original(&published, range, kChannels, {2, 0}, storage.data());
  EXPECT_EQ(4, original.IncrementInitial());
  EXPECT_EQ(-4, original.Increment());
  std::unique_ptr<SL::CRingSampleIncrementer<2> > clone(original.Clone());
  EXPECT_EQ(10, clone->Increment());
  EXPECT_EQ(10, original.Increment());
  EXPECT_EQ(storage.data() + kFrameBytes, published.load());
}

// Reading a full ring through a list that goes back inside the frame: the
// read pointer never steps back onto the write pointer, so the ring never
// looks empty (and free for writing) while frames are unread.
TEST(CRingSampleIncrementer, ReadingABackwardListKeepsAFullRingFull) {
  SL::CRingSampleBuffer<65552> ring(kChannels, kFrames - 1, GT::CEndianness::sPlatform);
  // Move both pointers to the last frame, then fill the ring.
  short next = 1;
  for (int round = 0; round < 2; ++round) {
    for (auto out = ring.OutputBegin(); out != ring.OutputEnd(); ++out) *out = next++;
    if (round == 0) {
      for (auto in = ring.InputBegin(); in != ring.InputEnd(); ++in) {
      }
    }
  }
  ASSERT_EQ(kFrames - 1, ring.GetAvailableInputFrameCount());
  std::vector<int> const backward = {2, 0};
  std::vector<short> read;
  auto in = ring.InputBegin(backward);
  for (int k = 0; k < 2 * (kFrames - 1); ++k, ++in) {
    ASSERT_TRUE(ring.IsReadable()) << "sample " << k;
    read.push_back(*in);
  }
  EXPECT_FALSE(ring.IsReadable());
  std::vector<short> expected;
  for (short f = 0; f < kFrames - 1; ++f) {
    expected.push_back(static_cast<short>(12 + 3 * f));
    expected.push_back(static_cast<short>(10 + 3 * f));
  }
  EXPECT_EQ(expected, read);
}

}  // namespace
