#include "SL/Com/Buffer/CSampleCopier.h"

#include "SL/Com/Buffer/CReferentialSampleBuffer.h"
#include "Support/SampleValues.h"
#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using TestSupport::CDepth;
using TestSupport::MakeSamples;

GT::CEndianness::EEndian Foreign() {
  return GT::CEndianness::sPlatform == GT::CEndianness::BigEndian ? GT::CEndianness::LittleEndian
                                                                  : GT::CEndianness::BigEndian;
}

template <class D>
class CSampleCopierTest : public ::testing::Test {
protected:
  enum { N = D::value, B = (N & 0xFFFF) >> 3 };
  typedef typename SL::CSampleTraits<N>::CValueType T;
  SL::CSampleCopier<N> mCopier;
};

typedef ::testing::Types<CDepth<65544>, CDepth<65552>, CDepth<65560>, CDepth<65568>, CDepth<131104>,
                         CDepth<131136> >
    CDepths;
TYPED_TEST_SUITE(CSampleCopierTest, CDepths);

TYPED_TEST(CSampleCopierTest, RoundTripThroughMemoryInEitherByteOrder) {
  typedef typename TestFixture::T T;
  enum { N = TestFixture::N, B = TestFixture::B };
  std::vector<T> const samples = MakeSamples<N>(3 * 50);
  for (GT::CEndianness::EEndian order : {GT::CEndianness::sPlatform, Foreign()}) {
    TestSupport::CVectorInputIterator<N> source(samples, 3);
    source.Attribute().SetEndian(order);
    std::vector<unsigned char> memory(3 * 64 * B, 0xEE);
    unsigned long bytes = memory.size();
    EXPECT_EQ(50u, this->mCopier.CopyToBuffer(source, memory.data(), bytes));
    EXPECT_EQ(3u * 50 * B, bytes);
    EXPECT_EQ(0xEE, memory[bytes]);  // nothing past the copied frames
    // Each sample sits at (frame x channels + channel) x B in the stream's order.
    SL::CReferentialSampleBuffer<N> view(memory.data(), memory.data() + bytes, 3, order);
    typename SL::CReferentialSampleBuffer<N>::CInputIterator it = view.InputBegin();
    for (T v : samples) {
      ASSERT_EQ(v, it.Get());
      ++it;
    }
    TestSupport::CVectorOutputIterator<N> sink(1000, 3);
    sink.Attribute().SetEndian(order);
    EXPECT_EQ(50u, this->mCopier.CopyFromBuffer(memory.data(), bytes, sink));
    EXPECT_EQ(samples, sink.mSamples);
  }
}

TYPED_TEST(CSampleCopierTest, PartialFramesAndPartialSamplesAreNotCounted) {
  typedef typename TestFixture::T T;
  enum { N = TestFixture::N, B = TestFixture::B };
  // 5 samples of a stereo stream into room for 16: all 5 go, 2 frames count.
  std::vector<T> const five = MakeSamples<N>(5);
  TestSupport::CVectorInputIterator<N> source(five, 2);
  std::vector<unsigned char> memory(16 * B, 0xEE);
  unsigned long bytes = memory.size();
  EXPECT_EQ(2u, this->mCopier.CopyToBuffer(source, memory.data(), bytes));
  EXPECT_EQ(4u * B, bytes);
  SL::CReferentialSampleBuffer<N> view(memory.data(), memory.data() + 5 * B, 2,
                                       GT::CEndianness::sPlatform);
  EXPECT_EQ(five[4], *view.InputAt(2));
  EXPECT_EQ(0xEE, memory[5 * B]);
  // Memory that ends inside a sample: the copy stops at the last whole sample.
  TestSupport::CVectorInputIterator<N> more(MakeSamples<N>(20), 2);
  std::vector<unsigned char> odd(3 * B + 1 + 8, 0xEE);
  unsigned long oddBytes = 3 * B + (B > 1 ? B - 1 : 0);
  EXPECT_EQ(1u, this->mCopier.CopyToBuffer(more, odd.data(), oddBytes));
  EXPECT_EQ(2u * B, oddBytes);
  EXPECT_EQ(3u, more.Index());
  EXPECT_EQ(0xEE, odd[3 * B]);
}

// A stream with room for three samples takes three, and one whole frame counts.
TEST(CSampleCopier, StopsWhereTheStreamHasNoRoom) {
  std::vector<short> const values = {10, -10, 20, -20, 30, -30, 40, -40};
  std::vector<unsigned char> memory(16);
  std::memcpy(memory.data(), values.data(), 16);
  TestSupport::CVectorOutputIterator<65552> sink(3, 2);
  unsigned long bytes = 16;
  EXPECT_EQ(1u, SL::CSampleCopier<65552>().CopyFromBuffer(memory.data(), bytes, sink));
  EXPECT_EQ(4u, bytes);
  EXPECT_EQ((std::vector<short>{10, -10, 20}), sink.mSamples);
}

TEST(CSampleCopier, RefusesIteratorsOfAnotherDepthOrWithoutChannels) {
  SL::CSampleCopier<65552> copier;
  TestSupport::CVectorInputIterator<131104> floats(std::vector<float>{1.0f, 2.0f}, 1);
  unsigned char memory[8] = {};
  unsigned long bytes = sizeof memory;
  EXPECT_EQ(0u, copier.CopyToBuffer(floats, memory, bytes));
  EXPECT_EQ(0u, bytes);
  EXPECT_EQ(0u, floats.Index());
  TestSupport::CVectorInputIterator<65552> noChannels(std::vector<short>{1, 2}, 0);
  bytes = sizeof memory;
  EXPECT_EQ(0u, copier.CopyToBuffer(noChannels, memory, bytes));
  EXPECT_EQ(0u, bytes);
  TestSupport::CVectorOutputIterator<131104> floatSink(4, 1);
  bytes = sizeof memory;
  EXPECT_EQ(0u, copier.CopyFromBuffer(memory, bytes, floatSink));
  EXPECT_TRUE(floatSink.mSamples.empty());
}

}  // namespace
