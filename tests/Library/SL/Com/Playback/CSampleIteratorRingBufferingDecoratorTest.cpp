#include "SL/Com/Playback/CSampleIteratorRingBufferingDecorator.h"

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

}  // namespace

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
