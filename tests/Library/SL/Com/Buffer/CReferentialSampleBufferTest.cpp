#include "SL/Com/Buffer/CReferentialSampleBuffer.h"
#include "SL/Com/Buffer/CReferentialSampleBufferFactory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using GT::CEndianness;

// Memory that ends inside a frame: the buffer holds the whole frames only,
// so walking it (the peak level does) never reads past the memory. The
// memory is allocated to the byte, for the address sanitizer to see.
TEST(CReferentialSampleBuffer, MemoryEndingInsideAFrameHoldsWholeFramesOnly) {
  std::unique_ptr<unsigned char[]> memory(new unsigned char[10]);
  short const samples[] = {3, -7, -4, 2, -30000};  // the fifth is half a frame
  std::memcpy(memory.get(), samples, 10);
  SL::CReferentialSampleBuffer<65552> buffer(memory.get(), memory.get() + 10, 2,
                                             CEndianness::sPlatform);
  EXPECT_EQ(2, buffer.GetAttribute().mFrameCount);
  EXPECT_EQ(8, buffer.UpperBound());
  EXPECT_EQ(8, buffer.Distance());
  EXPECT_EQ(memory.get() + 8, buffer.End());
  EXPECT_EQ(memory.get() + 4, buffer.At(1));
  EXPECT_EQ((std::vector<double>{4.0, 7.0}), buffer.GetPeakLevel());
  std::vector<short> read;
  for (auto it = buffer.InputBegin(); it != buffer.InputEnd(); ++it) read.push_back(*it);
  EXPECT_EQ((std::vector<short>{3, -7, -4, 2}), read);
}

TEST(CReferentialSampleBuffer, ShapesOfMemory) {
  struct Case {
    int channels;
    std::size_t bytes;
    long frames;
    long upper;
  };
  Case const cases[] = {{2, 10, 2, 8}, {1, 7, 3, 6}, {3, 12, 2, 12}, {2, 3, 0, 0},
                        {2, 0, 0, 0},  {0, 8, 0, 0}, {-1, 8, 0, 0}};
  for (Case const& c : cases) {
    std::vector<unsigned char> memory(c.bytes + 1);
    SL::CReferentialSampleBuffer<65552> buffer(memory.data(), memory.data() + c.bytes, c.channels,
                                               CEndianness::BigEndian);
    EXPECT_EQ(c.frames, buffer.GetAttribute().mFrameCount) << c.channels << " " << c.bytes;
    EXPECT_EQ(c.upper, buffer.UpperBound()) << c.channels << " " << c.bytes;
    EXPECT_EQ(0, buffer.LowerBound());
    EXPECT_TRUE(buffer.IsSequential());
    EXPECT_EQ(memory.data(), buffer.Begin());
    EXPECT_EQ(CEndianness::BigEndian, buffer.GetAttribute().GetEndian());
    EXPECT_EQ(0.0, buffer.GetAttribute().mSampleRate);
    EXPECT_TRUE(buffer.InputBegin() == buffer.InputEnd() || c.frames > 0);
  }
}

// The peak level takes the raw magnitude per channel: 8-bit samples raw,
// the others exactly, stored in either byte order.
TEST(CReferentialSampleBuffer, PeakLevelsPerChannel) {
  std::vector<unsigned char> silence(6, 128);
  SL::CReferentialSampleBuffer<65544> eight(silence.data(), silence.data() + 6, 3,
                                            CEndianness::sPlatform);
  EXPECT_EQ((std::vector<double>{128.0, 128.0, 128.0}), eight.GetPeakLevel());

  unsigned char mono[] = {0x80, 0x00, 0x00, 0x05};  // big endian -32768, 5
  SL::CReferentialSampleBuffer<65552> big(mono, mono + 4, 1, CEndianness::BigEndian);
  EXPECT_EQ((std::vector<double>{32768.0}), big.GetPeakLevel());

  unsigned char wide[] = {0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF};  // little endian 24-bit
  SL::CReferentialSampleBuffer<65560> little(wide, wide + 6, 2, CEndianness::LittleEndian);
  EXPECT_EQ((std::vector<double>{8388608.0, 1.0}), little.GetPeakLevel());

  float floats[] = {0.5f, -0.75f};
  auto* f = reinterpret_cast<unsigned char*>(floats);
  SL::CReferentialSampleBuffer<131104> real(f, f + sizeof floats, 1, CEndianness::sPlatform);
  EXPECT_EQ((std::vector<double>{0.75}), real.GetPeakLevel());

  SL::CReferentialSampleBuffer<65552> empty(mono, mono, 2, CEndianness::BigEndian);
  EXPECT_EQ((std::vector<double>{0.0, 0.0}), empty.GetPeakLevel());
}

// Writing stores in the buffer's byte order; a channel list visits its
// channels only.
TEST(CReferentialSampleBuffer, WritesInItsByteOrderAndVisitsListedChannels) {
  unsigned char memory[12] = {};
  SL::CReferentialSampleBuffer<65552> buffer(memory, memory + 12, 2, CEndianness::BigEndian);
  short value = 0x0102;
  for (auto out = buffer.OutputBegin(); out != buffer.OutputEnd(); ++out) *out = value++;
  unsigned char const expected[12] = {1, 2, 1, 3, 1, 4, 1, 5, 1, 6, 1, 7};
  EXPECT_EQ(0, std::memcmp(expected, memory, 12));
  std::vector<int> const right = {1};
  std::vector<short> seen;
  for (auto in = buffer.InputBegin(right); in != buffer.InputEnd(right); ++in) seen.push_back(*in);
  EXPECT_EQ((std::vector<short>{0x0103, 0x0105, 0x0107}), seen);
  EXPECT_EQ(0x0106, *buffer.InputAt(2));
}

TEST(CReferentialSampleBufferFactory, MakesNoBufferButSizesThem) {
  SL::CReferentialSampleBufferFactory factory;
  EXPECT_FALSE(factory.Create());
  factory.mAttribute =
      SL::CSampleAttribute(SL::CBitDepth(131104), 44100.0, 2, CEndianness::sPlatform);
  EXPECT_FALSE(factory.Create());
  EXPECT_EQ(128, factory.BufferFrameCount());
  factory.mBufferTime = 0.06;
  factory.mUsesBufferTime = true;
  EXPECT_EQ(2646, factory.BufferFrameCount());
  EXPECT_DOUBLE_EQ(0.06, factory.BufferTime());
  EXPECT_FALSE(factory.Create());
}

}  // namespace
