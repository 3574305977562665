// An AIFF whose sound data starts after an offset imports the samples after
// it: the same length in the import's peek, the pad's record, the card's
// files and the exported file.

#include "Executable/Com/Controller/CController.h"

#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

using VQ7Test::CCardBench;

namespace {

void Put(std::string& out, uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A 16-bit 44.1 kHz AIFF whose SSND payload holds `offset` filler bytes
// before the samples.
std::string AiffWithOffset(std::vector<int16_t> const& samples, int channels, uint32_t offset) {
  std::string comm = "COMM";
  Put(comm, 18, 4);
  Put(comm, static_cast<uint64_t>(channels), 2);
  Put(comm, samples.size() / static_cast<size_t>(channels), 4);
  Put(comm, 16, 2);
  comm += std::string("\x40\x0E\xAC\x44\0\0\0\0\0\0", 10);
  std::string ssnd = "SSND";
  uint64_t const size = 8 + offset + 2 * samples.size();
  Put(ssnd, size, 4);
  Put(ssnd, offset, 4);
  Put(ssnd, 0, 4);
  ssnd += std::string(offset, '\x5A');
  for (int16_t s : samples) Put(ssnd, static_cast<uint16_t>(s), 2);
  if (size % 2) ssnd += '\xFF';
  std::string form = "FORM";
  Put(form, 4 + comm.size() + ssnd.size(), 4);
  return form + "AIFF" + comm + ssnd;
}

}  // namespace

TEST(CControllerAiffOffsetTest, ImportsTheSamplesAfterTheOffset) {
  long const frames = 4000;
  std::vector<int16_t> const samples = VQ7Test::TestSignal(frames, 2);
  for (uint32_t const offset : {0u, 3u, 4096u}) {
    CCardBench bench;
    std::string const path = bench.mDir / "offset.aif", out = bench.mDir / "out.wav";
    Support::WriteBytes(path, AiffWithOffset(samples, 2, offset));
    std::string const where = "offset " + std::to_string(offset);
    VQ7::CController& controller = bench.Controller();
    auto const peeked = controller.PeekWave(path);
    ASSERT_TRUE(peeked.first) << where;
    EXPECT_EQ(frames, peeked.first->GetLocation().end) << where;
    // 250 blocks of 16 bytes a channel, as the import dialog shows it.
    EXPECT_EQ(2u * 250 * 16, controller.ComputeImportedWaveByteSize(*peeked.first)) << where;
    ASSERT_TRUE(bench.Open(0, 3) && controller.Import(path)) << where;
    EXPECT_TRUE(bench.Messages().empty()) << where;
    VQ7::CSampleParameter const& record = controller.Model().SampleParameter(0, 3);
    EXPECT_EQ(frames, record.mLength) << where;
    EXPECT_EQ(1, record.mStereo) << where;
    std::vector<std::vector<int16_t> > decoded;
    for (int c = 0; c < 2; ++c) {
      std::vector<unsigned char> const coded =
          VQ7Test::Bytes(bench.Folder() + "/SMP0003" + "LR"[c] + ".VQD");
      EXPECT_EQ(VQ7Test::EncodeChannel(samples, 2, c, 8), coded) << where << " channel " << c;
      decoded.push_back(VQ7Test::DecodeChannel(coded, frames, 8));
    }
    ASSERT_TRUE(controller.Export(out, SL::CWaveFileFormat::RiffWave)) << where;
    EXPECT_EQ(VQ7Test::Interleave(decoded), VQ7Test::ReadBySox(out)) << where;
  }
}
