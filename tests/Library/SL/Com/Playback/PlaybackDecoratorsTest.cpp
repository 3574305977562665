#include "SL/Com/Playback/CSampleIteratorBitDepthConvertDecorator.h"
#include "SL/Com/Playback/CSampleIteratorRingBufferingDecorator.h"
#include "SL/Com/Playback/CSampleIteratorStereoDecorator.h"

#include "Support/ThreadCount.h"
#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

typedef TestSupport::CVectorInputIterator<65552> CSource16;

boost::shared_ptr<SL::IInputSampleIterator> Source(std::vector<short> samples, int channels,
                                                   double rate = 44100.0) {
  return boost::shared_ptr<SL::IInputSampleIterator>(
      new CSource16(std::move(samples), channels, rate));
}

template <class Iterator>
std::vector<decltype(std::declval<Iterator&>().Get())> ReadAll(Iterator& it) {
  std::vector<decltype(std::declval<Iterator&>().Get())> out;
  while (it.HasNext()) {
    out.push_back(it.Get());
    it.Next();
  }
  return out;
}

}  // namespace

TEST(CSampleIteratorStereoDecorator, GivesEachMonoSampleTwice) {
  SL::CSampleIteratorStereoDecorator<65552> stereo(Source({5, -7}, 1, 22050.0));
  EXPECT_EQ(2, stereo.GetAttribute().mChannelCount);
  EXPECT_EQ(2, stereo.GetAttribute().mFrameCount);
  EXPECT_EQ(22050.0, stereo.GetAttribute().mSampleRate);
  EXPECT_EQ(65552, stereo.GetAttribute().mBitDepth.GetValue());
  EXPECT_EQ((std::vector<short>{5, 5, -7, -7}), ReadAll(stereo));
  // One frame of the stereo stream is one source frame.
  EXPECT_EQ(5, stereo.ToCurrentFrame(5));
  EXPECT_EQ(-3, stereo.ToCurrentFrame(-3));
}

TEST(CSampleIteratorBitDepthConvertDecorator, DividesBy32767InSinglePrecision) {
  SL::CSampleIteratorBitDepthConvertDecorator<65552, 131104> floats(
      Source({32767, 16384, 1, 0, -1, -32768}, 2, 48000.0));
  EXPECT_EQ(131104, floats.GetAttribute().mBitDepth.GetValue());
  EXPECT_EQ(2, floats.GetAttribute().mChannelCount);
  EXPECT_EQ(3, floats.GetAttribute().mFrameCount);
  EXPECT_EQ(48000.0, floats.GetAttribute().mSampleRate);
  std::vector<float> const got = ReadAll(floats);
  std::vector<float> const expected = {1.0f, 0.50001526f,     3.0518509e-05f,
                                       0.0f, -3.0518509e-05f, -1.0000305f};
  ASSERT_EQ(expected.size(), got.size());
  for (std::size_t k = 0; k < got.size(); ++k) {
    EXPECT_EQ(expected[k], got[k]) << k;
  }
  EXPECT_EQ(-32768.0f / 32767.0f, got[5]);
  EXPECT_EQ(7, floats.ToCurrentFrame(7));
  EXPECT_TRUE(floats.IsValid());
}

TEST(CSampleIteratorRingBufferingDecoratorThreaded, ShortSourceIsDeliveredWholeFromTheFirstFill) {
  std::vector<short> samples;
  for (int k = 0; k < 1000; ++k) {
    samples.push_back(static_cast<short>(k * 31 - 15000));
  }
  auto* raw = new CSource16(samples, 2);
  SL::CSampleIteratorRingBufferingDecorator<65552> ring(
      boost::shared_ptr<SL::IInputSampleIterator>(raw), 0.6, 104);
  EXPECT_EQ(&raw->GetAttribute(), &ring.GetAttribute());
  // The whole source went in during construction; the position is still the
  // frame the source stood at.
  EXPECT_EQ(500, ring.GetRingBuffer()->GetAvailableInputFrameCount());
  EXPECT_EQ(0, ring.GetLocation());
  ring.SetLocation(1000);
  EXPECT_EQ(0, ring.GetLocation());
  EXPECT_EQ(10, ring.TellLocation(10));
  // Positions count whole frames read: a half-read frame is not reached yet.
  std::vector<short> got;
  for (int k = 0; k < 3; ++k) {
    got.push_back(ring.Get());
    ring.Next();
  }
  EXPECT_EQ(1, ring.GetLocation());
  std::vector<short> const rest = ReadAll(ring);
  got.insert(got.end(), rest.begin(), rest.end());
  EXPECT_EQ(samples, got);
  EXPECT_EQ(500, ring.GetLocation());
  EXPECT_EQ(3, ring.ToCurrentFrame(3));
  EXPECT_TRUE(ring.IsValid());
  raw->Fail();
  EXPECT_TRUE(ring.IsValid());
}

TEST(CSampleIteratorRingBufferingDecoratorThreaded, RunningDryEndsTheStreamWhileTheSourceHasMore) {
  // A 128-frame ring over a long source: reading it out at once finds the
  // ring empty long before the source is.
  auto* raw = new TestSupport::CCountingInputIterator(44100 * 60, 1);
  SL::CSampleIteratorRingBufferingDecorator<65552> ring(
      boost::shared_ptr<SL::IInputSampleIterator>(raw), 0.0001, 104);
  long n = 0;
  while (ring.HasNext()) {
    ring.Next();
    ++n;
  }
  EXPECT_GE(n, 128);
  EXPECT_LT(n, 44100 * 60);
}

TEST(CSampleIteratorRingBufferingDecoratorThreaded, ConsumerThreadReadsEverythingInOrder) {
  int const before = TestSupport::CountProcessThreadsAtRest();
  long const total = 2 * 44100 * 4;  // four seconds of stereo through a 0.05 s ring
  std::vector<short> received;
  received.reserve(total);
  long wrongPositions = 0;
  {
    auto decorator = std::make_shared<SL::CSampleIteratorRingBufferingDecorator<65552>>(
        boost::shared_ptr<SL::IInputSampleIterator>(
            new TestSupport::CCountingInputIterator(total, 2)),
        0.05, 104);
    EXPECT_EQ(before + 1, TestSupport::CountProcessThreads());
    // Like an audio callback: take what the ring holds, come back later.
    std::thread consumer([&] {
      auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (static_cast<long>(received.size()) < total &&
             std::chrono::steady_clock::now() < limit) {
        while (decorator->HasNext()) {
          received.push_back(decorator->Get());
          decorator->Next();
        }
        // The position is exact while the fill thread writes the ring.
        if (decorator->GetLocation() != static_cast<long>(received.size()) / 2) {
          ++wrongPositions;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
    consumer.join();
  }
  // Destroying the decorator stopped and joined its fill thread.
  EXPECT_EQ(before, TestSupport::WaitForProcessThreads(before));
  EXPECT_EQ(0, wrongPositions);
  ASSERT_EQ(static_cast<std::size_t>(total), received.size());
  long bad = 0;
  for (long i = 0; i < total; ++i) {
    bad += received[static_cast<std::size_t>(i)] != TestSupport::CCountingInputIterator::ValueAt(i);
  }
  EXPECT_EQ(0, bad);
}

TEST(CSampleIteratorRingBufferingDecoratorThreaded, RefusesOtherDepthsWithoutLeavingAThread) {
  int const before = TestSupport::CountProcessThreadsAtRest();
  EXPECT_THROW(SL::CSampleIteratorRingBufferingDecorator<65552>(
                   boost::shared_ptr<SL::IInputSampleIterator>(
                       new TestSupport::CVectorInputIterator<65568>({1, 2}, 1)),
                   0.6, 104),
               std::invalid_argument);
  auto* mislabelled = new CSource16({1, 2}, 1);
  mislabelled->Attribute().mBitDepth = SL::CBitDepth(131104);
  EXPECT_THROW(SL::CSampleIteratorRingBufferingDecorator<65552>(
                   boost::shared_ptr<SL::IInputSampleIterator>(mislabelled), 0.6, 104),
               std::invalid_argument);
  EXPECT_THROW(SL::CSampleIteratorRingBufferingDecorator<65552>(
                   boost::shared_ptr<SL::IInputSampleIterator>(), 0.6, 104),
               std::invalid_argument);
  EXPECT_EQ(before, TestSupport::WaitForProcessThreads(before));
}
