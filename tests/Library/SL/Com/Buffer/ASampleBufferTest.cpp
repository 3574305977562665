#include "SL/Com/Buffer/ASampleBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "Support/CMemorySampleBuffer.h"

namespace {

using GT::CEndianness;
using Test::CMemorySampleBuffer;

// Writes through the output iterator and reads back through the input
// iterator, over all channels, for one bit depth and byte order.
template <int N>
void CheckRoundTrip(std::vector<typename SL::CSampleTraits<N>::CValueType> const& values,
                    CEndianness::EEndian endian) {
  int const channels = 3;
  long const frames = static_cast<long>(values.size()) / channels;
  CMemorySampleBuffer<N> buffer(channels, frames, endian);
  auto out = buffer.OutputBegin();
  auto const outEnd = buffer.OutputEnd();
  std::size_t i = 0;
  for (; out != outEnd; ++out) {
    *out = values[i++];
  }
  EXPECT_EQ(values.size(), i);
  std::vector<typename SL::CSampleTraits<N>::CValueType> read;
  for (auto in = buffer.InputBegin(); in != buffer.InputEnd(); ++in) {
    read.push_back(*in);
  }
  EXPECT_EQ(values, read) << "bit depth " << N << " order " << endian;

  // A subset of channels sees exactly its samples, in list order.
  std::vector<int> const list = {2, 0};
  std::vector<typename SL::CSampleTraits<N>::CValueType> expected, subset;
  for (long f = 0; f < frames; ++f) {
    expected.push_back(values[f * channels + 2]);
    expected.push_back(values[f * channels + 0]);
  }
  for (auto in = buffer.InputBegin(list); in != buffer.InputEnd(list); ++in) {
    subset.push_back(*in);
  }
  EXPECT_EQ(expected, subset);

  // Writing a subset changes only the listed channel.
  std::vector<int> const one = {1};
  for (auto o = buffer.OutputBegin(one); o != buffer.OutputEnd(one); ++o) {
    *o = values[0];
  }
  i = 0;
  for (auto in = buffer.InputBegin(); in != buffer.InputEnd(); ++in, ++i) {
    EXPECT_EQ(i % channels == 1 ? values[0] : values[i], *in);
  }
}

TEST(SampleBuffer, EveryBitDepthRoundTripsInBothOrders) {
  for (auto endian : {CEndianness::BigEndian, CEndianness::LittleEndian}) {
    CheckRoundTrip<65544>({0, 1, 127, 128, 129, 255, 7, 200, 33}, endian);
    CheckRoundTrip<65552>({-32768, 32767, 0, -1, 1, 0x0102, -300, 12345, -2}, endian);
    CheckRoundTrip<65560>({-8388608, 8388607, 0, -1, 1, 1193046, -70000, 65536, 255}, endian);
    CheckRoundTrip<65568>(
        {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), 0, -1,
         1, 0x01020304, -99999, 65536, 7},
        endian);
    CheckRoundTrip<131104>({-1.0f, 1.0f, 0.0f, 0.5f, -0.25f, 1e-30f, 3.5e30f, -2.0f, 0.125f},
                           endian);
    CheckRoundTrip<131136>({-1.0, 1.0, 0.0, 0.5, -0.25, 1e-300, 3.5e300, -2.0, 0.125}, endian);
  }
}

TEST(SampleBuffer, TwentyFourBitSamplesTakeThreeBytesSignExtended) {
  CMemorySampleBuffer<65560> big(1, 2, CEndianness::BigEndian);
  unsigned char const stored[] = {0x80, 0x00, 0x00, 0xFF, 0xFF, 0xFF};
  std::copy(stored, stored + 6, big.Bytes().begin());
  auto it = big.InputBegin();
  EXPECT_EQ(-8388608, *it);
  ++it;
  EXPECT_EQ(-1, *it);

  CMemorySampleBuffer<65560> little(1, 2, CEndianness::LittleEndian);
  auto out = little.OutputBegin();
  *out = 1193046;
  ++out;
  *out = -1;
  std::vector<unsigned char> const expected = {0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(expected,
            std::vector<unsigned char>(little.Bytes().begin(), little.Bytes().begin() + 6));
  // Bits beyond 24 are dropped, not clipped.
  *little.OutputBegin() = 0x01800000;
  EXPECT_EQ(-8388608, *little.InputBegin());
}

TEST(SampleBuffer, InvalidChannelListsAreRefused) {
  CMemorySampleBuffer<65552> stereo(2, 2, CEndianness::LittleEndian);
  EXPECT_THROW(stereo.InputBegin(std::vector<int>()), std::invalid_argument);
  EXPECT_THROW(stereo.InputBegin(std::vector<int>({3})), std::invalid_argument);
  EXPECT_THROW(stereo.OutputBegin(std::vector<int>({-1})), std::invalid_argument);
}

}  // namespace
