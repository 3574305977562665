// A WAV and the same audio as AIFF, streamed into the device's per-channel
// files and back into a WAV, without any user interface.

#include "SL/Com/Stream/CFileOutputSampleIterator.h"
#include "SL/Com/Stream/CFileSampleIteratorFactory.h"
#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"
#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"

#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

using namespace TestSupport;

namespace {

typedef boost::shared_ptr<std::ostream> COut;
typedef boost::shared_ptr<std::istream> CIn;

// Streams a 16-bit file into one device file per channel; false on any failure.
bool ToDeviceFiles(std::string const& source, std::vector<std::string> const& targets,
                   long& frames) {
  boost::shared_ptr<SL::IInputSampleIterator> in = SL::CFileSampleIteratorFactory().Create(source);
  if (!in || in->GetAttribute().mBitDepth.GetValue() != 65552) return false;
  if (in->GetAttribute().mChannelCount != static_cast<int>(targets.size())) return false;
  frames = in->GetAttribute().mFrameCount;
  std::vector<COut> streams;
  for (auto const& t : targets) {
    streams.push_back(COut(new std::ofstream(t.c_str(), std::ios::binary | std::ios::trunc)));
  }
  SL::CKvacFileOutputSampleIterator out(
      8, in->GetAttribute(), streams, GT::CRange<long>(0, 0x7FFFFFFF),
      [](SL::CKvacFileOutputSampleIterator&, GT::CRange<long> const&) { return true; });
  auto& typed = dynamic_cast<SL::ITypedInputSampleIterator<65552>&>(*in);
  while (typed.HasNext() && out.HasNext()) {
    out.Set(typed.Get());
    out.Next();
    typed.Next();
  }
  return in->IsValid() && out.IsValid() && out.FinalFlush() && out.Finalize();
}

bool FromDeviceFiles(std::vector<std::string> const& sources, long frames,
                     std::string const& target) {
  std::vector<CIn> streams;
  for (auto const& s : sources)
    streams.push_back(CIn(new std::ifstream(s.c_str(), std::ios::binary)));
  SL::CSampleAttribute const attribute(SL::CBitDepth::Integer16, 44100.0,
                                       static_cast<int>(sources.size()), frames,
                                       GT::CEndianness::sPlatform);
  SL::CKvacFileInputSampleIterator in(8, attribute, streams, 0);
  boost::shared_ptr<SL::IOutputSampleIterator> base = SL::CFileSampleIteratorFactory().Create(
      in.GetAttribute(), target, SL::CWaveFileFormat::RiffWave);
  auto* out = dynamic_cast<SL::CFileOutputSampleIterator<65552>*>(base.get());
  if (!out) return false;
  while (in.HasNext() && out->HasNext()) {
    out->Set(in.Get());
    out->Next();
    in.Next();
  }
  if (!in.IsValid() || !out->IsValid()) return false;
  return out->mFinalizer(out->mAttribute, out->mStream,
                         GT::CRange<long>(out->mRange.begin, out->mPosition));
}

std::vector<int16_t> Raw16(std::string const& path) {
  std::vector<unsigned char> const b = ReadFileBytes(path);
  std::vector<int16_t> out;
  for (size_t i = 0; i + 2 <= b.size(); i += 2) out.push_back(static_cast<int16_t>(GetLE(b, i, 2)));
  return out;
}

}  // namespace

TEST(WaveDeviceFileConversion, WaveAndAiffGiveTheSameDeviceFilesAndComeBackClean) {
  if (!HasTool("sox")) GTEST_SKIP() << "sox missing";
  CScratchDir dir;
  std::string const wav = dir.File("in.wav"), aiff = dir.File("in.aiff");
  // A -6 dBFS sine, different in each channel; 1 s plus a part block.
  ASSERT_TRUE(
      RunTool("sox -D -n -r 44100 -c 2 -b 16 " + wav + " synth 1.0001 sine 997 sine 441 gain -6"));
  ASSERT_TRUE(RunTool("sox -D " + wav + " " + aiff));
  long wavFrames = 0, aiffFrames = 0;
  std::vector<std::string> const fromWav = {dir.File("w0.vqd"), dir.File("w1.vqd")};
  std::vector<std::string> const fromAiff = {dir.File("a0.vqd"), dir.File("a1.vqd")};
  ASSERT_TRUE(ToDeviceFiles(wav, fromWav, wavFrames));
  ASSERT_TRUE(ToDeviceFiles(aiff, fromAiff, aiffFrames));
  EXPECT_GT(wavFrames % 16, 0) << "the last block is a part block";
  EXPECT_EQ(aiffFrames, wavFrames);
  for (int c = 0; c < 2; ++c) {
    std::vector<unsigned char> const a = ReadFileBytes(fromWav[c]);
    EXPECT_EQ(a.size(), static_cast<size_t>(wavFrames + 15) / 16 * 16)
        << "blocks of 16 bytes, each 16 samples";
    EXPECT_EQ(a, ReadFileBytes(fromAiff[c])) << "channel " << c;
  }

  std::string const back = dir.File("back.wav");
  ASSERT_TRUE(FromDeviceFiles(fromWav, wavFrames, back));
  std::string const original = dir.File("in.raw"), decoded = dir.File("back.raw");
  ASSERT_TRUE(RunTool("sox " + wav + " -t raw -e signed-integer -b 16 -L " + original));
  ASSERT_TRUE(RunTool("sox " + back + " -t raw -e signed-integer -b 16 -L " + decoded))
      << "sox reads our WAV";
  std::vector<int16_t> const x = Raw16(original), y = Raw16(decoded);
  ASSERT_EQ(x.size(), y.size());
  double signal = 0, noise = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    signal += static_cast<double>(x[i]) * x[i];
    noise += (static_cast<double>(x[i]) - y[i]) * (static_cast<double>(x[i]) - y[i]);
  }
  double const snr = 10.0 * std::log10(signal / std::max(noise, 1e-9));
  EXPECT_GE(snr, 60.0);
  RecordProperty("SnrDecibels", std::to_string(snr));
}
