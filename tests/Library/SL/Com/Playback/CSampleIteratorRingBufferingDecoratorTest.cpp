#include "SL/Com/Playback/CSampleIteratorRingBufferingDecorator.h"

#include "Support/ThreadCount.h"
#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ios>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

typedef TestSupport::CVectorInputIterator<65552> CSource16;

// Counts up, and from sample `at` on fails as a file stream may: it throws
// the stream's exception, or turns invalid while it still claims samples.
class CFailingSource : public TestSupport::CCountingInputIterator {
public:
  CFailingSource(long at, bool throws)
      : CCountingInputIterator(40000, 2), mAt(at), mThrows(throws) {}
  bool HasNext() override { return mIndex < 40000; }
  void Next() override { ++mIndex; }
  bool IsValid() const override { return mIndex < mAt; }
  short Get() override {
    if (mThrows && mIndex >= mAt) throw std::ios_base::failure("read error");
    return ValueAt(mIndex);
  }

private:
  long mAt;
  bool mThrows;
  long mIndex = 0;
};

}  // namespace

// A consumer on its own thread that reads faster than the fill thread fills
// a small ring: where the ring is dry it gets silence, in whole frames, and
// the stream ends only with the source, every sample in order on its channel.
TEST(CSampleIteratorRingBufferingDecoratorThreaded, ConsumerThreadReadsEverythingInOrder) {
  int const before = TestSupport::CountProcessThreadsAtRest();
  long const total = 2 * 20000;  // no sample of it is 0
  std::vector<short> received;
  {
    auto decorator = std::make_shared<SL::CSampleIteratorRingBufferingDecorator<65552>>(
        boost::shared_ptr<SL::IInputSampleIterator>(
            new TestSupport::CCountingInputIterator(total, 2)),
        0.0001, 104);
    EXPECT_EQ(before + 1, TestSupport::CountProcessThreads());
    std::thread consumer([&] {
      auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (decorator->HasNext() && std::chrono::steady_clock::now() < limit) {
        for (int n = 0; n < 4096 && decorator->HasNext(); ++n, decorator->Next())
          received.push_back(decorator->Get());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    consumer.join();
    EXPECT_EQ(total / 2, decorator->GetLocation());
  }
  // Destroying the decorator stopped and joined its fill thread.
  EXPECT_EQ(before, TestSupport::WaitForProcessThreads(before));
  EXPECT_GT(received.size(), static_cast<std::size_t>(total)) << "the ring never ran dry";
  long k = 0, misplaced = 0;
  for (std::size_t i = 0; i < received.size(); ++i)
    if (received[i] != 0)
      misplaced += received[i] != TestSupport::CCountingInputIterator::ValueAt(k++) ||
                   static_cast<long>(i - k + 1) % 2 != 0;
  EXPECT_EQ(total, k);
  EXPECT_EQ(0, misplaced);
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

// A source that fails on the fill thread ends the stream: the reader does
// not wait for the rest for ever. Of a source that claims samples after
// turning invalid, no more than one fill (a ring of 128 frames) is taken.
TEST(CSampleIteratorRingBufferingDecoratorThreaded, ASourceFailingOnTheFillThreadEndsTheStream) {
  for (bool const throws : {true, false}) {
    SCOPED_TRACE(throws ? "throws" : "turns invalid");
    SL::CSampleIteratorRingBufferingDecorator<65552> decorator(
        boost::shared_ptr<SL::IInputSampleIterator>(new CFailingSource(6000, throws)), 0.0001, 104);
    long k = 0, misplaced = 0;
    auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (decorator.HasNext() && std::chrono::steady_clock::now() < limit) {
      for (int n = 0; n < 512 && decorator.HasNext(); ++n, decorator.Next())
        if (short const s = decorator.Get())
          misplaced += s != TestSupport::CCountingInputIterator::ValueAt(k++);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(decorator.HasNext());
    EXPECT_LE(k, throws ? 6000 : 6000 + 256);
    EXPECT_EQ(0, misplaced);
  }
}
