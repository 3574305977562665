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

// A ring read faster than it is filled gives silence in whole frames and
// ends with the source: every stereo sample arrives, in order, on its own
// channel.
TEST(DeviceFilePlaybackChainThreaded, ADryRingPlaysSilenceUntilTheSourceHasEnded) {
  long const total = 2 * 20000;
  SL::CSampleIteratorRingBufferingDecorator<65552> ring(
      boost::shared_ptr<SL::IInputSampleIterator>(
          new TestSupport::CCountingInputIterator(total, 2)),
      0.0001, 104);
  std::vector<short> received;
  auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (ring.HasNext() && std::chrono::steady_clock::now() < limit) {
    for (int n = 0; n < 4096 && ring.HasNext(); ++n) {
      received.push_back(ring.Get());
      ring.Next();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_GT(received.size(), static_cast<std::size_t>(total)) << "the ring never ran dry";
  long k = 0, misplaced = 0;
  for (std::size_t i = 0; i < received.size(); ++i) {
    if (received[i] == 0) continue;  // no sample of this source is 0
    misplaced += received[i] != TestSupport::CCountingInputIterator::ValueAt(k) ||
                 static_cast<long>(i % 2) != k % 2;
    ++k;
  }
  EXPECT_EQ(total, k);
  EXPECT_EQ(0, misplaced);
  EXPECT_EQ(total / 2, ring.GetLocation());
}

TEST(CSampleIteratorRingBufferingDecoratorThreaded, ConsumerThreadReadsEverythingInOrder) {
  int const before = TestSupport::CountProcessThreadsAtRest();
  // Half a second of stereo through a 0.05 s ring; no sample of it is 0.
  long const total = 2 * 22050;
  std::vector<short> received;
  {
    auto decorator = std::make_shared<SL::CSampleIteratorRingBufferingDecorator<65552>>(
        boost::shared_ptr<SL::IInputSampleIterator>(
            new TestSupport::CCountingInputIterator(total, 2)),
        0.05, 104);
    EXPECT_EQ(before + 1, TestSupport::CountProcessThreads());
    // Like an audio callback: a block every few milliseconds until the end.
    std::thread consumer([&] {
      auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (decorator->HasNext() && std::chrono::steady_clock::now() < limit) {
        for (int n = 0; n < 2 * 441 && decorator->HasNext(); ++n) {
          received.push_back(decorator->Get());
          decorator->Next();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
    consumer.join();
    EXPECT_EQ(total / 2, decorator->GetLocation());
  }
  // Destroying the decorator stopped and joined its fill thread.
  EXPECT_EQ(before, TestSupport::WaitForProcessThreads(before));
  long k = 0, bad = 0;
  for (short sample : received) {
    if (sample == 0) continue;  // silence
    bad += sample != TestSupport::CCountingInputIterator::ValueAt(k++);
  }
  EXPECT_EQ(total, k);
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
