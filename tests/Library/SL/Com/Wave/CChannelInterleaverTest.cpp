// Raw interleaved samples of every depth and byte order into channels of
// doubles, value for value.

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Wave/CChannelInterleaver.h"

#include <gtest/gtest.h>

using namespace SL;
typedef std::vector<unsigned char> CBytes;
typedef std::vector<std::vector<double> > CChannels;
constexpr auto kBig = GT::CEndianness::BigEndian;
constexpr auto kLittle = GT::CEndianness::LittleEndian;

namespace {

template <int N>
CChannels Convert(CBytes const& bytes, GT::CEndianness::EEndian order, int channels) {
  boost::shared_ptr<CTypedChannelCollection<nFloat64> > const collection =
      CChannelInterleaver::Convert<N, nFloat64>(CWaveFormat::Wave, bytes, order, channels);
  CChannels out;
  for (size_t i = 0; i < collection->size(); ++i) {
    CChannel<nFloat64> const& channel = (*collection)[i];
    EXPECT_EQ(CWaveFormat::Wave, channel.GetFormat());
    EXPECT_EQ(0, channel.GetLocation().begin);
    out.push_back(std::vector<double>(channel.begin(), channel.end()));
  }
  return out;
}

// The bytes in the other order, value by value.
CBytes Reversed(CBytes bytes, size_t width) {
  for (size_t at = 0; at + width <= bytes.size(); at += width)
    std::reverse(bytes.begin() + at, bytes.begin() + at + width);
  return bytes;
}

}  // namespace

TEST(CChannelInterleaverTest, EveryDepthInBothByteOrders) {
  struct {
    char const* name;
    CChannels (*convert)(CBytes const&, GT::CEndianness::EEndian, int);
    size_t width;
    CBytes big;  // one channel, big endian
    std::vector<double> expected;
  } const cases[] = {{"INTEGER16",
                      &Convert<nInteger16>,
                      2,
                      {0x80, 0x00, 0x7F, 0xFF, 0x00, 0x01, 0x00, 0x00, 0xFF, 0xFF},
                      {-1.000030518509476, 1.0, 1.0 / 32767, 0.0, -1.0 / 32767}},
                     {"INTEGER24",
                      &Convert<nInteger24>,
                      3,
                      {0x80, 0x00, 0x00, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x01, 0x00},
                      {-1.0000001192093038, 1.0, -1.0 / 8388607, 256.0 / 8388607}},
                     {"INTEGER32",
                      &Convert<nInteger32>,
                      4,
                      {0x80, 0, 0, 0, 0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 2},
                      {-1.0000000004656613, 1.0, 2.0 / 2147483647}},
                     {"FLOAT32",
                      &Convert<nFloat32>,
                      4,
                      {0x3F, 0xC0, 0, 0, 0xC0, 0, 0, 0, 0x3E, 0x80, 0, 0},
                      {1.5, -2.0, 0.25}},
                     {"FLOAT64",
                      &Convert<nFloat64>,
                      8,
                      {0x3F, 0xF8, 0, 0, 0, 0, 0, 0, 0xC0, 0x24, 0, 0, 0, 0, 0, 1},
                      {1.5, -10.000000000000002}},
                     {"COMPLEX32",
                      &Convert<nComplex32>,
                      4,  // two floats a sample
                      {0x3F, 0xC0, 0, 0, 0xC0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8},
                      {0.0, 0.0}},
                     {"COMPLEX64", &Convert<nComplex64>, 8, CBytes(64, 0x3F), {0.0, 0.0, 0.0, 0.0}},
                     {"POINT64", &Convert<nPoint64>, 8, CBytes(33, 0x40), {0.0, 0.0}}};
  for (auto const& c : cases) {
    EXPECT_EQ(CChannels{c.expected}, c.convert(c.big, kBig, 1)) << c.name << " big endian";
    EXPECT_EQ(CChannels{c.expected}, c.convert(Reversed(c.big, c.width), kLittle, 1))
        << c.name << " little endian";
  }
  // 8-bit samples have no byte order: WAV holds them offset binary, AIFF two's complement.
  CBytes const bytes = {0x00, 0x7F, 0x80, 0xFF};
  EXPECT_EQ((CChannels{{-1.0078740157480315, -1.0 / 127, 0.0, 1.0}}),
            Convert<nInteger8>(bytes, kLittle, 1));
  EXPECT_EQ((CChannels{{0.0, 1.0, -1.0078740157480315, -1.0 / 127}}),
            Convert<nInteger8>(bytes, kBig, 1));
}

TEST(CChannelInterleaverTest, ChannelsFramesAndPartialFrames) {
  // Stereo 16-bit, 10 bytes: two whole frames, bytes 8 and 9 unread.
  CBytes const stereo = {0, 1, 0, 2, 0, 3, 0, 4, 0x7F, 0xFF};
  EXPECT_EQ((CChannels{{1.0 / 32767, 3.0 / 32767}, {2.0 / 32767, 4.0 / 32767}}),
            Convert<nInteger16>(stereo, kBig, 2));
  EXPECT_EQ((CChannels{{1.0 / 127}, {0.0}, {1.0}}),
            Convert<nInteger8>(CBytes{0x81, 0x80, 0xFF, 0x00}, kLittle, 3));
  for (int channels : {0, -1})
    EXPECT_EQ(CChannels(), Convert<nInteger16>(stereo, kBig, channels)) << channels;
  EXPECT_EQ(CChannels(2), Convert<nInteger24>(CBytes(), kBig, 2)) << "channels without samples";
  EXPECT_EQ(CChannels(3), Convert<nInteger32>(CBytes(8, 0), kBig, 3)) << "no whole frame";

  boost::shared_ptr<CTypedChannelCollection<nFloat64> > const collection =
      CChannelInterleaver::Convert<nInteger16, nFloat64>(CWaveFormat::Wave, stereo, kBig, 2);
  EXPECT_EQ(2, collection->GetLocation().end);
  EXPECT_TRUE(collection->IsValid());
  EXPECT_FALSE(collection->IsStereo()) << "centred until panned";
  (*collection)[0].SetPan(-1.0);
  (*collection)[1].SetPan(1.0);
  EXPECT_TRUE(collection->IsStereo());
  EXPECT_EQ(1.0, (*collection)[0].GetLevel());
}
