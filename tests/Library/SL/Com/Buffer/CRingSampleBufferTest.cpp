#include "SL/Com/Buffer/CRingSampleBuffer.h"

#include "SL/Com/Buffer/CSampleTransformer.h"
#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

typedef SL::CRingSampleBuffer<65552> CRing16;

// Writes samples through a fresh output iterator, as the fill thread does.
long WriteSamples(CRing16& ring, std::vector<short> const& samples) {
  CRing16::COutputIterator o = ring.OutputBegin();
  CRing16::COutputIterator const end = ring.OutputEnd();
  long n = 0;
  for (short s : samples) {
    if (o == end) {
      break;
    }
    o.Set(s);
    ++o;
    ++n;
  }
  return n;
}

std::vector<short> ReadAll(CRing16& ring) {
  std::vector<short> out;
  CRing16::CInputIterator i = ring.InputBegin();
  CRing16::CInputIterator const end = ring.InputEnd();
  for (; i != end; ++i) {
    out.push_back(i.Get());
  }
  return out;
}

}  // namespace

TEST(CRingSampleBuffer, FullRingKeepsOneFrameFreeAndWrapsRoundTheStorage) {
  CRing16 ring(2, 4, GT::CEndianness::sPlatform);
  std::vector<short> first = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(8, WriteSamples(ring, first));
  EXPECT_FALSE(ring.IsWritable());
  EXPECT_EQ(0, ring.GetAvailableOutputFrameCount());
  EXPECT_EQ(4, ring.GetAvailableInputFrameCount());
  // The write pointer stands one frame behind the read pointer.
  EXPECT_TRUE(ring.OutputBegin() == ring.OutputEnd());
  EXPECT_EQ(ring.Range().begin + 16, ring.WritePosition(0));
  EXPECT_EQ((std::vector<short>{1, 2, 3, 4, 5, 6, 7, 8}), ReadAll(ring));
  EXPECT_FALSE(ring.IsReadable());
  // Many rounds through the storage: the pointers wrap and distances stay right.
  short next = 100;
  short expected = 100;
  for (int round = 0; round < 50; ++round) {
    std::vector<short> chunk;
    for (int k = 0; k < 6; ++k) {
      chunk.push_back(next++);
    }
    ASSERT_EQ(6, WriteSamples(ring, chunk));
    ASSERT_EQ(3, ring.GetAvailableInputFrameCount());
    ASSERT_EQ(1, ring.GetAvailableOutputFrameCount());
    ASSERT_EQ(12, ring.ReadDistance());  // bytes
    for (short s : ReadAll(ring)) {
      ASSERT_EQ(expected++, s);
    }
  }
}

TEST(CRingSampleBuffer, HalfWrittenFrameIsNotPublished) {
  CRing16 ring(2, 4, GT::CEndianness::sPlatform);
  CRing16::COutputIterator o = ring.OutputBegin();
  o.Set(11);
  ++o;
  EXPECT_FALSE(ring.IsReadable());  // one sample of the frame only
  o.Set(12);
  ++o;
  EXPECT_TRUE(ring.IsReadable());
  EXPECT_EQ(1, ring.GetAvailableInputFrameCount());
  // The reader frees a frame only after reading all of it.
  CRing16::CInputIterator i = ring.InputBegin();
  EXPECT_EQ(11, i.Get());
  ++i;
  EXPECT_EQ(3, ring.GetAvailableOutputFrameCount());
  EXPECT_EQ(12, i.Get());
  ++i;
  EXPECT_EQ(4, ring.GetAvailableOutputFrameCount());
  EXPECT_FALSE(ring.IsReadable());
}

TEST(CRingSampleBuffer, DegenerateSizesNeverReadOrWrite) {
  CRing16 noFrames(2, 0, GT::CEndianness::sPlatform);
  EXPECT_EQ(4u, noFrames.size());
  EXPECT_FALSE(noFrames.IsReadable());
  EXPECT_FALSE(noFrames.IsWritable());
  EXPECT_TRUE(noFrames.OutputBegin() == noFrames.OutputEnd());
  CRing16 noChannels(0, 16, GT::CEndianness::sPlatform);
  EXPECT_EQ(0u, noChannels.size());
  EXPECT_FALSE(noChannels.IsReadable());
  EXPECT_FALSE(noChannels.IsWritable());
  EXPECT_EQ(0, noChannels.GetAvailableOutputFrameCount());
  EXPECT_TRUE(noChannels.GetPeakLevel().empty());
}

// A producer and a consumer thread move tens of millions of samples through
// a small ring; the consumer must see the exact sequence.
TEST(CRingSampleBufferThreaded, ProducerAndConsumerLoseRepeatAndReorderNothing) {
  long const total = 20000000;  // samples, 2 channels
  CRing16 ring(2, 61, GT::CEndianness::sPlatform);
  TestSupport::CCountingInputIterator source(total, 2);
  std::atomic<bool> producerDone(false);
  std::thread producer([&] {
    SL::CSampleTransformer<65552> transformer;
    while (source.HasNext()) {
      if (transformer.Transform(source, ring, SL::ISampleTransformer::CopyOnly) == 0) {
        std::this_thread::yield();
      }
    }
    producerDone.store(true);
  });
  long received = 0;
  long mismatches = 0;
  std::thread consumer([&] {
    CRing16::CInputIterator reader = ring.InputBegin();
    for (;;) {
      if (ring.IsReadable()) {
        if (reader.Get() != TestSupport::CCountingInputIterator::ValueAt(received)) {
          ++mismatches;
        }
        ++received;
        ++reader;
      } else if (producerDone.load() && !ring.IsReadable()) {
        break;
      } else {
        std::this_thread::yield();
      }
    }
  });
  producer.join();
  consumer.join();
  EXPECT_EQ(total, received);
  EXPECT_EQ(0, mismatches);
  EXPECT_FALSE(ring.IsReadable());
}

TEST(CRingSampleBufferThreaded, TransformerOnBothSidesKeepsOrder) {
  long const total = 3000000;  // mono
  CRing16 ring(1, 100, GT::CEndianness::sPlatform);
  TestSupport::CCountingInputIterator source(total, 1);
  TestSupport::CVectorOutputIterator<65552> sink(static_cast<std::size_t>(total), 1);
  std::atomic<bool> producerDone(false);
  std::thread producer([&] {
    SL::CSampleTransformer<65552> transformer;
    while (source.HasNext()) {
      if (transformer.Transform(source, ring, SL::ISampleTransformer::CopyOnly) == 0) {
        std::this_thread::yield();  // full: let the consumer run on a busy machine
      }
    }
    producerDone.store(true);
  });
  std::thread consumer([&] {
    SL::CSampleTransformer<65552> transformer;
    for (;;) {
      bool const done = producerDone.load();
      transformer.Transform(ring, sink, SL::ISampleTransformer::CopyOnly);
      if (done && !ring.IsReadable()) {
        break;
      }
      std::this_thread::yield();
    }
  });
  producer.join();
  consumer.join();
  ASSERT_EQ(static_cast<std::size_t>(total), sink.mSamples.size());
  long bad = 0;
  for (long i = 0; i < total; ++i) {
    bad += sink.mSamples[static_cast<std::size_t>(i)] !=
           TestSupport::CCountingInputIterator::ValueAt(i);
  }
  EXPECT_EQ(0, bad);
}
