// The controller end to end on card folders: open, import, export, delete.

#include "Executable/Com/Controller/CController.h"

#include "Executable/Com/Controller/FileUtilities.h"
#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

using VQ7Test::Bytes;
using VQ7Test::CCardBench;

namespace {

std::vector<int16_t> ReadBySox(std::string const& path) {
  std::string const raw = path + ".raw";
  VQ7Test::Sox("'" + path + "' -t raw -e signed -b 16 -L '" + raw + "'");
  std::vector<unsigned char> const b = Bytes(raw);
  std::vector<int16_t> samples(b.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  return samples;
}

// A pad's card files decoded by the codec, channels interleaved.
std::vector<int16_t> DecodePad(std::string const& folder, std::string const& names, size_t frames,
                               int bits) {
  std::vector<std::vector<int16_t> > channels;
  std::istringstream list(names);
  for (std::string name; list >> name;)
    channels.push_back(VQ7Test::DecodeChannel(Bytes(folder + "/" + name), frames, bits));
  return VQ7Test::Interleave(channels);
}

}  // namespace

TEST(CControllerOpenTest, AnythingButAWholeInformationFileIsNoCardAndLeavesNoTrace) {
  struct {
    std::string info;  // "-" for no card folder
    bool opens;
  } const cases[] = {{std::string(3000, '\0'), true},
                     {std::string(2943, '\0'), false},
                     {std::string(17, '\0') + '\xFF' + std::string(2926, '\0'), false},
                     {"-", false}};
  for (auto const& c : cases) {
    CCardBench bench;
    std::string first(2944, '\0');
    first[11] = 16;  // a sample on bank 0 pad 0 of a first card
    VQ7Test::MakeEmptyCard(bench.mDir / "FIRST");
    Support::WriteBytes(VQ7Test::CardFolderOf(bench.mDir / "FIRST") + "/WVCINFO0.VQD", first);
    ASSERT_TRUE(bench.Controller().SelectCurrentVolume(bench.mDir / "FIRST", 0));
    ASSERT_TRUE(bench.Controller().IsPadValid(0));
    bench.mView.mCalls.clear();
    if (c.info == "-")
      std::filesystem::remove_all(bench.mVolume + "/TAVRIN");
    else
      Support::WriteBytes(bench.Info(), c.info);
    EXPECT_EQ(c.opens, bench.Controller().SelectCurrentVolume(bench.mVolume, 9)) << c.info.size();
    EXPECT_EQ("23456", bench.mView.mCalls);
    EXPECT_EQ(c.opens ? 0u : 1u, bench.Messages().size());
    VQ7::CModel const& model = bench.Controller().Model();
    EXPECT_EQ(c.opens ? 7 : -1, model.mBank) << "bank clamped to the card's";
    EXPECT_EQ(-1, model.mPad);
    EXPECT_EQ(c.opens ? bench.mVolume : "", model.mVolume);
    EXPECT_FALSE(bench.Controller().IsPadValid(0));
  }
}

TEST(CControllerOpenTest, WithoutACardNothingChanges) {
  CCardBench bench;
  std::string const wave = bench.MakeWave("w.wav", "-r 44100 -n -b 16 -c 1 synth 4000s sine 50");
  EXPECT_FALSE(bench.Controller().SelectCurrentVolume("", 0));
  bench.mView.mCalls.clear();
  EXPECT_FALSE(bench.Controller().SelectCurrentBank(3));
  EXPECT_FALSE(bench.Controller().SelectCurrentPad(5));
  EXPECT_FALSE(bench.Controller().Import(wave));
  EXPECT_FALSE(bench.Controller().Export(bench.mDir / "x.wav", SL::CWaveFileFormat::RiffWave));
  EXPECT_FALSE(bench.Controller().Delete(0));
  EXPECT_EQ("2345634563456", bench.mView.mCalls);
  EXPECT_EQ(
      (std::vector<std::string>{"The selected drive is not for the VQ-730.", "The import failed.",
                                "The export failed.", "The deletion failed."}),
      bench.Messages());
  EXPECT_FALSE(Support::Exists(bench.mDir / "x.wav"));
}

// Each channel file is the codec's 8-bit coding of the source's channel;
// the record has the rounded length, the tempo and the channel count.
TEST(CControllerImportTest, MonoAndStereoWavAndAiff) {
  for (char const* name : {"m1.wav", "s2.wav", "m1.aiff", "s2.aif"}) {
    CCardBench bench;
    int const channels = name[1] - '0';
    std::string const source = bench.MakeWave(
        name, "-r 44100 -n -b 16 -c " + std::to_string(channels) + " synth 22050s sine 300");
    ASSERT_TRUE(bench.Open(2, 9));
    bench.mView.mCalls.clear();
    ASSERT_TRUE(bench.Controller().Import(source)) << name;
    EXPECT_EQ("23456", bench.mView.mCalls);
    ASSERT_TRUE(bench.Controller().SelectCurrentVolume(bench.mVolume, 2)) << "reads back";
    VQ7::CSampleParameter const& p = bench.Controller().Model().SampleParameter(2, 9);
    EXPECT_EQ((std::vector<long>{0, 22064, 22064, 0, channels == 2, 1, 0, 0, 127, 1200, 0, 1200}),
              (std::vector<long>{p.mField0, p.mField1, p.mLength, p.mLofi, p.mStereo, p.mField5,
                                 p.mFlag6, p.mFlag7, p.mField8, p.mTempo1, p.mField10, p.mTempo2}))
        << name;
    std::vector<int16_t> const samples = ReadBySox(source);
    for (int c = 0; c < 2; ++c)
      EXPECT_EQ(c < channels ? VQ7Test::EncodeChannel(samples, channels, c, 8)
                             : std::vector<unsigned char>(),
                Bytes(bench.Folder() + (c ? "/SMP0029R.VQD" : "/SMP0029L.VQD")))
          << name;
    EXPECT_EQ("", VQ7Test::TemporariesIn(bench.Folder()) +
                      VQ7Test::TemporariesIn(VQ7::GetTemporaryDirectoryName()));
    EXPECT_TRUE(bench.Messages().empty());
  }
}

TEST(CControllerImportTest, RefusalsFreeSpaceAndMonoOverStereo) {
  CCardBench bench;
  std::string const fifo = bench.mDir / "fifo.wav";
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  std::string const sox = "-r 44100 -n -b 16 -c ";
  std::string const shortest = bench.MakeWave("a.wav", sox + "1 synth 3087s sine 50");
  std::string const stereo = bench.MakeWave("c.wav", sox + "2 synth 4000s sine 50");
  ASSERT_TRUE(bench.Open(0, 1));
  bench.mView.mCalls.clear();
  for (std::string const& refused :
       {bench.MakeWave("b.wav", sox + "1 synth 3086s sine 50"),
        bench.MakeWave("d.wav", "-r 48000 -n -b 16 -c 1 synth 4000s sine 50"),
        bench.mDir / "missing.wav", fifo})
    EXPECT_FALSE(bench.Controller().Import(refused)) << refused;
  EXPECT_EQ("", bench.mView.mCalls) << "refused before any progress";
  ASSERT_EQ(4u, bench.Messages().size());
  EXPECT_EQ(0u, bench.Messages()[3].find("Failed to load the wave file."));

  // Two channel files of 250 blocks of 16 bytes in 512-byte blocks, and the
  // information file: 2 x 4096 + 3072 bytes.
  bench.mFiles.mFreeSpaceSet = true;
  bench.mFiles.mFreeBytes = 2 * 4096 + 3072 - 1;
  EXPECT_FALSE(bench.Controller().Import(stereo));
  EXPECT_EQ("Insufficient space on the save-destination memory card.", bench.Messages().back());
  bench.mFiles.mFreeBytes += 1;
  EXPECT_TRUE(bench.Controller().Import(stereo));
  bench.mFiles.mFreeSpaceSet = false;

  EXPECT_TRUE(bench.Controller().Import(shortest));
  EXPECT_FALSE(Support::Exists(bench.Folder() + "/SMP0001R.VQD")) << "old right channel gone";
  EXPECT_EQ(3088, bench.Controller().Model().SampleParameter(0, 1).mLength);
  EXPECT_EQ(193u * 16, Bytes(bench.Folder() + "/SMP0001L.VQD").size()) << "padding cut";
  EXPECT_EQ(5u, bench.Messages().size());
}

TEST(CControllerImportTest, CancelLeavesTheCardAndNoTemporary) {
  for (char const* stage : {"Converting", "Copying"}) {
    CCardBench bench;
    std::string const source = bench.MakeWave("s.wav", "-r 44100 -n -b 16 -c 2 synth 3 sine 50");
    ASSERT_TRUE(bench.Open(0, 0));
    auto const progress = boost::make_shared<VQ7Test::CCancellingProgress>();
    progress->mCancelAt = stage;
    bench.mDomain.mProgress = progress;
    EXPECT_TRUE(bench.Controller().Import(source)) << stage;
    EXPECT_TRUE(bench.Messages().empty()) << stage;
    EXPECT_EQ(std::string(2944, '\0'), Support::ReadBytes(bench.Info())) << stage;
    EXPECT_FALSE(Support::Exists(bench.Folder() + "/SMP0000L.VQD")) << stage;
    EXPECT_EQ("", VQ7Test::TemporariesIn(bench.Folder()) +
                      VQ7Test::TemporariesIn(VQ7::GetTemporaryDirectoryName()));
    EXPECT_EQ(0, progress->mDepth);
  }
}

TEST(CControllerExportTest, DecodedPadsReadBackBySox) {
  CCardBench bench;
  std::string const source = bench.MakeWave("s.wav", "-r 44100 -n -b 16 -c 2 synth 5000s sine 3");
  ASSERT_TRUE(bench.Open(1, 0));
  ASSERT_TRUE(bench.Controller().Import(source));
  // A lofi mono pad beside it in 4 bits: 1000 stored frames play as 2000.
  std::vector<unsigned char> const coded =
      VQ7Test::EncodeChannel(VQ7Test::TestSignal(2000, 1), 1, 0, 4);
  Support::WriteBytes(bench.Folder() + "/SMP0011L.VQD", std::string(coded.begin(), coded.end()));
  std::string info = Support::ReadBytes(bench.Info());
  info.replace(17 * 23 + 10, 3, "\x03\xE8\x01");  // length 1000, lofi
  Support::WriteBytes(bench.Info(), info);
  ASSERT_TRUE(bench.Controller().SelectCurrentVolume(bench.mVolume, 1));

  std::vector<int16_t> held = DecodePad(bench.Folder(), "SMP0011L.VQD", 2000, 4);
  for (std::size_t i = 0; i < held.size(); ++i) held[i] = held[i / 4 * 4];
  std::string const out = bench.mDir / "out";
  for (auto format : {SL::CWaveFileFormat::RiffWave, SL::CWaveFileFormat::FormAiff}) {
    ASSERT_TRUE(bench.Controller().SelectCurrentPad(0));
    Support::WriteBytes(out, "earlier file");
    ASSERT_TRUE(bench.Controller().Export(out, format));
    EXPECT_EQ(DecodePad(bench.Folder(), "SMP0010L.VQD SMP0010R.VQD", 5008, 8), ReadBySox(out));
    ASSERT_TRUE(bench.Controller().SelectCurrentPad(1));
    ASSERT_TRUE(bench.Controller().Export(out, format));
    EXPECT_EQ(held, ReadBySox(out));
  }
  EXPECT_EQ("", VQ7Test::TemporariesIn(bench.mDir.Path()));

  // Room for one byte less keeps the earlier file; the card's own folder is
  // never a destination; no export calls the view.
  bench.mView.mCalls.clear();
  Support::WriteBytes(out, "earlier file");
  bench.mFiles.mFreeSpaceSet = true;
  bench.mFiles.mFreeBytes = 4046 - 1;
  EXPECT_FALSE(bench.Controller().Export(out, SL::CWaveFileFormat::RiffWave));
  EXPECT_EQ("earlier file", Support::ReadBytes(out));
  bench.mFiles.mFreeBytes += 1;
  EXPECT_TRUE(bench.Controller().Export(out, SL::CWaveFileFormat::RiffWave));
  EXPECT_FALSE(bench.Controller().Export(bench.Folder() + "/x.wav", SL::CWaveFileFormat::RiffWave));
  EXPECT_EQ((std::vector<std::string>{"Insufficient space on the save-destination disk.",
                                      "The export failed."}),
            bench.Messages());
  EXPECT_EQ("", bench.mView.mCalls);
}
