// The controller end to end on card folders: open, import, export, delete.

#include "Executable/Com/Controller/CController.h"

#include "Executable/Com/Controller/CModel.h"
#include "Executable/Com/Controller/FileUtilities.h"
#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"
#include "Support/FileBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using VQ7Test::CCardBench;

namespace {

std::vector<int16_t> ReadBySox(std::string const& path) {
  std::string const raw = path + ".raw";
  if (!VQ7Test::Sox("'" + path + "' -t raw -e signed -b 16 -L '" + raw + "'")) return {};
  std::string const bytes = Support::ReadBytes(raw);
  std::vector<int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return samples;
}

std::vector<unsigned char> Bytes(std::string const& path) {
  std::string const s = Support::ReadBytes(path);
  return std::vector<unsigned char>(s.begin(), s.end());
}

// The card's files of a pad decoded with the codec, channels interleaved.
std::vector<int16_t> DecodePad(std::string const& folder, int slot, int channels, size_t frames,
                               int bits) {
  std::vector<std::vector<int16_t> > decoded;
  char name[32];
  for (int c = 0; c < channels; ++c) {
    std::snprintf(name, sizeof name, "/SMP%04X%c.VQD", slot, c ? 'R' : 'L');
    decoded.push_back(VQ7Test::DecodeChannel(Bytes(folder + name), frames, bits));
  }
  return VQ7Test::Interleave(decoded);
}

}  // namespace

TEST(CControllerOpenTest, AnythingButAWholeInformationFileIsNoCard) {
  struct {
    char const* name;
    std::string info;  // "-" for no card folder at all
    bool opens;
  } const cases[] = {
      {"128 empty records", std::string(2944, '\0'), true},
      {"longer file", std::string(3000, '\0'), true},
      {"one byte short", std::string(2943, '\0'), false},
      {"all-ones byte field", std::string(17, '\0') + '\xFF' + std::string(2926, '\0'), false},
      {"no card folder", "-", false},
  };
  for (auto const& c : cases) {
    CCardBench bench;
    // A first card with a sample, whose traces must all go on failure.
    std::string first = std::string(2944, '\0');
    first[8 + 3] = 16;
    VQ7Test::MakeEmptyCard(bench.mDir / "FIRST");
    Support::WriteBytes(VQ7Test::CardFolderOf(bench.mDir / "FIRST") + "/WVCINFO0.VQD", first);
    ASSERT_TRUE(bench.Controller().SelectCurrentVolume(bench.mDir / "FIRST", 0));
    ASSERT_TRUE(bench.Controller().IsPadValid(0));
    bench.mView.mCalls.clear();
    if (c.info == "-")
      std::filesystem::remove_all(bench.Volume() + "/TAVRIN");
    else
      Support::WriteBytes(bench.Info(), c.info);

    EXPECT_EQ(c.opens, bench.Controller().SelectCurrentVolume(bench.Volume(), 9)) << c.name;
    EXPECT_EQ("23456", bench.mView.mCalls) << c.name;
    EXPECT_EQ(c.opens ? 0u : 1u, bench.Messages().size()) << c.name;
    VQ7::CModel const& model = bench.Controller().Model();
    EXPECT_EQ(c.opens ? 7 : -1, model.mBank) << c.name << ": bank clamped to the card's";
    EXPECT_EQ(-1, model.mPad);
    EXPECT_EQ(c.opens ? bench.Volume() : "", model.mVolume) << c.name;
    EXPECT_EQ(0, model.mParameters[0].mLength) << c.name;
  }
}

TEST(CControllerOpenTest, SelectionsNeedACardAndCallTheirViewSlots) {
  CCardBench bench;
  EXPECT_FALSE(bench.Controller().SelectCurrentVolume("", 0));
  bench.mView.mCalls.clear();
  EXPECT_FALSE(bench.Controller().SelectCurrentBank(3));
  EXPECT_FALSE(bench.Controller().SelectCurrentPad(5));
  EXPECT_EQ("234563456", bench.mView.mCalls);
  EXPECT_EQ(-1, bench.Controller().GetCurrentPadId());
  ASSERT_TRUE(bench.Open(0, 5));
  EXPECT_TRUE(bench.Controller().SelectCurrentBank(3));
  EXPECT_EQ(5, bench.Controller().GetCurrentPadId());
  EXPECT_EQ(1u, bench.Messages().size()) << "the empty path only";
}

class CControllerImportTest : public ::testing::TestWithParam<char const*> {};

// Each channel file is the codec's 8-bit coding of the source's channel;
// the record says the rounded length, the tempo and the channel count.
TEST_P(CControllerImportTest, WritesTheRecordAndTheCodedChannelFiles) {
  CCardBench bench;
  std::string const source =
      bench.MakeWave(GetParam(), std::string("-r 44100 -n -b 16 -c ") +
                                     (std::strstr(GetParam(), "2") ? "2" : "1") +
                                     " synth 22050s sine 300 sine 440");
  ASSERT_FALSE(source.empty());
  int const channels = std::strstr(GetParam(), "2") ? 2 : 1;
  ASSERT_TRUE(bench.Open(2, 9));
  bench.mView.mCalls.clear();
  ASSERT_TRUE(bench.Controller().Import(source));
  EXPECT_TRUE(bench.Messages().empty());
  EXPECT_EQ("23456", bench.mView.mCalls);

  ASSERT_TRUE(bench.Controller().SelectCurrentVolume(bench.Volume(), 2));
  VQ7::CSampleParameter const& p = bench.Controller().Model().SampleParameter(2, 9);
  EXPECT_EQ(22064, p.mLength);
  EXPECT_EQ(22064, p.mField1);
  EXPECT_EQ(1u, p.mField5);
  EXPECT_EQ(1200, p.mTempo1);
  EXPECT_EQ(1200, p.mTempo2);
  EXPECT_EQ(channels == 2, p.mStereo);
  EXPECT_EQ(127, p.mField8);

  std::vector<int16_t> const samples = ReadBySox(source);
  ASSERT_EQ(22050u * channels, samples.size());
  for (int c = 0; c < channels; ++c)
    EXPECT_EQ(VQ7Test::EncodeChannel(samples, channels, c, 8),
              Bytes(bench.Folder() + (c ? "/SMP0029R.VQD" : "/SMP0029L.VQD")));
  EXPECT_EQ(channels == 2, Support::Exists(bench.Folder() + "/SMP0029R.VQD"));
  EXPECT_TRUE(VQ7Test::TemporariesIn(bench.Folder()).empty());
  EXPECT_TRUE(VQ7Test::TemporariesIn(VQ7::GetTemporaryDirectoryName()).empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, CControllerImportTest,
                         ::testing::Values("mono1.wav", "stereo2.wav", "mono1.aiff",
                                           "stereo2.aif"));

TEST(CControllerImportEdgeTest, LengthBoundaryFreeSpaceAndMonoOverStereo) {
  CCardBench bench;
  std::string const shortest =
      bench.MakeWave("a.wav", "-r 44100 -n -b 16 -c 1 synth 3087s sine 50");
  std::string const tooShort =
      bench.MakeWave("b.wav", "-r 44100 -n -b 16 -c 1 synth 3086s sine 50");
  std::string const stereo = bench.MakeWave("c.wav", "-r 44100 -n -b 16 -c 2 synth 4000s sine 50");
  std::string const rate = bench.MakeWave("d.wav", "-r 48000 -n -b 16 -c 1 synth 4000s sine 50");
  ASSERT_TRUE(bench.Open(0, 1));
  bench.mView.mCalls.clear();
  for (std::string const& refused : {tooShort, rate, bench.mDir / "missing.wav"}) {
    EXPECT_FALSE(bench.Controller().Import(refused));
    EXPECT_EQ("", bench.mView.mCalls) << "refused before any progress";
  }
  EXPECT_EQ(3u, bench.Messages().size());
  EXPECT_EQ(0u, bench.Messages()[0].find("Failed to load the wave file."));

  // 2 channel files of 4000 frames, 250 blocks of 16 bytes, in 512-byte
  // blocks, plus the information file: 2 x 4096 + 3072.
  bench.mFiles.mFreeSpaceSet = true;
  bench.mFiles.mFreeBytes = 2 * 4096 + 3072 - 1;
  bench.Messages().clear();
  EXPECT_FALSE(bench.Controller().Import(stereo));
  ASSERT_EQ(1u, bench.Messages().size());
  EXPECT_EQ("Insufficient space on the save-destination memory card.", bench.Messages()[0]);
  bench.mFiles.mFreeBytes += 1;
  EXPECT_TRUE(bench.Controller().Import(stereo));
  EXPECT_TRUE(Support::Exists(bench.Folder() + "/SMP0001R.VQD"));
  bench.mFiles.mFreeSpaceSet = false;

  EXPECT_TRUE(bench.Controller().Import(shortest));
  EXPECT_FALSE(Support::Exists(bench.Folder() + "/SMP0001R.VQD")) << "old right channel gone";
  EXPECT_EQ(3088, bench.Controller().Model().SampleParameter(0, 1).mLength);
  EXPECT_EQ(193u * 16, Bytes(bench.Folder() + "/SMP0001L.VQD").size()) << "padding cut";
  EXPECT_EQ("", VQ7Test::CheckCard(bench.Volume()));
  EXPECT_EQ(1u, bench.Messages().size());
}

TEST(CControllerImportEdgeTest, CancelLeavesTheCardAndNoTemporary) {
  for (char const* stage : {"Converting", "Copying"}) {
    CCardBench bench;
    std::string const source = bench.MakeWave("s.wav", "-r 44100 -n -b 16 -c 2 synth 3 sine 50");
    ASSERT_TRUE(bench.Open(0, 0));
    std::string const before = Support::ReadBytes(bench.Info());
    bench.mDomain.mProgress = boost::make_shared<VQ7Test::CCancellingProgress>(stage, 1);
    EXPECT_TRUE(bench.Controller().Import(source)) << stage;
    EXPECT_TRUE(bench.Messages().empty()) << stage;
    EXPECT_EQ(before, Support::ReadBytes(bench.Info())) << stage;
    EXPECT_FALSE(Support::Exists(bench.Folder() + "/SMP0000L.VQD")) << stage;
    EXPECT_TRUE(VQ7Test::TemporariesIn(bench.Folder()).empty()) << stage;
    EXPECT_TRUE(VQ7Test::TemporariesIn(VQ7::GetTemporaryDirectoryName()).empty()) << stage;
    EXPECT_EQ(0, static_cast<VQ7Test::CCancellingProgress&>(*bench.mDomain.mProgress).mDepth);
  }
}

TEST(CControllerExportTest, DecodedPadsReadBackBySox) {
  CCardBench bench;
  std::string const source = bench.MakeWave("s.wav", "-r 44100 -n -b 16 -c 2 synth 5000s sine 300");
  ASSERT_TRUE(bench.Open(1, 0));
  ASSERT_TRUE(bench.Controller().Import(source));
  // A lofi mono pad beside it, coded in 4 bits: 1000 stored frames play as 2000.
  std::vector<int16_t> const signal = VQ7Test::TestSignal(2000, 1);
  Support::WriteBytes(bench.Folder() + "/SMP0011L.VQD", [&] {
    auto const coded = VQ7Test::EncodeChannel(signal, 1, 0, 4);
    return std::string(coded.begin(), coded.end());
  }());
  std::string info = Support::ReadBytes(bench.Info());
  info[17 * 23 + 10] = 0x03;
  info[17 * 23 + 11] = static_cast<char>(0xE8);  // 1000
  info[17 * 23 + 12] = 1;
  Support::WriteBytes(bench.Info(), info);
  ASSERT_TRUE(bench.Controller().SelectCurrentVolume(bench.Volume(), 1));

  std::string const destination = bench.mDir / "out";
  for (auto format : {SL::CWaveFileFormat::RiffWave, SL::CWaveFileFormat::FormAiff}) {
    ASSERT_TRUE(bench.Controller().SelectCurrentPad(0));
    Support::WriteBytes(destination, "earlier file");
    ASSERT_TRUE(bench.Controller().Export(destination, format));
    EXPECT_EQ(DecodePad(bench.Folder(), 16, 2, 5008, 8), ReadBySox(destination));

    ASSERT_TRUE(bench.Controller().SelectCurrentPad(1));
    ASSERT_TRUE(bench.Controller().Export(destination, format));
    std::vector<int16_t> held = DecodePad(bench.Folder(), 17, 1, 2000, 4);
    for (std::size_t i = 0; i < held.size(); ++i) held[i] = held[i / 4 * 4];
    EXPECT_EQ(held, ReadBySox(destination));
  }
  EXPECT_TRUE(bench.Messages().empty());
  EXPECT_TRUE(VQ7Test::TemporariesIn(bench.mDir.Path()).empty());

  // Not enough room: the earlier file stays; one byte more is enough.
  bench.mView.mCalls.clear();
  uint64_t const size =
      bench.Controller().ComputeExportedWaveByteSize(1, 1, SL::CWaveFileFormat::RiffWave);
  EXPECT_EQ(4046u, size);
  Support::WriteBytes(destination, "earlier file");
  bench.mFiles.mFreeSpaceSet = true;
  bench.mFiles.mFreeBytes = size - 1;
  EXPECT_FALSE(bench.Controller().Export(destination, SL::CWaveFileFormat::RiffWave));
  EXPECT_EQ("earlier file", Support::ReadBytes(destination));
  bench.mFiles.mFreeBytes = size;
  EXPECT_TRUE(bench.Controller().Export(destination, SL::CWaveFileFormat::RiffWave));
  // Never into the card's own folder.
  EXPECT_FALSE(
      bench.Controller().Export(bench.Folder() + "/SMP0010L.VQD", SL::CWaveFileFormat::RiffWave));
  ASSERT_EQ(2u, bench.Messages().size());
  EXPECT_EQ("Insufficient space on the save-destination disk.", bench.Messages()[0]);
  EXPECT_EQ("The export failed.", bench.Messages()[1]);
  EXPECT_EQ("", bench.mView.mCalls) << "export calls no view slot";
}

TEST(CControllerDeleteTest, MonoAndStereoPads) {
  CCardBench bench;
  std::string const stereo = bench.MakeWave("s.wav", "-r 44100 -n -b 16 -c 2 synth 4000s sine 50");
  std::string const mono = bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 4000s sine 50");
  ASSERT_TRUE(bench.Open(0, 0));
  ASSERT_TRUE(bench.Controller().Import(stereo));
  ASSERT_TRUE(bench.Controller().SelectCurrentPad(1));
  ASSERT_TRUE(bench.Controller().Import(mono));
  for (long pad : {0L, 1L}) {
    bench.mView.mCalls.clear();
    EXPECT_TRUE(bench.Controller().Delete(pad));
    EXPECT_EQ("3456", bench.mView.mCalls);
    EXPECT_FALSE(bench.Controller().IsPadValid(pad));
  }
  EXPECT_EQ(1, bench.Controller().GetCurrentPadId());
  EXPECT_EQ(std::string(2944, '\0').substr(0, 17) + '\x7F',
            Support::ReadBytes(bench.Info()).substr(0, 18));
  EXPECT_TRUE(VQ7Test::TemporariesIn(bench.Folder()).empty());
  EXPECT_EQ(std::vector<std::string>{"WVCINFO0.VQD"}, [&] {
    std::vector<std::string> names;
    for (auto const& entry : std::filesystem::directory_iterator(bench.Folder()))
      names.push_back(entry.path().filename());
    return names;
  }());
  EXPECT_TRUE(bench.Messages().empty());
}
