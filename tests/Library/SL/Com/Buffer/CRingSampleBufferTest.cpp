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

TEST(CRingSampleBuffer, NewRingIsEmptyAndZeroed) {
  CRing16 ring(2, 4, GT::CEndianness::sPlatform);
  EXPECT_FALSE(ring.IsReadable());
  EXPECT_TRUE(ring.IsWritable());
  EXPECT_EQ(0, ring.GetAvailableInputFrameCount());
  EXPECT_EQ(4, ring.GetAvailableOutputFrameCount());
  ASSERT_EQ(5u * 2 * 2, ring.size());
  for (unsigned char b : static_cast<std::vector<unsigned char>&>(ring)) {
    EXPECT_EQ(0, b);
  }
  EXPECT_EQ(65552, ring.GetAttribute().mBitDepth.GetValue());
  EXPECT_EQ(0.0, ring.GetAttribute().mSampleRate);
  EXPECT_EQ(2, ring.GetAttribute().mChannelCount);
  EXPECT_EQ(4, ring.GetAttribute().mFrameCount);
  EXPECT_FALSE(ring.IsSequential());
  EXPECT_EQ(nullptr, ring.Begin());
  EXPECT_EQ(nullptr, ring.At(1));
  EXPECT_TRUE(ring.InputBegin() == ring.InputEnd());
}

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

TEST(CRingSampleBuffer, PositionsClipToTheStoredAndFreeRanges) {
  CRing16 ring(1, 8, GT::CEndianness::sPlatform);
  WriteSamples(ring, {1, 2, 3});
  unsigned char* const begin = ring.Range().begin;
  EXPECT_EQ(begin + 18, ring.UpperBound());
  EXPECT_EQ(begin + 2, ring.ReadPosition(1));
  EXPECT_EQ(begin + 6, ring.ReadPosition(3));
  EXPECT_EQ(begin + 6, ring.ReadPosition(4));  // more than stored: the write pointer
  EXPECT_EQ(begin + 8, ring.WritePosition(1));
  EXPECT_EQ(begin + 16, ring.WritePosition(5));
  EXPECT_EQ(ring.Normalize(begin - 2), ring.WritePosition(6));  // more than free: read - gap
  EXPECT_EQ(begin + 16, ring.Normalize(begin - 2));
  EXPECT_EQ(begin + 2, ring.Normalize(begin + 20));
  // InputAt starts reading at that frame and consumes up to it when advanced.
  CRing16::CInputIterator at = ring.InputAt(1);
  EXPECT_EQ(2, at.Get());
  ++at;
  EXPECT_EQ(1, ring.GetAvailableInputFrameCount());
}

TEST(CRingSampleBuffer, ChannelSelectionsAndPeakLevel) {
  CRing16 ring(3, 4, GT::CEndianness::sPlatform);
  WriteSamples(ring, {1, -20, 3, 4, 5, -6});
  // The peak level looks at the stored frames without consuming them.
  EXPECT_EQ((std::vector<double>{4.0, 20.0, 6.0}), ring.GetPeakLevel());
  EXPECT_EQ(2, ring.GetAvailableInputFrameCount());
  // As many entries as channels: all channels in order, whatever they hold.
  {
    std::vector<int> const same = {2, 2, 2};
    CRing16::CInputIterator i = ring.InputBegin(same);
    CRing16::CInputIterator copy = i;  // copies read without publishing twice
    EXPECT_EQ(1, i.Get());
    ++i;
    EXPECT_EQ(-20, i.Get());
    ++i;
    EXPECT_EQ(3, i.Get());
    EXPECT_EQ(1, copy.Get());
  }
  EXPECT_EQ(2, ring.GetAvailableInputFrameCount());
  // Channel 1 only, through a selecting iterator that frees whole frames.
  CRing16::CInputIterator i = ring.InputBegin(std::vector<int>{1});
  EXPECT_EQ(-20, i.Get());
  ++i;
  EXPECT_EQ(1, ring.GetAvailableInputFrameCount());
  EXPECT_EQ(5, i.Get());
  ++i;
  EXPECT_FALSE(ring.IsReadable());
  // Writing channels 0 and 2 of a frame publishes it when the frame is passed.
  CRing16::COutputIterator o = ring.OutputBegin(std::vector<int>{0, 2});
  o.Set(7);
  ++o;
  EXPECT_FALSE(ring.IsReadable());
  o.Set(9);
  ++o;
  EXPECT_EQ(1, ring.GetAvailableInputFrameCount());
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

TEST(CRingSampleBuffer, ForeignByteOrderAndWideSamples) {
  GT::CEndianness::EEndian const foreign = GT::CEndianness::sPlatform == GT::CEndianness::BigEndian
                                               ? GT::CEndianness::LittleEndian
                                               : GT::CEndianness::BigEndian;
  SL::CRingSampleBuffer<65560> ring24(1, 3, GT::CEndianness::BigEndian);
  SL::CRingSampleBuffer<65560>::COutputIterator o = ring24.OutputBegin();
  o.Set(1193046);
  ++o;
  o.Set(-1);
  ++o;
  std::vector<unsigned char> const& bytes = ring24;
  EXPECT_EQ(0x12, bytes[0]);
  EXPECT_EQ(0x34, bytes[1]);
  EXPECT_EQ(0x56, bytes[2]);
  EXPECT_EQ(0xFF, bytes[5]);
  SL::CRingSampleBuffer<65560>::CInputIterator i = ring24.InputBegin();
  EXPECT_EQ(1193046, i.Get());
  ++i;
  EXPECT_EQ(-1, i.Get());

  SL::CRingSampleBuffer<131136> ring64(2, 2, foreign);
  SL::CRingSampleBuffer<131136>::COutputIterator o64 = ring64.OutputBegin();
  o64.Set(0.25);
  ++o64;
  o64.Set(-3.5);
  ++o64;
  SL::CRingSampleBuffer<131136>::CInputIterator i64 = ring64.InputBegin();
  EXPECT_EQ(0.25, i64.Get());
  ++i64;
  EXPECT_EQ(-3.5, i64.Get());
  EXPECT_EQ(1, ring64.GetAvailableInputFrameCount());
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
