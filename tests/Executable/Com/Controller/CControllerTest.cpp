// Opening a card, what an import refuses, a lofi export, free space; the
// card's safety test covers import, export and delete themselves.

#include "Executable/Com/Controller/CController.h"

#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using VQ7Test::CCardBench;

TEST(CControllerTest, AnythingButAWholeInformationFileIsNoCardAndLeavesNoTrace) {
  for (std::string const& info :
       {std::string(3000, '\0'), std::string(2943, '\0'),
        std::string(17, '\0') + '\xFF' + std::string(2926, '\0'), std::string("no folder")}) {
    CCardBench bench;
    std::string first(2944, '\0');
    first[11] = 16;  // a card with a sample on bank 0 pad 0 first
    Support::WriteBytes(bench.Info(), first);
    ASSERT_TRUE(bench.Open(0, 0) && bench.Controller().IsPadValid(0));
    if (info == "no folder") std::filesystem::remove_all(bench.mVolume + "/TAVRIN");
    Support::WriteBytes(bench.Info(), info);
    bench.mView.mCalls.clear();
    bool const opens = info.size() > 2944;
    EXPECT_EQ(opens, bench.Controller().SelectCurrentVolume(bench.mVolume, 9)) << info.size();
    VQ7::CModel const& model = bench.Controller().Model();
    EXPECT_EQ(opens ? 7 : -1, model.mBank) << "a bank clamped to the card's";
    EXPECT_EQ(opens ? bench.mVolume : "", model.mVolume);
    EXPECT_FALSE(bench.Controller().IsPadValid(0));
    if (opens) continue;
    // Without a card every change fails with its message and touches nothing.
    EXPECT_FALSE(bench.Controller().SelectCurrentBank(3) || bench.Controller().SelectCurrentPad(5));
    EXPECT_FALSE(bench.Controller().Import(bench.Info()));
    EXPECT_FALSE(bench.Controller().Export(bench.mDir / "x", SL::CWaveFileFormat::RiffWave));
    EXPECT_FALSE(bench.Controller().Delete(0));
    EXPECT_EQ("234562345634563456", bench.mView.mCalls);
    EXPECT_EQ(
        (std::vector<std::string>{"The selected drive is not for the VQ-730.", "The import failed.",
                                  "The export failed.", "The deletion failed."}),
        bench.Messages());
  }
}

TEST(CControllerTest, ImportRefusalsAndCardSpace) {
  CCardBench bench;
  std::string const fifo = bench.mDir / "fifo.wav", sox = " -n -b 16 -c ";
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  ASSERT_TRUE(bench.Open(0, 1));
  for (std::string const& refused :
       {bench.MakeWave("a.wav", "-r 44100" + sox + "1 synth 3086s sine 5"),
        bench.MakeWave("b.wav", "-r 48000" + sox + "1 synth 4000s sine 5"),
        bench.mDir / "missing.wav", fifo})
    EXPECT_FALSE(bench.Controller().Import(refused)) << refused;
  EXPECT_EQ("234563456", bench.mView.mCalls) << "refused before any progress: the opening's only";
  EXPECT_EQ(std::vector<std::string>(4, VQ7::CDomain::sTextCodeTable.ToText(VQ7::WaveLoadFailed)),
            bench.Messages());
  // 250 blocks of 16 bytes in each of two files and the information file,
  // in 512-byte blocks: 2 x 4096 + 3072 bytes.
  std::string const stereo = bench.MakeWave("s.wav", "-r 44100" + sox + "2 synth 4000s sine 5");
  bench.mFiles.mFreeBytes = 2 * 4096 + 3072 - 1;
  EXPECT_FALSE(bench.Controller().Import(stereo));
  EXPECT_EQ("Insufficient space on the save-destination memory card.", bench.Messages().back());
  bench.mFiles.mFreeBytes += 1;
  EXPECT_TRUE(bench.Controller().Import(stereo));
  EXPECT_TRUE(bench.Controller().Import(
      bench.MakeWave("c.wav", "-r 44100" + sox + "1 synth 3087s sine 5")));
  EXPECT_EQ(3088, bench.Controller().Model().SampleParameter(0, 1).mLength);
  EXPECT_EQ(5u, bench.Messages().size());
}

TEST(CControllerTest, LofiExportAndFreeSpace) {
  CCardBench bench;
  // 1000 stored frames in 4 bits play as 2000, the first of each four held.
  std::vector<unsigned char> const coded =
      VQ7Test::EncodeChannel(VQ7Test::TestSignal(2000, 1), 1, 0, 4);
  Support::WriteBytes(bench.Folder() + "/SMP0000L.VQD", std::string(coded.begin(), coded.end()));
  Support::WriteBytes(bench.Info(),
                      std::string(10, '\0') + "\x03\xE8\x01" + std::string(2931, '\0'));
  ASSERT_TRUE(bench.Open(0, 0));
  std::vector<int16_t> held = VQ7Test::DecodeChannel(coded, 2000, 4);
  for (std::size_t i = 0; i < held.size(); ++i) held[i] = held[i / 4 * 4];
  std::string const out = bench.mDir / "out.aif";
  Support::WriteBytes(out, "earlier file");
  bench.mFiles.mFreeBytes = 2000 * 2 + 54 - 1;
  EXPECT_FALSE(bench.Controller().Export(out, SL::CWaveFileFormat::FormAiff));
  EXPECT_EQ("earlier file", Support::ReadBytes(out));
  bench.mFiles.mFreeBytes += 1;
  EXPECT_TRUE(bench.Controller().Export(out, SL::CWaveFileFormat::FormAiff));
  EXPECT_EQ(held, VQ7Test::ReadBySox(out));
  EXPECT_EQ(std::vector<std::string>{"Insufficient space on the save-destination disk."},
            bench.Messages());
}
