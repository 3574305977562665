// The application object's About box caption and icon, and Help without its
// document.

#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Linux/Application/CBundleIconView.h"
#include "Executable/Linux/Application/CConverterApp.h"
#include "Executable/Linux/MainWindow/CMainWindow.h"
#include "Platform/Audio/VirtualDevice.h"
#include "Platform/Framework/LWindow.h"
#include "Support/GuiApplication.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <filesystem>

namespace {

// The program started from a folder of our own that holds only the pictures.
class Application : public testing::Test {
protected:
  void SetUp() override {
    Support::GuiApplication();
    Support::LoadAppResources();
    std::filesystem::create_directory_symlink(Support::AppDirectory() + "/Bitmap", mDir / "Bitmap");
    mApp.reset(new CConverterApp(boost::shared_ptr<VQ7::CDomain>(new VQ7::CDomain), mDir.Path()));
    mApp->Initialize();
    for (LWindow* window : LWindow::GetWindows())
      if (dynamic_cast<CMainWindow*>(window)) mMain = window->GetWindowWidget();
    ASSERT_TRUE(mMain);
  }
  void TearDown() override { mApp.reset(); }

  Support::CPrivateTempDir mDir;
  Support::CScopedEnv mConfig{"XDG_CONFIG_HOME", mDir / "config"};
  AudioLayer::CVirtualAudio mAudio;
  std::unique_ptr<CConverterApp> mApp;
  QWidget* mMain = nullptr;
};

TEST_F(Application, TheAboutCaptionAddsTheBuildNumberWhileTheModifierIsHeld) {
  for (bool held : {true, false}) {
    if (held) QTest::keyPress(mMain, Qt::Key_Meta, Qt::MetaModifier);
    std::string caption;
    Support::WhenModalAppears([&](QWidget* w) {
      for (LWindow* window : LWindow::GetWindows())
        if (LPane* version = window->FindPaneByID(FourChar("VERS")))
          caption = version->GetDescriptor();
      w->findChild<QPushButton*>()->click();
    });
    mApp->ShowAboutBox();
    if (held) QTest::keyRelease(mMain, Qt::Key_Meta, Qt::NoModifier);
    EXPECT_EQ(std::string("Version " VQ7_PROJECT_VERSION) + (held ? " (1010)" : ""), caption);
  }
}

TEST_F(Application, TheIconLoadsByItsNameWithOrWithoutTheExtensionAndNeverFromNothing) {
  struct {
    char const* name;
    bool loads;
  } const cases[] = {{"App.icns", true}, {"App.ICNS", true}, {"App", true},
                     {"", false},        {".icns", false},   {"Nothing.icns", false}};
  std::unique_ptr<LWindow> box(LWindow::CreateWindow(CConverterApp::nAboutBox, mApp.get()));
  CBundleIconView* icon = FindPaneByIDAs<CBundleIconView>(box.get(), FourChar("ICON"));
  ASSERT_TRUE(icon);
  icon->SetFolder(Support::AppDirectory());
  for (auto const& c : cases) {
    ASSERT_TRUE(icon->LoadBundleIcnsFile("App", false));
    EXPECT_EQ(c.loads, icon->LoadBundleIcnsFile(c.name, true)) << c.name;
    EXPECT_EQ(c.loads, icon->HasIcon()) << c.name << ": a failure leaves no icon";
  }
}

TEST_F(Application, HelpWithoutItsDocumentDoesNothing) {
  QTextBrowser opened;  // stands for the desktop's browser
  QDesktopServices::setUrlHandler("file", &opened, "setSource");
  struct CUnset {
    ~CUnset() { QDesktopServices::unsetUrlHandler("file"); }
  } const unset;
  std::string const help = mApp->HelpPath();
  ASSERT_EQ(mDir / "VQ7Converter Help.html", help);
  for (bool folder : {false, true}) {  // missing, or a folder of that name
    if (folder) std::filesystem::create_directory(help);
    EXPECT_TRUE(mApp->ObeyCommand(LCarbonApp::HelpItemCommand(1), nullptr));
    QTest::qWait(20);
    EXPECT_TRUE(opened.source().isEmpty()) << folder;
  }
}

}  // namespace
