#include "SL/Com/Buffer/ASampleBufferFactory.h"
#include "SL/Com/Buffer/CRingSampleBuffer.h"
#include "SL/Com/Buffer/CRingSampleBufferFactory.h"
#include "SL/Com/Buffer/CSampleCopierFactory.h"
#include "SL/Com/Buffer/CSampleTransformerFactory.h"
#include "Support/SampleValues.h"
#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

template <int N>
void ExpectMoversOfDepth() {
  SL::CBitDepth const depth(N);
  boost::shared_ptr<SL::ISampleTransformer> transformer =
      SL::CSampleTransformerFactory::Create(depth);
  boost::shared_ptr<SL::ISampleCopier> copier = SL::CSampleCopierFactory::Create(depth);
  ASSERT_TRUE(transformer) << N;
  ASSERT_TRUE(copier) << N;
  // Each moves samples of its own depth, which the others refuse.
  std::vector<typename SL::CSampleTraits<N>::CValueType> const samples =
      TestSupport::MakeSamples<N>(4);
  TestSupport::CVectorInputIterator<N> source(samples, 2);
  SL::CRingSampleBufferFactory factory;
  factory.mAttribute = source.GetAttribute();
  boost::shared_ptr<SL::ISampleBuffer> ring = factory.Create();
  ASSERT_TRUE(ring);
  EXPECT_EQ(N, ring->GetAttribute().mBitDepth.GetValue());
  EXPECT_EQ(2, ring->GetAttribute().mChannelCount);
  EXPECT_EQ(GT::CEndianness::sPlatform, ring->GetAttribute().GetEndian());
  EXPECT_EQ(128, ring->GetAttribute().mFrameCount);
  EXPECT_NE(nullptr, dynamic_cast<SL::CRingSampleBuffer<N>*>(ring.get()));
  EXPECT_EQ(1, transformer->Transform(source, *ring, SL::ISampleTransformer::CopyOnly));
  TestSupport::CVectorOutputIterator<N> sink(4, 2);
  EXPECT_EQ(2, transformer->Transform(*ring, sink, SL::ISampleTransformer::CopyOnly));
  EXPECT_EQ(samples, sink.mSamples);
  TestSupport::CVectorInputIterator<N> again(samples, 2);
  std::vector<unsigned char> memory(64);
  unsigned long bytes = memory.size();
  EXPECT_EQ(2u, copier->CopyToBuffer(again, memory.data(), bytes));
  EXPECT_EQ(4u * ((N & 0xFFFF) >> 3), bytes);
}

}  // namespace

TEST(SampleMoverFactories, OneMoverPerSampleBitDepth) {
  ExpectMoversOfDepth<65544>();
  ExpectMoversOfDepth<65552>();
  ExpectMoversOfDepth<65560>();
  ExpectMoversOfDepth<65568>();
  ExpectMoversOfDepth<131104>();
  ExpectMoversOfDepth<131136>();
}

TEST(SampleMoverFactories, NothingForOtherDepths) {
  for (SL::CBitDepth const& depth : {SL::CBitDepth::None, SL::CBitDepth::Complex32}) {
    EXPECT_FALSE(SL::CSampleTransformerFactory::Create(depth));
    EXPECT_FALSE(SL::CSampleCopierFactory::Create(depth));
    SL::CRingSampleBufferFactory factory;
    factory.mAttribute.mBitDepth = depth;
    factory.mAttribute.mChannelCount = 1;
    EXPECT_FALSE(factory.Create());
  }
}
