#include "SL/Com/Buffer/CSampleTransformer.h"

#include "SL/Com/Buffer/CReferentialSampleBuffer.h"
#include "SL/Com/Buffer/CRingSampleBuffer.h"
#include "Support/SampleValues.h"
#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using TestSupport::CDepth;
using TestSupport::MakeSamples;

template <class D>
class CSampleTransformerTest : public ::testing::Test {
protected:
  enum { N = D::value };
  typedef typename SL::CSampleTraits<N>::CValueType T;
  typedef SL::CRingSampleBuffer<N> CRing;
  typedef TestSupport::CVectorInputIterator<N> CSource;
  typedef TestSupport::CVectorOutputIterator<N> CSink;

  static std::vector<T> Drain(CRing& ring) {
    std::vector<T> out;
    typename CRing::CInputIterator i = ring.InputBegin();
    typename CRing::CInputIterator const end = ring.InputEnd();
    for (; i != end; ++i) {
      out.push_back(i.Get());
    }
    return out;
  }
  static void Put(CRing& ring, std::vector<T> const& samples) {
    typename CRing::COutputIterator o = ring.OutputBegin();
    for (T v : samples) {
      o.Set(v);
      ++o;
    }
  }
  static std::vector<T> Concat(std::vector<T> a, std::vector<T> const& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }

  SL::CSampleTransformer<N> mTransformer;
};

typedef ::testing::Types<CDepth<65544>, CDepth<65552>, CDepth<65560>, CDepth<65568>, CDepth<131104>,
                         CDepth<131136> >
    CDepths;
TYPED_TEST_SUITE(CSampleTransformerTest, CDepths);

TYPED_TEST(CSampleTransformerTest, IteratorIntoBufferInEveryMode) {
  typedef typename TestFixture::T T;
  typedef typename TestFixture::CRing CRing;
  typedef typename TestFixture::CSource CSource;
  std::vector<T> const ten = MakeSamples<TestFixture::N>(10);
  // The destination reaches its end first: result 0, the source stands
  // before its 9th sample.
  {
    CRing ring(2, 4, GT::CEndianness::sPlatform);
    CSource source(ten, 2);
    EXPECT_EQ(0, this->mTransformer.Transform(source, ring, SL::ISampleTransformer::CopyOnly));
    EXPECT_EQ(8u, source.Index());
    EXPECT_EQ(4, ring.GetAvailableInputFrameCount());
    EXPECT_EQ(std::vector<T>(ten.begin(), ten.begin() + 8), TestFixture::Drain(ring));
  }
  // The source ends first: result 1; padding zeros the rest of the room.
  {
    std::vector<T> const six(ten.begin(), ten.begin() + 6);
    CRing ring(2, 4, GT::CEndianness::sPlatform);
    CSource source(six, 2);
    EXPECT_EQ(1,
              this->mTransformer.Transform(source, ring, SL::ISampleTransformer::PadDestination));
    EXPECT_EQ(4, ring.GetAvailableInputFrameCount());
    EXPECT_EQ(TestFixture::Concat(six, std::vector<T>(2, T(0))), TestFixture::Drain(ring));
    CRing copyOnly(2, 4, GT::CEndianness::sPlatform);
    CSource again(six, 2);
    EXPECT_EQ(1, this->mTransformer.Transform(again, copyOnly, SL::ISampleTransformer::CopyOnly));
    EXPECT_EQ(3, copyOnly.GetAvailableInputFrameCount());
  }
  // Both end together: result 2, and padding has nothing left to write.
  {
    std::vector<T> const eight(ten.begin(), ten.begin() + 8);
    CRing ring(2, 4, GT::CEndianness::sPlatform);
    CSource source(eight, 2);
    EXPECT_EQ(2, this->mTransformer.Transform(source, ring, SL::ISampleTransformer::DrainAndPad));
    EXPECT_EQ(eight, TestFixture::Drain(ring));
  }
  // Draining a source that still has data drops the rest; nothing is padded.
  {
    CRing ring(2, 4, GT::CEndianness::sPlatform);
    CSource source(ten, 2);
    EXPECT_EQ(0, this->mTransformer.Transform(source, ring, SL::ISampleTransformer::DrainAndPad));
    EXPECT_FALSE(source.HasNext());
    EXPECT_EQ(std::vector<T>(ten.begin(), ten.begin() + 8), TestFixture::Drain(ring));
    CSource full(ten, 2);
    CRing none(2, 0, GT::CEndianness::sPlatform);
    EXPECT_EQ(0, this->mTransformer.Transform(full, none, SL::ISampleTransformer::DrainSource));
    EXPECT_FALSE(full.HasNext());
  }
  // A failed source counts as ended.
  {
    CRing ring(1, 4, GT::CEndianness::sPlatform);
    CSource failed(ten, 1);
    failed.Fail();
    EXPECT_EQ(1, this->mTransformer.Transform(failed, ring, SL::ISampleTransformer::CopyOnly));
    EXPECT_FALSE(ring.IsReadable());
  }
}

TYPED_TEST(CSampleTransformerTest, BufferIntoBufferBetweenRingAndMemory) {
  typedef typename TestFixture::T T;
  typedef typename TestFixture::CRing CRing;
  enum { N = TestFixture::N, B = (N & 0xFFFF) >> 3 };
  std::vector<T> const six = MakeSamples<N>(6, 7);
  GT::CEndianness::EEndian const foreign = GT::CEndianness::sPlatform == GT::CEndianness::BigEndian
                                               ? GT::CEndianness::LittleEndian
                                               : GT::CEndianness::BigEndian;
  // Ring to memory of a foreign byte order and back into a second ring.
  std::vector<unsigned char> memory(4 * B, 0xAA);
  {
    CRing ring(1, 8, GT::CEndianness::sPlatform);
    TestFixture::Put(ring, six);
    SL::CReferentialSampleBuffer<N> buffer(memory.data(), memory.data() + memory.size(), 1,
                                           foreign);
    EXPECT_EQ(0, this->mTransformer.Transform(ring, buffer, SL::ISampleTransformer::DrainSource));
    EXPECT_FALSE(ring.IsReadable());  // the rest of the source was skipped
    CRing back(1, 8, GT::CEndianness::sPlatform);
    EXPECT_EQ(1, this->mTransformer.Transform(buffer, back, SL::ISampleTransformer::CopyOnly));
    EXPECT_EQ(std::vector<T>(six.begin(), six.begin() + 4), TestFixture::Drain(back));
  }
  // A short source pads the rest of the memory with zero samples (the value
  // 0 even for unsigned 8-bit).
  {
    CRing ring(1, 8, GT::CEndianness::sPlatform);
    TestFixture::Put(ring, std::vector<T>(six.begin(), six.begin() + 2));
    SL::CReferentialSampleBuffer<N> buffer(memory.data(), memory.data() + memory.size(), 1,
                                           foreign);
    EXPECT_EQ(1,
              this->mTransformer.Transform(ring, buffer, SL::ISampleTransformer::PadDestination));
    for (std::size_t k = 2 * B; k < memory.size(); ++k) {
      EXPECT_EQ(0, memory[k]) << k;
    }
  }
}

}  // namespace
