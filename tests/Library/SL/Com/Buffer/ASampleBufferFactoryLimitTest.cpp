#include "SL/Com/Buffer/ASampleBufferFactory.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

class CFactory : public SL::ASampleBufferFactory {
public:
  boost::shared_ptr<SL::ISampleBuffer> Create() override {
    return boost::shared_ptr<SL::ISampleBuffer>();
  }
};

}  // namespace

// A preference may hold any buffer time; what it asks for must never size a
// buffer of gigabytes (or a negative one).
TEST(SampleBufferFactoryLimit, AbsurdRequestsAreCapped) {
  CFactory f;
  f.mAttribute =
      SL::CSampleAttribute(SL::CBitDepth::Integer16, 44100.0, 2, GT::CEndianness::sPlatform);
  long const cap = SL::ASampleBufferFactory::sMaximumBufferBytes / 4;
  f.mUsesBufferTime = true;
  f.mBufferTime = 0.6;
  EXPECT_EQ(f.BufferFrameCount(), 26460);
  for (double time :
       {1e9, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
    f.mBufferTime = time;
    EXPECT_EQ(f.BufferFrameCount(), cap) << time;
  }
  f.mBufferTime = -5.0;
  EXPECT_EQ(f.BufferFrameCount(), 128);
  f.mUsesBufferTime = false;
  f.mFrameCount = 0x7FFFFFFFL;
  EXPECT_EQ(f.BufferFrameCount(), cap);
  f.mFrameCount = 4096;
  EXPECT_EQ(f.BufferFrameCount(), 4096);
  // The cap follows the frame size; the minimum still holds for huge frames.
  f.mAttribute.mChannelCount = 65535;
  f.mAttribute.mBitDepth = SL::CBitDepth::Float64;
  f.mFrameCount = 1L << 20;
  EXPECT_EQ(f.BufferFrameCount(), 128);
}
