#include "SL/Com/Playback/CRingBufferer.h"

#include "SL/Com/Buffer/CRingSampleBuffer.h"
#include "SL/Com/Buffer/CSampleTransformer.h"
#include "Support/ThreadCount.h"
#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

// The fill loop's runnable, as the ring-buffering decorator provides it.
class CFillRunnable : public GT::IRunnable {
public:
  explicit CFillRunnable(SL::CRingBufferer& bufferer) : mBufferer(bufferer) {}
  void Run() override { mBufferer.RunFillRingBuffer(); }
  SL::CRingBufferer& mBufferer;
};

class CDrainRunnable : public GT::IRunnable {
public:
  explicit CDrainRunnable(SL::CRingBufferer& bufferer) : mBufferer(bufferer) {}
  void Run() override { mBufferer.RunDrainRingBuffer(); }
  SL::CRingBufferer& mBufferer;
};

template <class Predicate>
bool WaitFor(Predicate predicate) {
  auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > limit) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::vector<short> Sequence(long count) {
  std::vector<short> v;
  for (long i = 0; i < count; ++i) {
    v.push_back(TestSupport::CCountingInputIterator::ValueAt(i));
  }
  return v;
}

}  // namespace

TEST(CRingBufferer, RingTimeFollowsTheSourceRate) {
  SL::CRingBufferer bufferer;
  EXPECT_DOUBLE_EQ(1.6, SL::CRingBufferer::sDefaultRingBufferTime);
  EXPECT_DOUBLE_EQ(1.6, bufferer.GetRingBufferTime());  // rate still 0
  bufferer.StartBuffering(boost::shared_ptr<SL::IInputSampleIterator>(
      new TestSupport::CVectorInputIterator<65552>(std::vector<short>(10, 1), 1, 22050.0)));
  ASSERT_TRUE(bufferer.GetRingBuffer());
  EXPECT_EQ(35280, bufferer.GetRingBuffer()->GetAttribute().mFrameCount);

  SL::CRingBufferer shortRing;
  shortRing.SetRingBufferTime(0.001);
  EXPECT_DOUBLE_EQ(0.001, shortRing.GetRingBufferTime());
  shortRing.StartBuffering(boost::shared_ptr<SL::IInputSampleIterator>(
      new TestSupport::CVectorInputIterator<65552>(std::vector<short>(10, 1), 2, 44100.0)));
  EXPECT_NEAR(128.0 / 44100.0, shortRing.GetRingBufferTime(), 1e-12);
  EXPECT_EQ(128, shortRing.GetRingBuffer()->GetAttribute().mFrameCount);
}

TEST(CRingBufferer, UnsupportedDepthGetsNoRingAndNoBuffering) {
  SL::CRingBufferer bufferer;
  auto* source = new TestSupport::CVectorInputIterator<65552>(std::vector<short>(10, 1), 1);
  source->Attribute().mBitDepth = SL::CBitDepth::Complex32;
  bufferer.StartBuffering(boost::shared_ptr<SL::IInputSampleIterator>(source));
  EXPECT_FALSE(bufferer.GetRingBuffer());
  EXPECT_FALSE(bufferer.IsBuffering());
  bufferer.FillRingBuffer();  // harmless
  EXPECT_EQ(0u, source->Index());
}

TEST(CRingBuffererThreaded, InitialFillThenThreadTopsUpUntilDestroyed) {
  int const before = TestSupport::CountProcessThreadsAtRest();
  long const total = 44100 * 3;  // three seconds of mono through a 0.1 s ring
  std::vector<short> received;
  {
    SL::CRingBufferer bufferer;
    CFillRunnable runnable(bufferer);
    bufferer.SetRingBufferTime(0.1);
    bufferer.StartBufferingThread(runnable, 104);
    EXPECT_EQ(before + 1, TestSupport::CountProcessThreads());
    auto* source = new TestSupport::CCountingInputIterator(total, 1);
    bufferer.StartBuffering(boost::shared_ptr<SL::IInputSampleIterator>(source));
    EXPECT_TRUE(bufferer.IsBuffering());
    auto& ring = dynamic_cast<SL::CRingSampleBuffer<65552>&>(*bufferer.GetRingBuffer());
    // The ring is full when StartBuffering returns.
    EXPECT_EQ(4410, ring.GetAvailableInputFrameCount());
    // Reading on this thread while the fill thread writes.
    SL::CRingSampleBuffer<65552>::CInputIterator reader = ring.InputBegin();
    EXPECT_TRUE(WaitFor([&] {
      while (ring.IsReadable()) {
        received.push_back(reader.Get());
        ++reader;
      }
      return static_cast<long>(received.size()) == total;
    }));
    // An exhausted source: the thread keeps idling until told to stop.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(before + 1, TestSupport::CountProcessThreads());
    EXPECT_FALSE(ring.IsReadable());
  }
  EXPECT_EQ(before, TestSupport::WaitForProcessThreads(before));
  EXPECT_EQ(Sequence(total), received);
}

TEST(CRingBuffererThreaded, StopBufferingIdlesAndDestructionEndsASleepingThread) {
  int const before = TestSupport::CountProcessThreadsAtRest();
  auto bufferer = std::make_unique<SL::CRingBufferer>();
  CFillRunnable runnable(*bufferer);
  bufferer->SetRingBufferTime(0.01);
  bufferer->StartBufferingThread(runnable, 31);
  bufferer->StartBuffering(boost::shared_ptr<SL::IInputSampleIterator>(
      new TestSupport::CCountingInputIterator(100000, 1)));
  auto& ring = dynamic_cast<SL::CRingSampleBuffer<65552>&>(*bufferer->GetRingBuffer());
  bufferer->StopBuffering();
  // Idle: what is taken out is not refilled. A fill that had already begun may
  // still land (over a few turns, as it publishes frame by frame); a thread
  // still buffering would refill in nearly every turn.
  SL::CRingSampleBuffer<65552>::CInputIterator reader = ring.InputBegin();
  while (ring.IsReadable()) {
    ++reader;
  }
  int refills = 0;
  for (int turn = 0; turn < 30; ++turn) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ring.IsReadable()) {
      ++refills;
    }
    while (ring.IsReadable()) {
      ++reader;
    }
  }
  EXPECT_LT(refills, 10);
  auto const t0 = std::chrono::steady_clock::now();
  bufferer.reset();
  // Generous: ends within one sleep and one fill, never hangs.
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
  EXPECT_EQ(before, TestSupport::WaitForProcessThreads(before));
}

TEST(CRingBuffererThreaded, DrainsARingIntoAnOutputStream) {
  long const total = 20000;
  auto* sink = new TestSupport::CVectorOutputIterator<65552>(static_cast<std::size_t>(total), 2);
  boost::shared_ptr<SL::IOutputSampleIterator> output(sink);
  {
    SL::CRingBufferer bufferer;
    CDrainRunnable runnable(bufferer);
    bufferer.SetRingBufferTime(0.01);
    bufferer.StartBufferingThread(runnable, 31);
    bufferer.StartBuffering(output);
    auto& ring = dynamic_cast<SL::CRingSampleBuffer<65552>&>(*bufferer.GetRingBuffer());
    EXPECT_FALSE(ring.IsReadable());  // no initial fill for an output stream
    // This thread writes the ring; the bufferer's thread drains it.
    TestSupport::CCountingInputIterator source(total, 2);
    SL::CSampleTransformer<65552> transformer;
    EXPECT_TRUE(WaitFor([&] {
      transformer.Transform(source, ring, SL::ISampleTransformer::CopyOnly);
      return !source.HasNext();
    }));
    EXPECT_TRUE(WaitFor([&] { return !ring.IsReadable(); }));
  }
  EXPECT_EQ(Sequence(total), sink->mSamples);
}
