#include "SL/Com/Buffer/CSampleBitDepthConverter.h"
#include "SL/Com/Playback/CSampleIteratorBitDepthConvertDecorator.h"
#include "SL/Com/Playback/CSampleIteratorStereoDecorator.h"

#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

typedef TestSupport::CVectorInputIterator<65552> CSource;

boost::shared_ptr<CSource> Source(std::vector<short> samples, int channels) {
  return boost::shared_ptr<CSource>(new CSource(std::move(samples), channels, 22050.0));
}

TEST(CSampleIteratorStereoDecorator, GivesEachMonoSampleTwice) {
  boost::shared_ptr<CSource> mono = Source({5, -7}, 1);
  SL::CSampleIteratorStereoDecorator<65552> stereo(mono);
  EXPECT_EQ(2, stereo.GetAttribute().mChannelCount);
  EXPECT_EQ(2, stereo.GetAttribute().mFrameCount);
  EXPECT_EQ(22050.0, stereo.GetAttribute().mSampleRate);
  std::vector<short> out;
  while (stereo.HasNext()) {
    out.push_back(stereo.Get());
    stereo.Next();
  }
  EXPECT_EQ((std::vector<short>{5, 5, -7, -7}), out);

  // Positions are the source's.
  stereo.SetLocation(1);
  EXPECT_EQ(1, mono->GetLocation());
  EXPECT_EQ(1, stereo.GetLocation());
  EXPECT_EQ(11, stereo.TellLocation(10));
  EXPECT_EQ(6, stereo.ToCurrentFrame(6));
  mono->Fail();
  EXPECT_TRUE(stereo.IsValid());
  EXPECT_FALSE(stereo.HasNext());
}

TEST(CSampleIteratorBitDepthConvertDecorator, DividesBy32767InSinglePrecision) {
  boost::shared_ptr<CSource> source = Source({32767, 16384, 1, 0, -1, -32768}, 2);
  SL::CSampleIteratorBitDepthConvertDecorator<65552, 131104> floats(source);
  EXPECT_EQ(131104, floats.GetAttribute().mBitDepth.GetValue());
  EXPECT_EQ(2, floats.GetAttribute().mChannelCount);
  EXPECT_EQ(3, floats.GetAttribute().mFrameCount);
  std::vector<float> out;
  while (floats.HasNext()) {
    out.push_back(floats.Get());
    floats.Next();
  }
  EXPECT_EQ(
      (std::vector<float>{1.0f, 0.50001526f, 3.0518509e-05f, 0.0f, -3.0518509e-05f, -1.0000305f}),
      out);
  floats.SetLocation(2);
  EXPECT_EQ(2, floats.GetLocation());
  EXPECT_EQ(-3.0518509e-05f, floats.Get());  // channel 0 of frame 2
  EXPECT_EQ(7, floats.TellLocation(5));
  EXPECT_EQ(9, floats.ToCurrentFrame(9));
  source->Fail();
  EXPECT_TRUE(floats.IsValid());
}

TEST(PlaybackDecorators, RefuseSourcesThatAreNotSixteenBit) {
  boost::shared_ptr<SL::IInputSampleIterator> bytes(
      new TestSupport::CVectorInputIterator<65544>({1, 2}, 1));
  EXPECT_THROW(SL::CSampleIteratorStereoDecorator<65552> stereo(bytes), std::invalid_argument);
  EXPECT_THROW((SL::CSampleIteratorBitDepthConvertDecorator<65552, 131104>(bytes)),
               std::invalid_argument);
}

// Integer samples become doubles by (s - midpoint) / (maximum - midpoint),
// never clipped; floating-point ones pass unchanged.
TEST(CSampleBitDepthConverter, IntegerSamplesScaleToTheirFullRange) {
  EXPECT_EQ(1.0, (SL::CSampleBitDepthConverter<65544, 131136>()(255)));
  EXPECT_EQ(0.0, (SL::CSampleBitDepthConverter<65544, 131136>()(128)));
  EXPECT_EQ(-128.0 / 127, (SL::CSampleBitDepthConverter<65544, 131136>()(0)));
  EXPECT_EQ(-32768.0 / 32767, (SL::CSampleBitDepthConverter<65552, 131136>()(-32768)));
  EXPECT_EQ(1.0, (SL::CSampleBitDepthConverter<65560, 131136>()(8388607)));
  EXPECT_EQ(-1.0 / 2147483647, (SL::CSampleBitDepthConverter<65568, 131136>()(-1)));
  EXPECT_EQ(-1.5, (SL::CSampleBitDepthConverter<131104, 131136>()(-1.5f)));
  EXPECT_EQ(2.25, (SL::CSampleBitDepthConverter<131136, 131136>()(2.25)));
}

}  // namespace
