#include "SL/Com/Buffer/CFileSampleBuffer.h"
#include "SL/Com/Buffer/CFileSampleBufferFactory.h"

#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace TestSupport;

namespace {

std::vector<unsigned char> Wave16(std::vector<int16_t> const& samples, int channels) {
  std::vector<unsigned char> b;
  PutText(b, "RIFF"), PutLE(b, 36 + 2 * samples.size(), 4), PutText(b, "WAVE");
  PutText(b, "fmt "), PutLE(b, 16, 4), PutLE(b, 1, 2), PutLE(b, channels, 2), PutLE(b, 44100, 4);
  PutLE(b, 44100 * 2 * channels, 4), PutLE(b, 2 * channels, 2), PutLE(b, 16, 2);
  PutText(b, "data"), PutLE(b, 2 * samples.size(), 4);
  for (int16_t s : samples) PutLE(b, static_cast<uint16_t>(s), 2);
  return b;
}

}  // namespace

TEST(FileSampleBuffer, OutputBufferFinalisesWhatWasWritten) {
  CScratchDir dir;
  std::string const path = dir.File("out.wav");
  SL::CSampleAttribute const a(SL::CBitDepth(65552), 44100, 2, 0, GT::CEndianness::sPlatform);
  boost::shared_ptr<SL::ISampleBuffer> buffer =
      SL::CFileSampleBufferFactory().Create(a, path, SL::CWaveFileFormat::RiffWave);
  ASSERT_TRUE(buffer);
  auto* file = dynamic_cast<SL::CFileSampleBuffer<65552>*>(buffer.get());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->LowerBound(), 46);
  {
    auto it = file->OutputBegin();
    // The end iterator's locator moves the shared stream to the range's
    // far end; the samples must still land right after the header.
    auto const end = file->OutputEnd();
    for (int16_t v : {1, -2, 3, 0x1234}) {
      ASSERT_TRUE(it != end);
      *it = v;
      ++it;
    }
  }
  ASSERT_TRUE(file->Finalize());
  buffer.reset();
  std::vector<unsigned char> const bytes = ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), 54u);
  EXPECT_EQ(GetLE(bytes, 42, 4), 8u);
  EXPECT_EQ(GetLE(bytes, 46, 2), 1u);
  EXPECT_EQ(GetLE(bytes, 52, 2), 0x1234u);
  boost::shared_ptr<SL::ISampleBuffer> back = SL::CFileSampleBufferFactory().Create(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetAttribute().mFrameCount, 2);
}

TEST(FileSampleBuffer, RefusesWhatItCannotModel) {
  CScratchDir dir;
  SL::CSampleAttribute const s8(SL::CBitDepth(65544), 8000, 1, 0, GT::CEndianness::sPlatform);
  // Signed 8-bit AIFF samples have no unsigned buffer view.
  ASSERT_TRUE(WriteFileBytes(dir.File("a.aiff"), {1, 2, 3}));
  EXPECT_FALSE(
      SL::CFileSampleBufferFactory().Create(s8, dir.File("a.aiff"), SL::CWaveFileFormat::FormAiff));
  EXPECT_EQ(ReadFileBytes(dir.File("a.aiff")), (std::vector<unsigned char>{1, 2, 3}))
      << "refused before truncating";
  EXPECT_TRUE(
      SL::CFileSampleBufferFactory().Create(s8, dir.File("a.wav"), SL::CWaveFileFormat::RiffWave));
  EXPECT_FALSE(SL::CFileSampleBufferFactory().Create(dir.File("missing.wav")));
}

TEST(FileSampleBuffer, PartFrameAtTheEndIsLeftOut) {
  // Five 16-bit samples in stereo: the iterators' walk stops only between
  // frames, so a buffer over all ten bytes would never meet its end.
  CScratchDir dir;
  std::string const path = dir.File("part.wav");
  ASSERT_TRUE(WriteFileBytes(path, Wave16({1, -9, 3, 4, 5}, 2)));
  boost::shared_ptr<SL::ISampleBuffer> buffer = SL::CFileSampleBufferFactory().Create(path);
  ASSERT_TRUE(buffer);
  EXPECT_EQ(dynamic_cast<SL::CFileSampleBuffer<65552>&>(*buffer).Distance(), 8);
  EXPECT_EQ(buffer->GetPeakLevel(), (std::vector<double>{3.0, 9.0}));
}

TEST(FileSampleBuffer, FullDiskIsAFailedFinalise) {
  if (!std::ifstream("/dev/full")) GTEST_SKIP() << "no /dev/full";
  SL::CSampleAttribute const a(SL::CBitDepth(65552), 8000, 1, 0, GT::CEndianness::sPlatform);
  boost::shared_ptr<SL::ISampleBuffer> buffer =
      SL::CFileSampleBufferFactory().Create(a, "/dev/full", SL::CWaveFileFormat::RiffWave);
  ASSERT_TRUE(buffer);
  auto& file = dynamic_cast<SL::CFileSampleBuffer<65552>&>(*buffer);
  {
    auto it = file.OutputBegin();
    for (int i = 0; i < 100; ++i, ++it) *it = static_cast<int16_t>(i);
  }
  EXPECT_FALSE(file.Finalize()) << "the samples never reached the disk";
}
