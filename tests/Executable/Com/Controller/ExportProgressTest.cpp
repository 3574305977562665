// The progress texts of an export: a failed conversion is told without the
// last step being announced.

#include "Executable/Com/Controller/CController.h"

#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

namespace {

struct CTextRecordingProgress : UL::IProgress {
  void SetText(std::string const& text) override { mTexts.push_back(text); }
  std::vector<std::string> mTexts;
};

}  // namespace

TEST(ExportProgressTest, AFailedConversionIsToldBeforeAnyFinalizing) {
  std::vector<unsigned char> const coded =
      VQ7Test::EncodeChannel(VQ7Test::TestSignal(1000, 1), 1, 0, 8);
  std::string const whole(coded.begin(), coded.end());
  struct {
    char const* name;
    std::string file;  // the pad's L file; none when empty
    bool exported;
  } const cases[] = {{"no file", "", false},
                     {"a short file", whole.substr(0, whole.size() / 2), false},
                     {"a whole file", whole, true}};
  for (auto const& c : cases) {
    VQ7Test::CCardBench bench;
    if (!c.file.empty()) Support::WriteBytes(bench.Folder() + "/SMP0000L.VQD", c.file);
    // Bank 0 pad 0: 1000 frames, mono, 8-bit coding.
    Support::WriteBytes(bench.Info(), std::string(10, '\0') + "\x03\xE8" + std::string(2932, '\0'));
    ASSERT_TRUE(bench.Open(0, 0)) << c.name;
    auto const progress = boost::make_shared<CTextRecordingProgress>();
    bench.mDomain.mProgress = progress;
    std::string const out = bench.mDir / "out.wav";
    EXPECT_EQ(c.exported, bench.Controller().Export(out, SL::CWaveFileFormat::RiffWave)) << c.name;
    std::vector<std::string> const texts =
        c.exported ? std::vector<std::string>{"Converting...", "Finalizing..."}
                   : std::vector<std::string>{"Converting..."};
    EXPECT_EQ(texts, progress->mTexts) << c.name;
    EXPECT_EQ(
        c.exported ? std::vector<std::string>{} : std::vector<std::string>{"The export failed."},
        bench.Messages())
        << c.name;
    EXPECT_EQ(c.exported, Support::Exists(out)) << c.name;
    EXPECT_EQ("", VQ7Test::TemporariesIn(bench.mDir.Path())) << c.name;
  }
}
