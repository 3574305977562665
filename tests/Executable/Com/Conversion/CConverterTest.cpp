#include "Executable/Com/Conversion/CConverter.h"
#include "Executable/Com/Conversion/CKvacFileSampleIteratorFactory.h"

#include "Support/DeviceCoding.h"
#include "Support/PrivateMount.h"
#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using VQ7::CConverter;
using CScratchFolder = TestSupport::CScratchDir;
using VQ7Test::DecodeChannel;
using VQ7Test::EncodeChannel;

typedef std::vector<unsigned char> Bytes;
typedef std::vector<int16_t> Samples;

bool Exists(std::string const& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

// The names in a folder, "." and ".." left out.
std::vector<std::string> Entries(std::string const& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (struct dirent* entry = ::readdir(dir))
      if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
        names.push_back(entry->d_name);
    ::closedir(dir);
  }
  return names;
}

Bytes RawBytes(Samples const& samples) {
  Bytes bytes;
  for (int16_t s : samples) {
    uint16_t const u = static_cast<uint16_t>(s);
    bytes.push_back(static_cast<unsigned char>(u & 0xFF));
    bytes.push_back(static_cast<unsigned char>(u >> 8));
  }
  return bytes;
}

Samples FromRaw(Bytes const& bytes) {
  Samples samples;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    samples.push_back(static_cast<int16_t>(static_cast<uint16_t>(bytes[i] | (bytes[i + 1] << 8))));
  return samples;
}

// A 16-bit WAV of the samples, its header claiming `channels` channels.
Bytes WavWithSamples(Samples const& samples, int channels);

// Records what the converter reports; asks to cancel once the position has
// reached `cancelAt` (never when negative).
class CCountingProgress : public UL::IProgress {
public:
  explicit CCountingProgress(long cancelAt = -1) : mCancelAt(cancelAt) {}
  void SetRange(long range) override { mRange = range; }
  long GetRange() const override { return mRange; }
  void SetPosition(long position) override {
    if (position < mPosition) ++mBackwards;
    mPosition = position;
    ++mUpdates;
  }
  long GetPosition() const override { return mPosition; }
  bool IsCanceled() const override { return mCancelAt >= 0 && mPosition >= mCancelAt; }

  long mCancelAt;
  long mRange = -1;
  long mPosition = -1;
  long mUpdates = 0;
  long mBackwards = 0;
};

class Converter : public ::testing::Test {
protected:
  void SetUp() override {
    if (!TestSupport::HasTool("sox")) GTEST_SKIP() << "sox is not installed";
  }

  // A WAV or AIFF file written by sox from raw samples.
  std::string MakeSource(std::string const& name, Samples const& samples, int channels,
                         int bits = 16) {
    std::string const raw = mFolder / (name + ".raw");
    std::string const path = mFolder / name;
    TestSupport::WriteFileBytes(raw, RawBytes(samples));
    std::string const command = "sox -V1 -D -t raw -r 44100 -e signed-integer -b 16 -L -c " +
                                std::to_string(channels) + " '" + raw + "' -b " +
                                std::to_string(bits) + " '" + path + "'";
    EXPECT_EQ(0, std::system(command.c_str())) << command;
    return path;
  }

  // The samples of a WAV or AIFF file as sox reads them.
  Samples ReadWithSox(std::string const& path) {
    std::string const raw = path + ".out.raw";
    std::string const command =
        "sox -V1 -D '" + path + "' -t raw -e signed-integer -b 16 -L '" + raw + "'";
    EXPECT_EQ(0, std::system(command.c_str())) << command;
    return FromRaw(TestSupport::ReadFileBytes(raw));
  }

  std::string Soxi(char const* option, std::string const& path) {
    return VQ7Test::Capture(std::string("soxi ") + option + " '" + path + "' 2>/dev/null");
  }

  CScratchFolder mFolder;
};

TEST_F(Converter, MonoImportGivesOneFileOfTheCodedSamples) {
  Samples const samples = VQ7Test::TestSignal(3087, 1);
  std::string const source = MakeSource("mono.wav", samples, 1);
  CCountingProgress progress;
  CConverter converter(progress);
  std::string const base = mFolder / "SAMPLE";
  std::vector<std::string> const names = converter.Import(source, base);
  ASSERT_EQ(1u, names.size());
  EXPECT_EQ(base, names[0]);
  EXPECT_FALSE(Exists(base + "0"));
  Bytes const coded = TestSupport::ReadFileBytes(base);
  EXPECT_EQ(193u * 16u, coded.size());  // 3087 frames in whole blocks
  EXPECT_EQ(EncodeChannel(samples, 1, 0, 8), coded);
  EXPECT_EQ(3087, progress.mRange);
  EXPECT_EQ(3087, progress.mPosition);
  EXPECT_EQ(0, progress.mBackwards);
}

TEST_F(Converter, StereoImportFromWavAndAiffGivesLeftAndRight) {
  Samples const samples = VQ7Test::TestSignal(44100, 2);
  for (std::string const name : {"stereo.wav", "stereo.aiff"}) {
    std::string const source = MakeSource(name, samples, 2);
    CCountingProgress progress;
    std::string const base = mFolder / (name + "-dev");
    std::vector<std::string> const names = CConverter(progress).Import(source, base);
    ASSERT_EQ(2u, names.size()) << name;
    EXPECT_EQ(base + "0", names[0]);
    EXPECT_EQ(base + "1", names[1]);
    EXPECT_FALSE(Exists(base));
    EXPECT_EQ(EncodeChannel(samples, 2, 0, 8), TestSupport::ReadFileBytes(names[0])) << name;
    EXPECT_EQ(EncodeChannel(samples, 2, 1, 8), TestSupport::ReadFileBytes(names[1])) << name;
    EXPECT_EQ(88200, progress.mRange);
    EXPECT_EQ(88200, progress.mPosition);
    // Cheap to report: a few dozen updates, not one per sample.
    EXPECT_GE(progress.mUpdates, 10);
    EXPECT_LE(progress.mUpdates, 100);
  }
}

TEST_F(Converter, OtherDepthsGiveNothingAndCreateNoFile) {
  Samples const samples = VQ7Test::TestSignal(4000, 2);
  for (int bits : {24, 8}) {
    std::string const source =
        MakeSource("depth" + std::to_string(bits) + ".wav", samples, 2, bits);
    std::string const base = mFolder / ("dev" + std::to_string(bits));
    EXPECT_TRUE(CConverter().Import(source, base).empty()) << bits;
    EXPECT_FALSE(Exists(base + "0"));
    EXPECT_FALSE(Exists(base + "1"));
  }
  // Channel counts the device cannot hold, however small the file.
  for (int channels : {3, 19000}) {
    TestSupport::WriteFileBytes(mFolder / "many.wav",
                                WavWithSamples(Samples(channels, 5), channels));
    EXPECT_TRUE(CConverter().Import(mFolder / "many.wav", mFolder / "many").empty()) << channels;
    EXPECT_FALSE(Exists(mFolder / "many0")) << channels;
  }
  EXPECT_TRUE(CConverter().Import(mFolder / "missing.wav", mFolder / "dev").empty());
  TestSupport::WriteFileBytes(mFolder / "text.wav", Bytes(100, 'x'));
  EXPECT_TRUE(CConverter().Import(mFolder / "text.wav", mFolder / "dev").empty());
  EXPECT_FALSE(Exists(mFolder / "dev"));
}

TEST_F(Converter, CancelledImportReturnsTheNamesAndWritesNoneOfThem) {
  Samples const samples = VQ7Test::TestSignal(20000, 2);
  std::string const source = MakeSource("cancel.wav", samples, 2);
  CCountingProgress progress(8192);
  std::string const base = mFolder / "cancel";
  TestSupport::WriteFileBytes(base + "1", Bytes(10, 3));
  std::vector<std::string> const names = CConverter(progress).Import(source, base);
  ASSERT_EQ(2u, names.size());
  EXPECT_EQ(8192, progress.mPosition);
  EXPECT_FALSE(Exists(names[0]));
  EXPECT_EQ(Bytes(10, 3), TestSupport::ReadFileBytes(names[1]));
  EXPECT_EQ(3u, Entries(mFolder / "").size());  // the source, its raw samples and cancel1
}

TEST_F(Converter, FailedImportRemovesTheFilesItCreated) {
  // The data chunk promises more samples than the file holds.
  Samples const samples = VQ7Test::TestSignal(10000, 2);
  std::string const source = MakeSource("cut.wav", samples, 2);
  Bytes bytes = TestSupport::ReadFileBytes(source);
  bytes.resize(bytes.size() - 1000);
  TestSupport::WriteFileBytes(source, bytes);
  std::string const base = mFolder / "cut";
  TestSupport::WriteFileBytes(base + "0", Bytes(5000, 7));  // left over from an earlier run
  EXPECT_TRUE(CConverter().Import(source, base).empty());
  EXPECT_EQ(Bytes(5000, 7),
            TestSupport::ReadFileBytes(base + "0"));  // refused before anything was opened
  EXPECT_FALSE(Exists(base + "1"));

  // The right channel's file cannot be made: the left one goes again.
  std::string const whole = MakeSource("whole.wav", samples, 2);
  std::string const blocked = mFolder / "blocked";
  ASSERT_EQ(0, ::mkdir((blocked + "1").c_str(), 0700));
  EXPECT_TRUE(CConverter().Import(whole, blocked).empty());
  EXPECT_FALSE(Exists(blocked + "0"));
  EXPECT_TRUE(Exists(blocked + "1"));  // not ours to remove

  EXPECT_TRUE(CConverter().Import(whole, mFolder / "no/such/folder/dev").empty());
}

// A 16-bit stereo WAV whose data chunk holds an odd number of samples.
Bytes WavWithSamples(Samples const& samples, int channels) {
  auto put32 = [](Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
  };
  auto put16 = [](Bytes& b, uint16_t v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
  };
  uint32_t const dataBytes = static_cast<uint32_t>(samples.size() * 2);
  Bytes b = {'R', 'I', 'F', 'F'};
  put32(b, 36 + dataBytes);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(b, 16);
  put16(b, 1);
  put16(b, static_cast<uint16_t>(channels));
  put32(b, 44100);
  put32(b, 44100u * 2u * channels);
  put16(b, static_cast<uint16_t>(2 * channels));
  put16(b, 16);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  put32(b, dataBytes);
  Bytes const raw = RawBytes(samples);
  b.insert(b.end(), raw.begin(), raw.end());
  return b;
}

TEST_F(Converter, OddSampleOrByteCountNeverWritesBeyondTheLastWholeFrame) {
  Samples const samples = {1000, -1000, 2000, -2000, 30000};  // 2 frames and half a frame
  Samples const whole = {1000, -1000, 2000, -2000};
  Bytes const halfFrame = WavWithSamples(samples, 2);
  // The same with one byte more: an odd data size and its pad byte.
  Bytes oddBytes = halfFrame;
  oddBytes[40] += 1;
  oddBytes[4] += 2;
  oddBytes.insert(oddBytes.end(), {0x55, 0});
  int index = 0;
  for (Bytes const& bytes : {halfFrame, oddBytes}) {
    std::string const source = mFolder / ("odd" + std::to_string(index) + ".wav");
    TestSupport::WriteFileBytes(source, bytes);
    CCountingProgress progress;
    std::vector<std::string> const names =
        CConverter(progress).Import(source, mFolder / ("odd" + std::to_string(index++)));
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ(4, progress.mRange);
    EXPECT_EQ(4, progress.mPosition);
    EXPECT_EQ(EncodeChannel(whole, 2, 0, 8), TestSupport::ReadFileBytes(names[0]));
    EXPECT_EQ(EncodeChannel(whole, 2, 1, 8), TestSupport::ReadFileBytes(names[1]));
  }
}

class ConverterExport : public Converter {
protected:
  // Device files coded straight with the codec, one per channel.
  std::vector<std::string> MakeDeviceFiles(std::string const& name, Samples const& samples,
                                           int channels, int bits) {
    std::vector<std::string> files;
    for (int c = 0; c < channels; ++c) {
      files.push_back(mFolder / (name + (c == 0 ? "L.VQD" : "R.VQD")));
      TestSupport::WriteFileBytes(files.back(), EncodeChannel(samples, channels, c, bits));
    }
    return files;
  }

  // What the decoded channels give, interleaved, for `frames` frames.
  Samples Decoded(std::vector<std::string> const& files, size_t frames, int bits) {
    std::vector<Samples> channels;
    for (std::string const& file : files)
      channels.push_back(DecodeChannel(TestSupport::ReadFileBytes(file), frames, bits));
    return VQ7Test::Interleave(channels);
  }

  void ExpectFormat(std::string const& path, long frames, int channels) {
    EXPECT_EQ(std::to_string(frames), Soxi("-s", path)) << path;
    EXPECT_EQ("44100", Soxi("-r", path)) << path;
    EXPECT_EQ("16", Soxi("-b", path)) << path;
    EXPECT_EQ(std::to_string(channels), Soxi("-c", path)) << path;
  }
};

TEST_F(ConverterExport, WavAndAiffHoldExactlyTheDecodedSamples) {
  for (int channels : {1, 2}) {
    Samples const samples = VQ7Test::TestSignal(5000, channels);
    std::string const name = "pad" + std::to_string(channels);
    std::vector<std::string> const files = MakeDeviceFiles(name, samples, channels, 8);
    long const length = 4990;  // not a whole number of blocks
    Samples const expected = Decoded(files, length, 8);
    ASSERT_EQ(static_cast<size_t>(length * channels), expected.size());

    struct {
      SL::CWaveFileFormat format;
      char const* extension;
    } const formats[] = {{SL::CWaveFileFormat::RiffWave, ".wav"},
                         {SL::CWaveFileFormat::FormAiff, ".aiff"}};
    for (auto const& f : formats) {
      std::string const destination = mFolder / (name + f.extension);
      CCountingProgress progress;
      ASSERT_TRUE(CConverter(progress).Export(files, destination, f.format, length, false))
          << destination;
      EXPECT_EQ(length * channels, progress.mRange);
      EXPECT_EQ(length * channels, progress.mPosition);
      ExpectFormat(destination, length, channels);
      EXPECT_EQ(expected, ReadWithSox(destination)) << destination;
    }
  }
}

TEST_F(ConverterExport, LofiHoldsEachGroupOfFourFrames) {
  Samples const samples = VQ7Test::TestSignal(3000, 2);
  std::vector<std::string> const files = MakeDeviceFiles("lofi", samples, 2, 4);
  long const length = 2998;
  Samples const decoded = Decoded(files, length, 4);
  Samples held(decoded.size());
  for (size_t frame = 0; frame < static_cast<size_t>(length); ++frame)
    for (size_t c = 0; c < 2; ++c) held[frame * 2 + c] = decoded[(frame / 4 * 4) * 2 + c];

  std::string const wav = mFolder / "lofi.wav";
  ASSERT_TRUE(CConverter().Export(files, wav, SL::CWaveFileFormat::RiffWave, length, true));
  ExpectFormat(wav, length, 2);
  EXPECT_EQ(held, ReadWithSox(wav));

  std::string const aiff = mFolder / "lofi.aiff";
  ASSERT_TRUE(CConverter().Export(files, aiff, SL::CWaveFileFormat::FormAiff, length, true));
  ExpectFormat(aiff, length, 2);
  EXPECT_EQ(held, ReadWithSox(aiff));
}

TEST_F(ConverterExport, FailuresLeaveNoFileAndCancelIsNoFailure) {
  Samples const samples = VQ7Test::TestSignal(1600, 2);
  std::vector<std::string> files = MakeDeviceFiles("short", samples, 2, 8);
  std::string const destination = mFolder / "out.wav";

  // The right channel holds fewer blocks than the length needs.
  Bytes right = TestSupport::ReadFileBytes(files[1]);
  right.resize(right.size() - 16);
  TestSupport::WriteFileBytes(files[1], right);
  EXPECT_FALSE(CConverter().Export(files, destination, SL::CWaveFileFormat::RiffWave, 1600, false));
  EXPECT_FALSE(Exists(destination));
  EXPECT_TRUE(CConverter().Export(files, destination, SL::CWaveFileFormat::RiffWave, 1584, false));
  ::unlink(destination.c_str());

  EXPECT_FALSE(CConverter().Export({mFolder / "none.VQD"}, destination,
                                   SL::CWaveFileFormat::RiffWave, 16, false));
  EXPECT_FALSE(CConverter().Export(files, mFolder / "no/folder/out.wav",
                                   SL::CWaveFileFormat::RiffWave, 1584, false));
  EXPECT_FALSE(CConverter().Export(files, destination, SL::CWaveFileFormat(), 1584, false));
  EXPECT_FALSE(Exists(destination));
  // Refused before it was opened: a file of the user's by that name stays.
  TestSupport::WriteFileBytes(destination, Bytes(64, 9));
  EXPECT_FALSE(CConverter().Export(files, destination, SL::CWaveFileFormat(), 1584, false));
  EXPECT_EQ(Bytes(64, 9), TestSupport::ReadFileBytes(destination));

  CCountingProgress progress(0);
  EXPECT_TRUE(
      CConverter(progress).Export(files, destination, SL::CWaveFileFormat::FormAiff, 1584, false));
  EXPECT_EQ(0, progress.mPosition);
}

TEST_F(ConverterExport, FullDiskFailsAndKeepsWhatWasThere) {
  Samples const samples = VQ7Test::TestSignal(44100, 2);
  std::string const source = MakeSource("full.wav", samples, 2);
  std::vector<std::string> const files = MakeDeviceFiles("full", samples, 2, 8);
  std::string const volume = mFolder / "volume";
  ASSERT_EQ(0, ::mkdir(volume.c_str(), 0700));
  // Two device files of 44 KB, or a WAV file of 176 KB, on 64 KB, onto files
  // that were there before.
  auto const result = Support::RunWithPrivateTmpfs(volume, "size=64k", [&]() -> std::string {
    std::string failure;
    TestSupport::WriteFileBytes(volume + "/dev0", Bytes(100, 1));
    TestSupport::WriteFileBytes(volume + "/out.wav", Bytes(100, 2));
    if (!CConverter().Import(source, volume + "/dev").empty())
      failure += "the import reported success; ";
    if (CConverter().Export(files, volume + "/out.wav", SL::CWaveFileFormat::RiffWave, 44100,
                            false))
      failure += "the export reported success; ";
    if (Entries(volume).size() != 2) failure += "files were left behind; ";
    if (TestSupport::ReadFileBytes(volume + "/dev0") != Bytes(100, 1) ||
        TestSupport::ReadFileBytes(volume + "/out.wav") != Bytes(100, 2))
      failure += "a file that was there was damaged; ";
    return failure;
  });
  if (!result.available) GTEST_SKIP() << "private mount namespaces are not permitted here";
  EXPECT_EQ("", result.failure);
}

TEST(TempoEstimate, ConverterEstimatesFromTheFrameCount) {
  EXPECT_EQ(1071, CConverter::ComputeBpm(3087));
  EXPECT_EQ(1200, CConverter::ComputeBpm(88200));
  EXPECT_EQ(1020, CConverter::ComputeBpm(0));
  EXPECT_EQ(1020, CConverter::ComputeBpm(-5));
}

}  // namespace
