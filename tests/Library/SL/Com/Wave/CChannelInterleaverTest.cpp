#include "SL/Com/Wave/CChannelInterleaver.h"

#include <gtest/gtest.h>

#include <cmath>
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

// One sample of each depth and byte order, bit for bit as a file holds it.
TEST(CChannelInterleaver, EveryDepthScalesItsFirstSampleExactly) {
  struct {
    char const* name;
    CResult result;
    double value;
  } const cases[] = {
      {"u8 low", Convert<0x10008>(CBytes{0x00}, kBig, 1), -1.0078740157480315},
      {"u8 high", Convert<0x10008>(CBytes{0xFF}, kBig, 1), 1.0},
      {"s16 big", Convert<0x10010>(CBytes{0x80, 0x00}, kBig, 1), -1.000030518509476},
      {"s16 little", Convert<0x10010>(CBytes{0x01, 0x00}, kLittle, 1), 1.0 / 32767.0},
      {"s24 big min", Convert<0x10018>(CBytes{0x80, 0, 0}, kBig, 1), -1.0000001192093038},
      {"s24 little -1", Convert<0x10018>(CBytes{0xFF, 0xFF, 0xFF}, kLittle, 1), -1.0 / 8388607.0},
      {"s24 little 1", Convert<0x10018>(CBytes{0x01, 0, 0}, kLittle, 1), 1.0 / 8388607.0},
      {"s32 big min", Convert<0x10020>(CBytes{0x80, 0, 0, 0}, kBig, 1), -1.0000000004656613},
      {"s32 little max", Convert<0x10020>(CBytes{0xFF, 0xFF, 0xFF, 0x7F}, kLittle, 1), 1.0},
      {"f32 big", Convert<0x20020>(CBytes{0x3F, 0xC0, 0, 0}, kBig, 1), 1.5},
      {"f64 little", Convert<0x20040>(CBytes{0, 0, 0, 0, 0, 0, 0x0A, 0xC0}, kLittle, 1), -3.25},
  };
  for (auto const& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.result);
    ASSERT_EQ(1u, c.result->size());
    EXPECT_EQ(std::vector<double>({c.value}), Samples(c.result, 0));
  }
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

}  // namespace
