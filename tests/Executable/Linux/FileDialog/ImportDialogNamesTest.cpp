// The names the import dialog's user points at. Several names in the name
// field, where one file is allowed: no file is described, none can be
// previewed, and Open chooses nothing, however the file described before
// came into the field. A name that is not valid UTF-8: the toolkit leaves
// the file out, and never takes it for the file whose name reads the same.

#include "Executable/Linux/FileDialog/CFileChooser.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "Support/CardFixture.h"
#include "Support/GuiApplication.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Typed key by key, or pasted at once, over what the field holds.
void Type(QLineEdit* field, QString const& text, bool pasted) {
  field->setFocus();
  field->selectAll();
  if (pasted) {
    field->insert(text);
  } else {
    field->del();
    QTest::keyClicks(field, text);
  }
}

class ImportDialog : public testing::Test {
protected:
  void SetUp() override {
    Support::GuiApplication();
    Support::LoadAppResources();
    VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>(new VQ7::CVolumeLister(
        [this] { return "40 1 0:1 / " + mBench.mVolume + " rw - tmpfs x rw\n"; },
        [](std::string const&) { return 1u << 30; }, {mBench.mDir.Path()})));
  }
  void TearDown() override {
    VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>());
  }

  // Runs the dialog on `folder`, with the name field focused as a user
  // typing would have it; true when a file was chosen.
  bool Run(std::string const& folder, std::function<void(QFileDialog*, QLineEdit*)> const& user) {
    mChooser.reset(new CFileChooser(mBench.Controller(), mBench.mDomain.Player(), 40));
    mChooser->SetDefaultLocation(folder);
    mChooser->SetOptionFlags(LFileDialog::nSelectDefaultLocation);
    Support::WhenModalAppears([&](QWidget* modal) {
      QFileDialog* dialog = qobject_cast<QFileDialog*>(modal);
      QLineEdit* field = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
      if (!field) {
        ADD_FAILURE() << "no file dialog with a name field";
        modal->close();
        return;
      }
      dialog->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
      user(dialog, field);
      if (dialog->isVisible()) dialog->reject();
    });
    return mChooser->AskOpenFile(LFileTypeList());
  }
  std::string Text(short id) const { return mChooser->GetStaticText(id); }
  // The list's names as bytes, once it shows at least `least` of them.
  static std::vector<std::string> Listed(QFileDialog* dialog, int least) {
    QFileSystemModel* model = dialog->findChild<QFileSystemModel*>();
    QModelIndex const folder = model->index(dialog->directory().absolutePath());
    (void)QTest::qWaitFor([&] { return model->rowCount(folder) >= least; });
    std::vector<std::string> names;
    for (int row = 0; row < model->rowCount(folder); ++row)
      names.push_back(
          QFile::encodeName(model->index(row, 0, folder).data().toString()).toStdString());
    std::sort(names.begin(), names.end());
    return names;
  }
  // A click on the file's row in the list.
  static void Pick(QFileDialog* dialog, std::string const& path) {
    QListView* list = dialog->findChild<QListView*>("listView");
    QFileSystemModel* model = dialog->findChild<QFileSystemModel*>();
    QModelIndex row;
    ASSERT_TRUE(QTest::qWaitFor([&] {
      QModelIndex const source = model->index(QString::fromStdString(path));
      row = source.isValid() ? list->model()->index(source.row(), 0, list->rootIndex())
                             : QModelIndex();
      return row.isValid() && list->visualRect(row).isValid();
    }));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
  }
  static QPushButton* OpenButton(QFileDialog* dialog) {
    return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
  }

  VQ7Test::CCardBench mBench;
  std::unique_ptr<CFileChooser> mChooser;
};

struct CNamesCase {
  char const* name;
  bool picked;        // the first file picked in the list, else typed
  bool pasted;        // the names put in at once, else typed key by key
  char const* names;  // then put over it
};

CNamesCase const kNamesCases[] = {
    {"PickedThenTwoOthersPasted", true, true, "\"b.wav\" \"c.wav\""},
    {"TypedThenTwoOthersPasted", false, true, "\"b.wav\" \"c.wav\""},
    {"PickedThenTwoOthersTyped", true, false, "\"b.wav\" \"c.wav\""},
    {"TypedThenItselfAndAnotherTyped", false, false, "\"a.wav\" \"b.wav\""},
    {"PickedThenTwoUnknownPasted", true, true, "\"x.wav\" \"y.wav\""},
};

void PrintTo(CNamesCase const& c, std::ostream* out) { *out << c.name; }

class ImportDialogNames : public ImportDialog, public testing::WithParamInterface<CNamesCase> {};

TEST_P(ImportDialogNames, SeveralNamesDescribeNothingAndOpenNothing) {
  CNamesCase const& c = GetParam();
  for (char const* name : {"a.wav", "b.wav", "c.wav"})
    ASSERT_NE("", mBench.MakeWave(name, "-n -r 44100 -b 16 -c 1 synth 0.1 sine 440"));
  std::string before;  // the format text of the first file
  std::vector<std::string> texts;
  bool playOffered = true, openClosed = false;
  bool const chosen = Run(mBench.mDir.Path(), [&](QFileDialog* dialog, QLineEdit* field) {
    if (c.picked)
      Pick(dialog, mBench.mDir / "a.wav");
    else
      Type(field, "a.wav", false);
    before = Text(CFileChooser::nFormat);
    Type(field, c.names, c.pasted);
    for (short id = CFileChooser::nFormat; id <= CFileChooser::nConvertSize; ++id)
      texts.push_back(Text(id));
    playOffered = dialog->findChild<QPushButton*>("item13")->isEnabled();
    OpenButton(dialog)->click();
    openClosed = !dialog->isVisible();
    if (openClosed) return;
    // One name again: that file, and no other, is opened.
    Type(field, "c.wav", true);
    OpenButton(dialog)->click();
  });
  EXPECT_EQ("Windows RIFF Wave", before) << "the first file was described";
  EXPECT_EQ(std::vector<std::string>(5), texts);
  EXPECT_FALSE(playOffered);
  EXPECT_FALSE(openClosed) << mChooser->GetFilePath(1);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(mBench.mDir / "c.wav", mChooser->GetFilePath(1));
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportDialogNames, testing::ValuesIn(kNamesCases),
                         [](testing::TestParamInfo<CNamesCase> const& info) {
                           return std::string(info.param.name);
                         });

// The toolkit decodes names as UTF-8 and leaves out a file whose name does
// not decode; what must hold is that the file whose name reads the same
// (the bad bytes shown as U+FFFD) is described and opened as itself.
TEST_F(ImportDialog, ANameThatIsNotUtf8IsLeftOutAndNeverTakenForItsLookAlike) {
  std::string const folder = mBench.mDir / "names";
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
  std::string const odd = folder + "/odd\xff\xfe.wav";
  std::string const lookAlike = folder + "/odd\xef\xbf\xbd\xef\xbf\xbd.wav";
  std::string const made =
      mBench.MakeWave("names/made.wav", "-n -r 48000 -b 16 -c 2 synth 0.1 sine 440");
  ASSERT_NE("", made);
  if (std::rename(made.c_str(), odd.c_str()) != 0)
    GTEST_SKIP() << "the file system here refuses names that are not UTF-8";
  ASSERT_NE("", mBench.MakeWave("names/plain.wav", "-n -r 44100 -b 16 -c 1 synth 0.1 sine 440"));
  ASSERT_NE("", mBench.MakeWave("names/odd\xef\xbf\xbd\xef\xbf\xbd.wav",
                                "-n -r 32000 -b 16 -c 1 synth 0.1 sine 440"));
  for (bool const picked : {true, false}) {
    SCOPED_TRACE(picked ? "picked" : "typed");
    std::vector<std::string> listed;
    std::vector<std::string> described;
    bool const chosen = Run(folder, [&](QFileDialog* dialog, QLineEdit* field) {
      listed = Listed(dialog, 2);
      if (picked)
        Pick(dialog, lookAlike);
      else
        Type(field, QString::fromUtf8("odd\uFFFD\uFFFD.wav"), true);
      described = {Text(CFileChooser::nFrequency), Text(CFileChooser::nChannels)};
      OpenButton(dialog)->click();
    });
    EXPECT_EQ((std::vector<std::string>{"odd\xef\xbf\xbd\xef\xbf\xbd.wav", "plain.wav"}), listed);
    EXPECT_EQ((std::vector<std::string>{"32000", "1"}), described);
    EXPECT_TRUE(chosen);
    EXPECT_EQ(lookAlike, mChooser->GetFilePath(1));
  }
}

}  // namespace
