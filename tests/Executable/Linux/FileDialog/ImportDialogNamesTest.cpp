// The import dialog with several names in its name field, where one file is
// allowed: no file is described, none can be previewed, and Open chooses
// nothing, however the file described before came into the field.

#include "Executable/Linux/FileDialog/CFileChooser.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "Support/CardFixture.h"
#include "Support/GuiApplication.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

namespace {

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

struct CShown {
  std::string before;  // the format text of the first file
  std::vector<std::string> texts;
  bool playOffered = true;
  bool openClosed = false;
};

void Type(QLineEdit* field, QString const& text, bool pasted = false) {
  field->setFocus();
  field->selectAll();
  if (pasted) {
    field->insert(text);
  } else {
    field->del();
    QTest::keyClicks(field, text);
  }
}

class ImportDialogNames : public testing::TestWithParam<CNamesCase> {};

TEST_P(ImportDialogNames, SeveralNamesDescribeNothingAndOpenNothing) {
  CNamesCase const& c = GetParam();
  Support::GuiApplication();
  Support::LoadAppResources();
  VQ7Test::CCardBench bench;
  VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>(
      new VQ7::CVolumeLister([&] { return "40 1 0:1 / " + bench.mVolume + " rw - tmpfs x rw\n"; },
                             [](std::string const&) { return 1u << 30; }, {bench.mDir.Path()})));
  for (char const* name : {"a.wav", "b.wav", "c.wav"})
    ASSERT_NE("", bench.MakeWave(name, "-n -r 44100 -b 16 -c 1 synth 0.1 sine 440"));

  CFileChooser chooser(bench.Controller(), bench.mDomain.Player(), 40);
  chooser.SetDefaultLocation(bench.mDir.Path());
  chooser.SetOptionFlags(LFileDialog::nSelectDefaultLocation);
  CShown shown;
  Support::WhenModalAppears([&](QWidget* modal) {
    QFileDialog* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_TRUE(dialog);
    QLineEdit* field = dialog->findChild<QLineEdit*>("fileNameEdit");
    QListView* list = dialog->findChild<QListView*>("listView");
    QFileSystemModel* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_TRUE(field && list && model);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    QString const first = QString::fromStdString(bench.mDir / "a.wav");
    if (c.picked) {
      QModelIndex row;
      ASSERT_TRUE(QTest::qWaitFor([&] {
        QModelIndex const source = model->index(first);
        row = source.isValid() ? list->model()->index(source.row(), 0, list->rootIndex())
                               : QModelIndex();
        return row.isValid() && list->visualRect(row).isValid();
      }));
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
    } else {
      Type(field, "a.wav");
    }
    shown.before = chooser.GetStaticText(CFileChooser::nFormat);
    Type(field, c.names, c.pasted);
    for (short id = CFileChooser::nFormat; id <= CFileChooser::nConvertSize; ++id)
      shown.texts.push_back(chooser.GetStaticText(id));
    shown.playOffered = dialog->findChild<QPushButton*>("item13")->isEnabled();
    QPushButton* open = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
    open->click();
    shown.openClosed = !dialog->isVisible();
    if (shown.openClosed) return;
    // One name again: that file, and no other, is opened.
    Type(field, "c.wav", true);
    open->click();
    if (dialog->isVisible()) dialog->reject();
  });
  bool const chosen = chooser.AskOpenFile(LFileTypeList());
  EXPECT_EQ("Windows RIFF Wave", shown.before) << "the first file was described";
  EXPECT_EQ(std::vector<std::string>(5), shown.texts);
  EXPECT_FALSE(shown.playOffered);
  EXPECT_FALSE(shown.openClosed) << chooser.GetFilePath(1);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(bench.mDir / "c.wav", chooser.GetFilePath(1));
  VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>());
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportDialogNames, testing::ValuesIn(kNamesCases),
                         [](testing::TestParamInfo<CNamesCase> const& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
