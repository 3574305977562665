// The export dialog's names near the file-name limit, with the extension of
// the chosen format kept whole, and the preferences a confirmation writes and
// a cancel leaves alone.

#include "Executable/Linux/FileDialog/CFileDesignator.h"
#include "GT/Linux/CIniProfile.h"
#include "Support/CardFixture.h"
#include "Support/GuiApplication.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>

#include <filesystem>

namespace {

std::string Times(std::string const& text, int times) {
  std::string all;
  while (times-- > 0) all += text;
  return all;
}

std::string const a = "\xe3\x81\x82";  // three bytes in UTF-8
std::string const e = "\xc3\xa9";      // two

TEST(ExportDialog, AFormatChangeKeepsTheWholeExtensionAndCutsTheNameBetweenCharacters) {
  struct {
    std::string name;
    bool aiff;
    std::string swapped;
  } const cases[] = {
      {Times("n", 253), false, Times("n", 251) + ".wav"},
      {Times("n", 253), true, Times("n", 251) + ".aif"},
      {Times("n", 251), false, Times("n", 251) + ".wav"},  // exactly at the limit
      {Times("n", 252) + ".aif", false, Times("n", 251) + ".wav"},
      {Times(a, 84), false, Times(a, 83) + ".wav"},  // 251 bytes would end inside a character
      {Times(a, 84) + ".wav", true, Times(a, 83) + ".aif"},
      {"x" + Times(a, 83), true, "x" + Times(a, 83) + ".aif"},  // 254 bytes fit
      {Times(e, 126), false, Times(e, 125) + ".wav"},
      {"take.1.aif", false, "take.1.wav"},
  };
  for (auto const& c : cases) {
    std::string const swapped =
        CFileDesignator::CutName(CFileDesignator::SwapExtension(c.name, c.aiff));
    EXPECT_EQ(c.swapped, swapped) << c.name.size() << " bytes to " << (c.aiff ? "AIFF" : "WAV");
  }
}

TEST(ExportDialog, AStoredNameBeyondTheLimitIsProposedWithItsExtensionWhole) {
  struct {
    std::string name, proposed;
  } const cases[] = {
      {Times("n", 300) + ".aif", Times("n", 251) + ".aif"},
      {Times(a, 90) + ".wav", Times(a, 83) + ".wav"},
      {Times("n", 300), Times("n", 255)},  // without an extension, just cut
      {Times("n", 251) + ".aif", Times("n", 251) + ".aif"},
  };
  for (auto const& c : cases) EXPECT_EQ(c.proposed, CFileDesignator::CutName(c.name));
}

struct CRound {
  char const* what;
  char const* storedName;  // null: nothing stored
  long storedType;
  int choice;         // the popup index the user picks (0 AIFF, 1 WAV), -1 none
  char const* typed;  // the name typed before confirming; null keeps the proposal
  bool confirm;
  std::string proposed;  // the name field after the choice
  std::string name;      // "ExportFileName" afterwards ("-" absent)
  long type;             // "ExportFileType" afterwards (-1 absent)
};

TEST(ExportDialog, ConfirmingStoresNameAndTypeAndCancellingLeavesBoth) {
  Support::GuiApplication();
  Support::LoadAppResources();
  VQ7Test::CCardBench bench;
  ASSERT_TRUE(bench.Open());
  std::string const long253 = Times("n", 253);
  CRound const rounds[] = {
      {"nothing stored, cancel", nullptr, 0, -1, nullptr, false, "Untitled.aif", "-", -1},
      {"cancel after a choice", "loop.wav", 2, 0, nullptr, false, "loop.aif", "loop.wav", 2},
      {"cancel a typed name", "take.aif", 1, -1, "other.wav", false, "take.aif", "take.aif", 1},
      {"confirm as proposed", nullptr, 0, -1, nullptr, true, "Untitled.aif", "Untitled.aif", 1},
      {"confirm WAV", "take.aif", 1, 1, nullptr, true, "take.wav", "take.wav", 2},
      {"confirm AIFF", "drums", 0, 0, nullptr, true, "drums.aif", "drums.aif", 1},
      {"confirm a typed extension", "beat.aif", 1, -1, "mine.WAV", true, "beat.aif", "mine.WAV", 1},
      {"confirm a long name as WAV", long253.c_str(), 1, 1, nullptr, true, Times("n", 251) + ".wav",
       Times("n", 251) + ".wav", 2},
  };
  for (CRound const& r : rounds) {
    SCOPED_TRACE(r.what);
    std::string const folder = bench.mDir / ("round" + std::to_string(&r - rounds));
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    Support::CScopedEnv const config("XDG_CONFIG_HOME", folder + "/config");
    GT::CIniProfile profile;
    if (r.storedName) {
      profile.Write(CFileDesignator::sExportFileNameKey, std::string(r.storedName));
      profile.Write(CFileDesignator::sExportFileTypeKey, r.storedType);
    }
    std::string proposed;
    Support::WhenModalAppears([&](QWidget* modal) {
      QFileDialog* dialog = qobject_cast<QFileDialog*>(modal);
      QComboBox* popup = modal->findChild<QComboBox*>("item6");
      QLineEdit* field = modal->findChild<QLineEdit*>("fileNameEdit");
      if (!dialog || !popup || !field) return ADD_FAILURE() << "not the export dialog";
      if (r.choice >= 0 && r.choice != popup->currentIndex()) {
        popup->setCurrentIndex(r.choice);
        emit popup->activated(r.choice);
      }
      proposed = field->text().toStdString();
      if (!r.confirm) {
        if (r.typed) field->setText(r.typed);
        return dialog->reject();
      }
      dialog->setDirectory(QString::fromStdString(folder));
      dialog->selectFile(QString::fromStdString(folder + "/" + (r.typed ? r.typed : proposed)));
      static_cast<QDialog*>(dialog)->accept();
    });
    CFileDesignator designator(&bench.mDomain);
    EXPECT_EQ(r.confirm, designator.AskDesignateFile());
    EXPECT_EQ(r.proposed, proposed);
    EXPECT_EQ(r.name, profile.Read(CFileDesignator::sExportFileNameKey, std::string("-")));
    EXPECT_EQ(r.type, profile.Read(CFileDesignator::sExportFileTypeKey, -1L));
  }
}

}  // namespace
