// The import dialog's value texts for files that state odd sampling rates,
// and the free space it shows: the card's, wherever the browsed file lies.

#include "Executable/Linux/FileDialog/CFileChooser.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "GT/Com/Data/Numerics.h"
#include "Support/CardFixture.h"
#include "Support/FatImage.h"
#include "Support/FileBytes.h"
#include "Support/GuiApplication.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <limits>
#include <sys/statvfs.h>

namespace {

// A lister that offers the mounts of `table` below `root` as the volumes.
struct CListedVolumes {
  CListedVolumes(std::string const& table, std::string const& root) {
    VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>(new VQ7::CVolumeLister(
        [table] { return table; }, [](std::string const&) { return 1u << 30; }, {root})));
  }
  ~CListedVolumes() { VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>()); }
};

std::string MountLine(long id, std::string const& point) {
  return std::to_string(id) + " 1 0:1 / " + point + " rw - tmpfs x rw\n";
}

// A 16-bit AIFF made by sox whose rate field is replaced by `rate` (ten bytes).
bool MakeAiff(VQ7Test::CCardBench& bench, std::string const& name, std::string const& rate) {
  std::string const path = bench.MakeWave(name, "-n -r 44100 -b 16 -c 1 synth 0.1 sine 440");
  std::string bytes = Support::ReadBytes(path);
  std::string::size_type const common = bytes.find("COMM", 12);
  if (path.empty() || common == std::string::npos || bytes.size() < common + 26) return false;
  bytes.replace(common + 16, 10, rate);
  return Support::WriteBytes(path, bytes);
}

std::string Extended(double value) {
  char bytes[10];
  GT::ConvertToIeeeExtended(value, bytes);
  return std::string(bytes, sizeof bytes);
}

struct CShown {
  std::string frequency;
  bool playOffered;
};

// What the dialog shows for each file typed into its name field.
std::vector<CShown> ShowEach(CFileChooser& chooser, std::vector<std::string> const& files) {
  std::vector<CShown> shown;
  Support::WhenModalAppears([&](QWidget* modal) {
    QLineEdit* field = modal->findChild<QLineEdit*>("fileNameEdit");
    QPushButton* play = modal->findChild<QPushButton*>("item13");
    if (!field || !play) return ADD_FAILURE() << "no name field or Play button";
    for (std::string const& file : files) {
      field->setText(QString::fromStdString(file));
      shown.push_back({chooser.GetStaticText(CFileChooser::nFrequency), play->isEnabled()});
    }
    static_cast<QDialog*>(modal)->reject();
  });
  EXPECT_FALSE(chooser.AskOpenFile(LFileTypeList()));
  return shown;
}

TEST(ImportDialogTexts, TheFrequencyIsTheStatedRateAndOnlyAPlayableRateOffersPlay) {
  Support::GuiApplication();
  Support::LoadAppResources();
  VQ7Test::CCardBench bench;
  CListedVolumes const volumes(MountLine(40, bench.mVolume), bench.mDir.Path());
  struct {
    char const* name;
    std::string rate;  // the ten bytes of the file's rate
    char const* frequency;
    bool playOffered;
  } const cases[] = {
      {"inf.aif", Extended(std::numeric_limits<double>::infinity()), "", false},
      {"nan.aif", std::string("\x7F\xFF\xC0\0\0\0\0\0\0\0", 10), "", false},
      {"huge.aif", Extended(1e30), "1000000000000000019884624838656", false},
      {"zero.aif", Extended(0.0), "0", false},
      {"fraction.aif", Extended(22050.75), "22050", true},
      {"cd.aif", Extended(44100.0), "44100", true},
  };
  std::vector<std::string> files;
  for (auto const& c : cases) {
    ASSERT_TRUE(MakeAiff(bench, c.name, c.rate)) << c.name;
    files.push_back(bench.mDir / c.name);
  }
  CFileChooser chooser(bench.Controller(), bench.mDomain.Player(), 40);
  std::vector<CShown> const shown = ShowEach(chooser, files);
  ASSERT_EQ(files.size(), shown.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(cases[i].frequency, shown[i].frequency);
    EXPECT_EQ(cases[i].playOffered, shown[i].playOffered);
  }
}

TEST(ImportDialogTexts, TheFreeSpaceIsTheCardsWhileAnotherVolumeIsBrowsed) {
  Support::GuiApplication();
  Support::LoadAppResources();
  VQ7Test::CCardBench bench;
  std::string const card = bench.mDir / "FATCARD";
  Support::CFatMount const fat(bench.mDir / "fat.img", card);
  if (!fat.IsMounted()) GTEST_SKIP() << fat.WhyNot();
  VQ7Test::MakeEmptyCard(card);
  std::string const wave = bench.MakeWave("take.wav", "-n -r 44100 -b 16 -c 2 synth 0.3 sine 440");
  ASSERT_FALSE(wave.empty());
  struct statvfs onCard, browsed;
  ASSERT_EQ(0, ::statvfs(card.c_str(), &onCard));
  ASSERT_EQ(0, ::statvfs(wave.c_str(), &browsed));
  ASSERT_NE(onCard.f_fsid, browsed.f_fsid) << "the browsed file must lie on another volume";
  CListedVolumes const volumes(MountLine(40, card), bench.mDir.Path());

  CFileChooser chooser(bench.Controller(), bench.mDomain.Player(), 40);
  std::string shown, described;
  Support::WhenModalAppears([&](QWidget* modal) {
    modal->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(wave));
    described = chooser.GetStaticText(CFileChooser::nFormat);
    shown = chooser.GetStaticText(CFileChooser::nFreeSpace);
    static_cast<QDialog*>(modal)->reject();
  });
  EXPECT_FALSE(chooser.AskOpenFile(LFileTypeList()));
  EXPECT_EQ("Windows RIFF Wave", described) << "the browsed file was selected";
  ASSERT_EQ(0, ::statvfs(card.c_str(), &onCard));
  EXPECT_EQ(CFileDialogBase::GetByteSizeStr(static_cast<unsigned long long>(onCard.f_bavail) *
                                            onCard.f_frsize),
            shown);
}

}  // namespace
