#include "SL/Com/Wave/CChannelInterleaver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Support/AudioFixtures.h"

namespace {

typedef std::vector<unsigned char> CBytes;
typedef boost::shared_ptr<SL::CTypedChannelCollection<0x20040> > CResult;
auto const kBig = GT::CEndianness::BigEndian;
auto const kLittle = GT::CEndianness::LittleEndian;

template <int N>
CResult Convert(CBytes const& bytes, GT::CEndianness::EEndian order, int channels) {
  return SL::CChannelInterleaver::Convert<N, 0x20040>(SL::CWaveFormat::Wave, bytes, order,
                                                      channels);
}

std::vector<double> Samples(CResult const& result, unsigned long channel) {
  SL::CChannel<0x20040> const& c = (*result)[channel];
  return std::vector<double>(c.Begin(), c.Begin() + c.GetSize());
}

TEST(CChannelInterleaver, ChannelCountsAndEmptyBlocks) {
  for (int channels : {0, -3}) {
    CResult none = Convert<0x10010>(CBytes(8, 1), kLittle, channels);
    ASSERT_TRUE(none);
    EXPECT_EQ(0u, none->size());
    EXPECT_EQ(0, none->GetLocation().end);
  }
  CResult empty = Convert<0x10010>(CBytes(), kLittle, 2);
  ASSERT_EQ(2u, empty->size());
  EXPECT_EQ(0, (*empty)[0].GetSize());
  EXPECT_EQ(0, empty->GetLocation().end);
  EXPECT_TRUE(empty->IsValid());
}

TEST(CChannelInterleaver, BlocksShorterThanAFrameGiveNoSamples) {
  // 5 bytes of 24-bit stereo: one sample and a bit, no whole frame.
  CResult result = Convert<0x10018>(CBytes{1, 2, 3, 4, 5}, kBig, 2);
  ASSERT_EQ(2u, result->size());
  EXPECT_EQ(0, result->GetLocation().end);
  CResult oneByte = Convert<0x20040>(CBytes{1}, kLittle, 1);
  EXPECT_EQ(0, oneByte->GetLocation().end);
}

TEST(CChannelInterleaver, Integer8IsOffsetBinary) {
  CResult result = Convert<0x10008>(CBytes{0x00, 0x80, 0xFF}, kBig, 1);
  EXPECT_EQ(std::vector<double>({-1.0078740157480315, 0.0, 1.0}), Samples(result, 0));
}

TEST(CChannelInterleaver, Integer16InBothOrders) {
  EXPECT_EQ(-1.000030518509476, Samples(Convert<0x10010>(CBytes{0x80, 0x00}, kBig, 1), 0)[0]);
  EXPECT_EQ(-1.000030518509476, Samples(Convert<0x10010>(CBytes{0x00, 0x80}, kLittle, 1), 0)[0]);
  EXPECT_EQ(1.0, Samples(Convert<0x10010>(CBytes{0x7F, 0xFF}, kBig, 1), 0)[0]);
  EXPECT_EQ(1.0 / 32767.0, Samples(Convert<0x10010>(CBytes{0x01, 0x00}, kLittle, 1), 0)[0]);
}

TEST(CChannelInterleaver, Integer24IsSignExtendedInBothOrders) {
  struct {
    CBytes big;
    double value;
  } const cases[] = {
      {{0x7F, 0xFF, 0xFF}, 1.0},
      {{0x80, 0x00, 0x00}, -1.0000001192093038},
      {{0xFF, 0xFF, 0xFF}, -1.0 / 8388607.0},
      {{0x00, 0x00, 0x01}, 1.0 / 8388607.0},
      {{0x00, 0x00, 0x00}, 0.0},
  };
  for (auto const& c : cases) {
    CBytes little(c.big.rbegin(), c.big.rend());
    EXPECT_EQ(c.value, Samples(Convert<0x10018>(c.big, kBig, 1), 0)[0]);
    EXPECT_EQ(c.value, Samples(Convert<0x10018>(little, kLittle, 1), 0)[0]);
  }
}

TEST(CChannelInterleaver, Integer32AndFloatsAreNeverClipped) {
  EXPECT_EQ(-1.0000000004656613, Samples(Convert<0x10020>(CBytes{0x80, 0, 0, 0}, kBig, 1), 0)[0]);
  EXPECT_EQ(1.0, Samples(Convert<0x10020>(CBytes{0xFF, 0xFF, 0xFF, 0x7F}, kLittle, 1), 0)[0]);

  float const f = 1.5f;
  CBytes little(4);
  std::memcpy(little.data(), &f, 4);
  CBytes big(little.rbegin(), little.rend());
  EXPECT_EQ(1.5, Samples(Convert<0x20020>(little, kLittle, 1), 0)[0]);
  EXPECT_EQ(1.5, Samples(Convert<0x20020>(big, kBig, 1), 0)[0]);

  double const values[] = {-3.25, 1e300};
  CBytes doubles(16);
  std::memcpy(doubles.data(), values, 16);
  CBytes swapped;
  for (int v = 0; v < 2; ++v)
    for (int i = 7; i >= 0; --i) swapped.push_back(doubles[v * 8 + i]);
  EXPECT_EQ(std::vector<double>({-3.25, 1e300}), Samples(Convert<0x20040>(doubles, kLittle, 1), 0));
  EXPECT_EQ(std::vector<double>({-3.25, 1e300}), Samples(Convert<0x20040>(swapped, kBig, 1), 0));
}

TEST(CChannelInterleaver, ComplexAndPointSamplesBecomeSilence) {
  CResult complex = Convert<0x40080>(CBytes(64, 0x3F), kBig, 1);
  EXPECT_EQ(std::vector<double>(4, 0.0), Samples(complex, 0));
  EXPECT_EQ(std::vector<double>(2, 0.0),
            Samples(Convert<0x40040>(CBytes(17, 0x41), kLittle, 1), 0));
  EXPECT_EQ(std::vector<double>(1, 0.0),
            Samples(Convert<0x80080>(CBytes(16, 0x41), kLittle, 1), 0));
}

TEST(CChannelInterleaver, StereoTakesEveryOtherSampleAndSkipsThePartialFrame) {
  CBytes const bytes{0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, 0x05, 0x00};
  CResult result = Convert<0x10010>(bytes, kLittle, 2);
  ASSERT_EQ(2u, result->size());
  EXPECT_EQ(std::vector<double>({1.0 / 32767, 3.0 / 32767}), Samples(result, 0));
  EXPECT_EQ(std::vector<double>({2.0 / 32767, 4.0 / 32767}), Samples(result, 1));
  EXPECT_EQ(2, result->GetLocation().end);
  EXPECT_TRUE(result->IsValid());
}

TEST(CChannelInterleaver, ChannelsHaveTheDefaultAttributes) {
  CResult result = Convert<0x10008>(CBytes(6, 0x80), kBig, 3);
  ASSERT_EQ(3u, result->size());
  for (unsigned long i = 0; i < 3; ++i) {
    EXPECT_EQ(1.0, (*result)[i].GetLevel());
    EXPECT_EQ(0.0, (*result)[i].GetPan());
    EXPECT_TRUE((*result)[i].GetFormat() == SL::CWaveFormat::Wave);
  }
  CResult stereo = Convert<0x10008>(CBytes(4, 0x80), kBig, 2);
  EXPECT_FALSE(stereo->IsStereo());
  (*stereo)[0].SetPan(-1.0);
  (*stereo)[1].SetPan(1.0);
  EXPECT_TRUE(stereo->IsStereo());
}

// The same sound as raw bytes of several depths and byte orders, written by
// sox: every widening sox does is exact, so the converted values must match.
class CChannelInterleaverSox : public ::testing::Test {
protected:
  void SetUp() override {
    if (!TestSupport::HasTool("sox")) GTEST_SKIP() << "sox is not installed";
  }
  CBytes Raw(std::string const& source, std::string const& args, std::string const& name) {
    std::string const path = mDir.File(name);
    EXPECT_TRUE(TestSupport::RunTool("sox -D " + source + " " + args + " " + path));
    return TestSupport::ReadFileBytes(path);
  }
  TestSupport::CScratchDir mDir;
};

TEST_F(CChannelInterleaverSox, Integer24AgainstItsExactWidening) {
  std::string const wav = mDir.File("source.wav");
  ASSERT_TRUE(TestSupport::RunTool("sox -D -n -r 8000 -b 24 -c 2 " + wav +
                                   " synth 0.05 sine 440 sine 1234 gain -0.5"));
  CBytes const big24 = Raw(wav, "-t raw -e signed -b 24 -B", "b24.raw");
  CBytes const little24 = Raw(wav, "-t raw -e signed -b 24 -L", "l24.raw");
  CBytes const little32 = Raw(wav, "-t raw -e signed -b 32 -L", "l32.raw");
  ASSERT_EQ(big24.size() / 3, little32.size() / 4);
  ASSERT_GT(big24.size(), 600u);

  CResult b = Convert<0x10018>(big24, kBig, 2);
  CResult l = Convert<0x10018>(little24, kLittle, 2);
  CResult wide = Convert<0x10020>(little32, kLittle, 2);
  bool negative = false;
  for (unsigned long ch = 0; ch < 2; ++ch) {
    std::vector<double> const vb = Samples(b, ch);
    EXPECT_EQ(vb, Samples(l, ch));
    std::vector<double> const vw = Samples(wide, ch);
    ASSERT_EQ(vb.size(), vw.size());
    for (size_t i = 0; i < vb.size(); ++i) {
      double const s24 = vb[i] * 8388607.0;
      double const s32 = vw[i] * 2147483647.0;
      ASSERT_EQ(std::round(s24) * 256.0, std::round(s32)) << "channel " << ch << " frame " << i;
      negative = negative || s24 < 0;
    }
  }
  EXPECT_TRUE(negative);
}

TEST_F(CChannelInterleaverSox, Integer8And16AndFloatAgree) {
  std::string const wav = mDir.File("source.wav");
  ASSERT_TRUE(TestSupport::RunTool("sox -D -n -r 8000 -b 8 -c 1 " + wav + " synth 0.05 sine 300"));
  CBytes const u8 = Raw(wav, "-t raw -e unsigned -b 8", "u8.raw");
  CBytes const s16 = Raw(wav, "-t raw -e signed -b 16 -B", "s16.raw");
  CBytes const f32 = Raw(wav, "-t raw -e float -b 32 -B", "f32.raw");
  std::vector<double> const v8 = Samples(Convert<0x10008>(u8, kBig, 1), 0);
  std::vector<double> const v16 = Samples(Convert<0x10010>(s16, kBig, 1), 0);
  std::vector<double> const vf = Samples(Convert<0x20020>(f32, kBig, 1), 0);
  ASSERT_EQ(v8.size(), v16.size());
  ASSERT_EQ(v8.size(), vf.size());
  ASSERT_GT(v8.size(), 300u);
  for (size_t i = 0; i < v8.size(); ++i) {
    double const s8 = std::round(v8[i] * 127.0);  // centred on 128
    double const s16v = std::round(v16[i] * 32767.0);
    ASSERT_EQ(s8 * 256.0, s16v) << i;
    ASSERT_EQ(s16v / 32768.0, vf[i]) << i;  // sox's float scale is 1/32768
  }
}

}  // namespace
