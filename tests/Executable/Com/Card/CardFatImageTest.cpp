#include "Executable/Com/Card/CModelMarshaller.h"
#include "Support/CardFixture.h"
#include "Support/FatImage.h"
#include "Support/GuiApplication.h"
#include "UL/Linux/Progress/CProgressBar.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool Shell(std::string const& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Why FAT images cannot be mounted and checked here, or "".
std::string FatUnavailable() {
  for (char const* tool : {"fsck.vfat", "mcopy"})
    if (!Shell(std::string("command -v ") + tool)) return std::string(tool) + " is not installed";
  return Support::CFatMount::Unavailable();
}

using Support::CFatMount;

// The progress window; once the title or text mArmAt is set, its pump runs
// mAction from a timer, as a volume notice or the user would come.
struct CPumpedProgress : UL::CProgressBar {
  void SetTitle(std::string const& title) override { UL::CProgressBar::SetTitle(Arm(title)); }
  void SetText(std::string const& text) override { UL::CProgressBar::SetText(Arm(text)); }
  std::string const& Arm(std::string const& text) {
    if (text == mArmAt && mAction) QTimer::singleShot(0, std::exchange(mAction, nullptr));
    return text;
  }
  std::string mArmAt;
  std::function<void()> mAction;
};

}  // namespace

// On a plain folder and a FAT16 image through FUSE: a replacement on a nearly
// full card, the card folder under other spellings, an export onto the
// card's volume, a card swapped or chosen again while an import converts, a
// card swapped while it copies (on the folder), a source swapped after it was
// checked, and a delete; the image is then checked unmounted by fsck and read
// back with mtools.
TEST(CardFatImageTest, ChangesOfTheCardOnAFolderAndOnFat) {
  Support::LoadAppResources();
  for (bool const fat : {false, true}) {
    if (fat && !FatUnavailable().empty()) GTEST_SKIP() << FatUnavailable();
    VQ7Test::CCardBench bench;
    VQ7::CController& controller = bench.Controller();
    std::string const images[2] = {bench.mDir / "a.img", bench.mDir / "b.img"};
    std::string const card = bench.mVolume, other = bench.mDir / "OTHER", away = card + ".away";
    VQ7Test::MakeEmptyCard(other);
    std::shared_ptr<void> mounted;  // unmounts as it goes
    if (fat) {
      bench.mVolume = bench.mDir / "mnt";
      ASSERT_TRUE(fs::create_directory(bench.mVolume) && CFatMount::MakeImage(images[0]) &&
                  CFatMount::MakeImage(images[1]));
      if (!CFatMount::Mount(images[1], bench.mVolume))
        GTEST_SKIP() << "mounting through FUSE is refused here";
      mounted.reset(&bench, [](VQ7Test::CCardBench* b) { CFatMount::Unmount(b->mVolume); });
      VQ7Test::MakeEmptyCard(bench.mVolume);
      ASSERT_TRUE(CFatMount::Unmount(bench.mVolume) && CFatMount::Mount(images[0], bench.mVolume));
    }
    VQ7Test::MakeEmptyCard(fat ? bench.mVolume : away);  // away: the card swapped in
    std::string const volume = bench.mVolume;
    auto const swap = [&] {  // takes the card out and puts the other one in
      if (fat) {
        bool const first = Support::Exists(bench.Folder() + "/SMP0003L.VQD");
        ASSERT_TRUE(CFatMount::Unmount(volume) && CFatMount::Mount(images[first ? 1 : 0], volume));
      } else {
        fs::rename(volume, card + ".out");
        fs::rename(away, volume);
        fs::rename(card + ".out", away);
      }
    };
    std::string const big =
        bench.MakeWave("big.wav", "-r 44100 -n -b 16 -c 2 synth 100000s sine 50");
    std::string const small =
        bench.MakeWave("small.wav", "-r 44100 -n -b 16 -c 1 synth 4000s sine 9");
    ASSERT_TRUE(bench.Open(0, 3) && controller.Import(big));

    // Room for the new files and the information file is enough.
    uint64_t const room = 32768;
    if (fat)
      ASSERT_TRUE(Support::WriteBytes(volume + "/filler",
                                      std::string(fs::space(volume).available - room, 'x')));
    else
      bench.mFiles.mFreeBytes = room;
    EXPECT_TRUE(controller.Import(small)) << fat;
    EXPECT_EQ(4000, controller.Model().SampleParameter(0, 3).mLength);
    fs::remove(volume + "/filler");
    bench.mFiles.mFreeBytes = 0;

    // The card folder under any spelling is no destination; a folder of the
    // card's volume is one like any other.
    fs::create_directory_symlink(bench.Folder(), bench.mDir / "link");
    std::string const info = Support::ReadBytes(bench.Info());
    for (std::string const& path :
         {volume + "/tavrin/vq730/wvcinfo0.vqd", bench.Folder() + "/../VQ730/WVCINFO0.VQD",
          std::string(bench.mDir / "link/WVCINFO0.VQD")})
      EXPECT_FALSE(controller.Export(path, SL::CWaveFileFormat::RiffWave)) << path;
    EXPECT_TRUE(info == Support::ReadBytes(bench.Info())) << "the card folder was written";
    EXPECT_TRUE(controller.Export(bench.mDir / "out.wav", SL::CWaveFileFormat::RiffWave));
    EXPECT_TRUE(controller.Export(volume + "/out.wav", SL::CWaveFileFormat::RiffWave)) << fat;
    // (The FUSE driver itself garbles writes that go back into a file.)
    EXPECT_EQ(Support::ReadBytes(bench.mDir / "out.wav").size(),
              Support::ReadBytes(volume + "/out.wav").size());

    // Refused before anything is committed to either card.
    auto const progress = boost::make_shared<CPumpedProgress>();
    bench.mDomain.mProgress = progress;
    std::string const swapped = bench.mDir / "swapped.wav";
    auto const unchanged = [&](std::string const& folder, std::string const& before) {
      return Support::ReadBytes(folder + "/WVCINFO0.VQD") == before &&
             !Support::Exists(folder + "/SMP0004L.VQD") && VQ7Test::TemporariesIn(folder).empty();
    };
    // The card put in holds, under the name of the first copy, a file left by
    // an import cut short: by its files alone it passes for the card begun on.
    std::string const firstCopied = "___VQ7_TEMPORARY_SAMPLE_FILE___0 ";
    auto const swapOntoLeftover = [&] {
      Support::WriteBytes(VQ7Test::CardFolderOf(away) + "/___VQ7_TEMPORARY_SAMPLE_FILE___0", "x");
      swap();
    };
    struct {
      char const* armAt;
      std::function<void()> action;
      std::string volumeAfter, otherFolder;  // the other card's folder, to check
      // A mounted volume cannot go while a file on it is open, as it is
      // throughout the copy.
      bool onFat;
      std::string leftOnFirst;  // what the first card keeps until it is opened again
    } const cases[] = {
        {"Converting...", [&] { controller.SelectCurrentVolume(other, 0); }, other,
         VQ7Test::CardFolderOf(other), true, ""},
        {"Converting...", swap, volume, bench.Folder(), true, ""},
        {"Copying... 1/2", swapOntoLeftover, volume, bench.Folder(), false, firstCopied},
        {"Importing...", [&] { fs::rename(small, swapped); }, volume, "", true, ""}};
    for (auto const& c : cases) {
      if (fat && !c.onFat) continue;
      ASSERT_TRUE(bench.Open(0, 4));
      fs::copy_file(big, swapped, fs::copy_options::overwrite_existing);
      bench.Messages().clear();
      progress->mArmAt = c.armAt;
      progress->mAction = c.action;
      std::string const where = c.volumeAfter + (fat ? " on FAT" : "");
      EXPECT_FALSE(controller.Import(swapped)) << where;
      EXPECT_EQ(std::vector<std::string>{"The import failed."}, bench.Messages()) << where;
      EXPECT_EQ(c.volumeAfter, controller.Model().mVolume) << where;
      EXPECT_TRUE(c.otherFolder.empty() || unchanged(c.otherFolder, std::string(2944, 0)));
      if (c.otherFolder == bench.Folder()) swap();
      EXPECT_EQ(c.leftOnFirst, VQ7Test::TemporariesIn(bench.Folder())) << where;
      if (!c.leftOnFirst.empty()) {
        ASSERT_TRUE(bench.Open(0, 4));  // which clears them
      }
      EXPECT_TRUE(unchanged(bench.Folder(), info)) << where;
    }

    ASSERT_TRUE(bench.Open(0, 5) && controller.Import(big) && controller.Delete(5));
    std::ostringstream model;
    VQ7::CModelMarshaller().Marahsll(controller.Model())->Write(model);
    std::map<std::string, std::string> const files{
        {"WVCINFO0.VQD", model.str()},
        {"SMP0003L.VQD", Support::ReadBytes(bench.Folder() + "/SMP0003L.VQD")}};
    EXPECT_EQ(4000u, files.at("SMP0003L.VQD").size()) << "the mono file is exactly as long";
    if (!fat) continue;
    controller.SelectCurrentVolume("", 0);
    mounted.reset();
    EXPECT_TRUE(Shell("fsck.vfat -n '" + images[0] + "'")) << "fsck finds faults";
    // The FAT's clean-shutdown bit the FUSE driver leaves set is no concern.
    std::string const back = bench.mDir / "back";
    ASSERT_TRUE(Shell("mkdir '" + back + "' && MTOOLS_SKIP_CHECK=1 mcopy -n -i '" + images[0] +
                      "' ::/TAVRIN/VQ730/* '" + back + "'"));
    std::map<std::string, std::string> read;
    for (auto const& entry : fs::directory_iterator(back))
      read[entry.path().filename()] = Support::ReadBytes(entry.path());
    EXPECT_EQ(files, read) << "deleted, replaced and temporary files are gone";
  }
}
