#include "Platform/Framework/LFileDialog.h"

#include "Support/GuiApplication.h"
#include "Support/AudioFixtures.h"
#include "Support/PrivateSettings.h"
#include "Support/PrivateTempDir.h"

#include <QFileDialog>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// Keeps what the callbacks saw, as the program's import dialog would.
struct CSeen {
  std::vector<int32_t> selectors;
  std::vector<std::string> selected;
  std::string label;
  int16_t buttonType = -1;
  bool painted = false;
};

void Proc(int32_t selector, NavCBRec* params, void* data) {
  CSeen& seen = *static_cast<CSeen*>(data);
  if (selector != nNavEvent) seen.selectors.push_back(selector);
  if (selector == nNavStart) {
    params->context->AddCustomItems(1000);
    seen.label = params->context->GetCustomArea()->GetItemText(1);
    seen.buttonType = params->context->GetCustomArea()->GetItemType(13);
  }
  if (selector == nNavSelectEntry && !params->selection.empty()) seen.selected = params->selection;
  if (selector == nNavEvent && params->window->GetPainter()) seen.painted = true;
}

TEST(FileDialog, TheOpenDialogShowsItsCustomAreaAndReportsTheSelection) {
  Support::LoadAppResources();
  TestSupport::CScratchDir folder, home;
  Support::CScopedEnv const user("HOME", home.Path());
  std::ofstream(folder / "take.wav") << "RIFF";
  CSeen seen;
  UNavServicesDialogs::LFileChooser chooser;
  chooser.SetEventProc(&Proc, &seen);
  chooser.SetDefaultLocation(folder.Path());
  chooser.SetOptionFlags(LFileDialog::nSelectDefaultLocation);
  Support::WhenModalAppears([&](QWidget* modal) {
    QFileDialog* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(nullptr, dialog);
    chooser.GetCustomArea()->grab();
    // The folder is read in the background; the selection shows once it is.
    (void)QTest::qWaitFor([&] {
      dialog->selectFile(QString::fromStdString(folder / "take.wav"));
      return !seen.selected.empty();
    });
    QMetaObject::invokeMethod(dialog, "accept");
  });
  ASSERT_TRUE(chooser.AskOpenFile({}));
  EXPECT_EQ(folder / "take.wav", chooser.GetFilePath(1));
  EXPECT_EQ("Format:", seen.label);
  EXPECT_EQ(4, seen.buttonType);
  EXPECT_TRUE(seen.painted);
  ASSERT_EQ(1u, seen.selected.size());
  EXPECT_EQ(folder / "take.wav", seen.selected[0]);
  ASSERT_GE(seen.selectors.size(), 3u);
  EXPECT_EQ(nNavStart, seen.selectors[1]);
  EXPECT_EQ(nNavTerminate, seen.selectors.back());
  EXPECT_EQ(nullptr, chooser.GetCustomArea());
  // The toolkit keeps its own history of the dialog, never among the user's
  // settings, and in the test process's own folder whatever ran before.
  EXPECT_TRUE(std::filesystem::is_empty(home.Path()));
  std::string const history = QSettings(QSettings::UserScope, "QtProject").fileName().toStdString();
  EXPECT_EQ(Support::PrivateConfigFolder() + "/",
            history.substr(0, Support::PrivateConfigFolder().size() + 1));
}

}  // namespace
