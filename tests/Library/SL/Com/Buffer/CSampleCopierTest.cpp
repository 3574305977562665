#include "SL/Com/Buffer/CSampleCopier.h"

#include "SL/Com/Buffer/CReferentialSampleBuffer.h"
#include "SL/Com/Buffer/CReferentialSampleBufferFactory.h"
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

TEST(CSampleCopier, CasesOfTheAccounting) {
  SL::CSampleCopier<65552> copier;
  // 100 frames left into memory of 64: 64 frames, bytes unchanged.
  {
    TestSupport::CVectorInputIterator<65552> source(MakeSamples<65552>(200), 2);
    std::vector<unsigned char> memory(64 * 4);
    unsigned long bytes = memory.size();
    EXPECT_EQ(64u, copier.CopyToBuffer(source, memory.data(), bytes));
    EXPECT_EQ(256u, bytes);
    EXPECT_EQ(64, source.GetLocation());
  }
  // An ended stream: nothing, memory untouched.
  {
    TestSupport::CVectorInputIterator<65552> ended(std::vector<short>{}, 2);
    std::vector<unsigned char> memory(32, 0x5A);
    unsigned long bytes = memory.size();
    EXPECT_EQ(0u, copier.CopyToBuffer(ended, memory.data(), bytes));
    EXPECT_EQ(0u, bytes);
    EXPECT_EQ(std::vector<unsigned char>(32, 0x5A), memory);
  }
  // 16 bytes of stereo samples into a stream with room for 3.
  {
    std::vector<short> values = {10, -10, 20, -20, 30, -30, 40, -40};
    std::vector<unsigned char> memory(16);
    std::memcpy(memory.data(), values.data(), 16);
    TestSupport::CVectorOutputIterator<65552> sink(3, 2);
    unsigned long bytes = 16;
    EXPECT_EQ(1u, copier.CopyFromBuffer(memory.data(), bytes, sink));
    EXPECT_EQ(4u, bytes);
    EXPECT_EQ((std::vector<short>{10, -10, 20}), sink.mSamples);
  }
  // A 16-bit sample in big-endian memory: most significant byte first.
  {
    TestSupport::CVectorInputIterator<65552> source(std::vector<short>{0x0102, -2}, 1);
    source.Attribute().SetEndian(GT::CEndianness::BigEndian);
    unsigned char memory[4] = {0, 0, 0, 0};
    unsigned long bytes = 4;
    EXPECT_EQ(2u, copier.CopyToBuffer(source, memory, bytes));
    EXPECT_EQ(0x01, memory[0]);
    EXPECT_EQ(0x02, memory[1]);
    EXPECT_EQ(0xFF, memory[2]);
    EXPECT_EQ(0xFE, memory[3]);
  }
  // 24-bit samples take three bytes in the stream's order.
  {
    SL::CSampleCopier<65560> copier24;
    TestSupport::CVectorInputIterator<65560> source(std::vector<std::int32_t>{1193046, -8388608},
                                                    1);
    source.Attribute().SetEndian(GT::CEndianness::LittleEndian);
    unsigned char memory[6] = {0, 0, 0, 0, 0, 0};
    unsigned long bytes = 6;
    EXPECT_EQ(2u, copier24.CopyToBuffer(source, memory, bytes));
    unsigned char const expected[6] = {0x56, 0x34, 0x12, 0x00, 0x00, 0x80};
    EXPECT_EQ(0, std::memcmp(expected, memory, 6));
  }
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

TEST(CReferentialSampleBuffer, DescribesTheCallersMemory) {
  unsigned char memory[10] = {};
  SL::CReferentialSampleBuffer<65552> buffer(memory, memory + 10, 2, GT::CEndianness::sPlatform);
  EXPECT_TRUE(buffer.IsSequential());
  EXPECT_EQ(2, buffer.GetAttribute().mFrameCount);
  EXPECT_EQ(0.0, buffer.GetAttribute().mSampleRate);
  EXPECT_EQ(65552, buffer.GetAttribute().mBitDepth.GetValue());
  EXPECT_EQ(0, buffer.LowerBound());
  EXPECT_EQ(10, buffer.UpperBound());
  EXPECT_EQ(10, buffer.Distance());
  EXPECT_EQ(memory, buffer.Begin());
  EXPECT_EQ(memory + 10, buffer.End());
  EXPECT_EQ(memory + 4, buffer.At(1));
  // A size that is not a whole number of samples ends at the last whole one.
  SL::CReferentialSampleBuffer<65560> odd(memory, memory + 10, 1, GT::CEndianness::sPlatform);
  EXPECT_EQ(9, odd.UpperBound());
  EXPECT_EQ(memory + 9, odd.End());
  EXPECT_EQ(3, odd.GetAttribute().mFrameCount);
  int visited = 0;
  for (auto it = odd.InputBegin(); it != odd.InputEnd(); ++it) {
    ++visited;
  }
  EXPECT_EQ(3, visited);
  // The device's factory only sizes; it makes no buffer.
  SL::CReferentialSampleBufferFactory factory;
  factory.mAttribute.mBitDepth = SL::CBitDepth(65552);
  factory.mAttribute.mChannelCount = 2;
  factory.mAttribute.mSampleRate = 44100.0;
  EXPECT_FALSE(factory.Create());
  EXPECT_EQ(128, factory.BufferFrameCount());
}

}  // namespace
