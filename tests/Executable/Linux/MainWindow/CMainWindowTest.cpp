// The application on the offscreen platform with the virtual audio device and
// a card folder: start-up from the resources, pads under the pointer,
// commands, volume events, and the preferences of the next start.

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Controller/CPlayer.h"
#include "Executable/Linux/Application/CConverterApp.h"
#include "Executable/Linux/MainWindow/CMainWindow.h"
#include "Executable/Linux/MainWindow/CVolumePopup.h"
#include "Executable/Linux/MainWindow/CWindowPosition.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "GT/Linux/CIniProfile.h"
#include "Platform/Audio/VirtualDevice.h"
#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LPopupButton.h"
#include "Support/CardFixture.h"
#include "Support/GuiApplication.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

PaneIDT const kImport = FourChar("Impt"), kExport = FourChar("Expt"), kDelete = FourChar("Delt");

// Pad 0 of bank C holds a mono sample of 0.5 s; the rest are empty.
void MakeCard(std::string const& volume) {
  VQ7Test::MakeEmptyCard(volume);
  std::string const folder = VQ7Test::CardFolderOf(volume);
  std::fstream info(folder + "/WVCINFO0.VQD", std::ios::in | std::ios::out | std::ios::binary);
  char const length[8] = {0, 0, 0x56, 0x30, 0, 0, 0x56, 0x30};  // 22064 frames
  info.seekp(4);
  info.write(length, sizeof length);
  std::ofstream(folder + "/SMP0000L.VQD", std::ios::binary) << std::string(22064, '\0');
}

class MainWindow : public testing::Test {
protected:
  void SetUp() override {
    Support::GuiApplication();
    Support::LoadAppResources();
    if (char const* old = std::getenv("XDG_CONFIG_HOME")) mOldConfig = old;
    ::setenv("XDG_CONFIG_HOME", (mDir / "config").c_str(), 1);
    MakeCard(Card());
    mTable = Line(40, Card());
    VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>(new VQ7::CVolumeLister(
        [this] { return mTable; }, [](std::string const&) { return 1u << 30; }, {mDir.Path()})));
  }
  void TearDown() override {
    Quit();
    VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>());
    if (mOldConfig.empty())
      ::unsetenv("XDG_CONFIG_HOME");
    else
      ::setenv("XDG_CONFIG_HOME", mOldConfig.c_str(), 1);
  }

  static std::string Line(long id, std::string const& point) {
    return std::to_string(id) + " 1 0:1 / " + point + " rw - tmpfs x rw\n";
  }
  std::string Card() const { return mDir / "CARD"; }

  void Start(bool withCard = true) {
    if (withCard) {
      GT::CIniProfile profile;
      profile.Write("Preference/VolumeName", Card());
    }
    mApp.reset(new CConverterApp(boost::shared_ptr<VQ7::CDomain>(new VQ7::CDomain),
                                 Support::AppDirectory()));
    mApp->Initialize();
    for (LWindow* window : LWindow::GetWindows())
      if (CMainWindow* main = dynamic_cast<CMainWindow*>(window)) mWindow = main;
    ASSERT_TRUE(mWindow);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mWindow->GetWindowWidget()));
  }
  void Quit() {
    mApp.reset();
    mWindow = nullptr;
  }
  VQ7::CController& Controller() { return mApp->GetDomain()->Controller(); }
  VQ7::CPlayer& Player() { return mApp->GetDomain()->Player(); }
  QPoint PadCentre(long id) {
    VQ7::CPadMatrix& matrix = mWindow->GetPadMatrix();
    GT::CRectT<long> const r = matrix.GetPad(matrix.RowOf(id), matrix.ColumnOf(id))->GetRectangle();
    return QPoint(static_cast<int>((r.left + r.right) / 2),
                  static_cast<int>((r.top + r.bottom) / 2));
  }
  bool Enabled(PaneIDT id) { return mWindow->FindPaneByID(id)->IsEnabled(); }
  std::string Enabling() {
    return std::string(Enabled(kImport) ? "I" : "-") + (Enabled(kExport) ? "E" : "-") +
           (Enabled(kDelete) ? "D" : "-");
  }
  boost::shared_ptr<VQ7::APad> Pad(long id) {
    VQ7::CPadMatrix& matrix = mWindow->GetPadMatrix();
    return matrix.GetPad(matrix.RowOf(id), matrix.ColumnOf(id));
  }
  // Waits up to `limit` for a condition, letting the event loop run.
  template <typename F>
  bool Within(std::chrono::milliseconds limit, F const& condition) {
    auto const end = Clock::now() + limit;
    while (!condition()) {
      if (Clock::now() > end) return false;
      QTest::qWait(10);
    }
    return true;
  }

  Support::CPrivateTempDir mDir;
  AudioLayer::CVirtualAudio mAudio;
  std::string mOldConfig;
  std::string mTable;
  std::unique_ptr<CConverterApp> mApp;
  CMainWindow* mWindow = nullptr;
};

TEST_F(MainWindow, RestoresVolumeBankAndPositionAcrossTwoRestarts) {
  GT::CIniProfile profile;
  profile.Write("Preference/BankId", 2L);
  Start();
  EXPECT_EQ(Card(), Controller().GetCurrentVolumeName());
  EXPECT_EQ(3, FindPaneByIDAs<LPopupButton>(mWindow, FourChar("Bank"))->GetValue());
  EXPECT_EQ(Card(), FindPaneByIDAs<CVolumePopup>(mWindow, FourChar("Vpop"))->GetVolumePath());
  mWindow->GetWindowWidget()->move(0, 0);
  QRect const first = mWindow->GetWindowWidget()->geometry();
  // The close box quits; the window stays until the application goes.
  mWindow->AttemptClose();
  Quit();
  EXPECT_EQ(VQ7::CWindowPosition::Pack(first.left(), first.top()),
            profile.Read("MainWindowPos", VQ7::CWindowPosition::nAbsent));
  EXPECT_EQ(2L, profile.Read("Preference/BankId", 9L));

  for (int restart = 0; restart < 2; ++restart) {
    Start();
    EXPECT_EQ(first.topLeft(), mWindow->GetWindowWidget()->geometry().topLeft())
        << "restart " << restart;
    EXPECT_EQ(3, FindPaneByIDAs<LPopupButton>(mWindow, FourChar("Bank"))->GetValue());
    Quit();
  }
}

TEST_F(MainWindow, CommandsFollowCardPadAndSample) {
  Start(false);
  EXPECT_EQ("---", Enabling()) << "no card";
  EXPECT_FALSE(FindPaneByIDAs<LPopupButton>(mWindow, FourChar("Bank"))->IsEnabled());
  CVolumePopup* volumes = FindPaneByIDAs<CVolumePopup>(mWindow, FourChar("Vpop"));
  volumes->SetupVolumeMenu(Card().c_str());
  volumes->BroadcastValueMessage();  // as a choice in the popup does
  EXPECT_EQ(0, Controller().GetCurrentBankId()) << "choosing a volume selects bank C";
  LPopupButton* banks = FindPaneByIDAs<LPopupButton>(mWindow, FourChar("Bank"));
  ASSERT_EQ(8, banks->GetMenu()->CountItems());
  EXPECT_EQ("C", banks->GetMenu()->GetItemText(1));
  EXPECT_EQ("J", banks->GetMenu()->GetItemText(8));
  EXPECT_EQ("---", Enabling()) << "no pad";

  QWidget* content = mWindow->GetWidget();
  QTest::mouseClick(content, Qt::LeftButton, {}, PadCentre(1));
  EXPECT_EQ(1, Controller().GetCurrentPadId());
  EXPECT_EQ("I--", Enabling()) << "an empty pad";
  QTest::mouseClick(content, Qt::LeftButton, {}, PadCentre(0));
  EXPECT_EQ("IED", Enabling()) << "a pad with a sample";
  EXPECT_TRUE(Pad(0)->IsFocused() && Pad(0)->IsAssigned());

  // Unplugged: told once, and the card is gone; plugged in again: told once.
  ASSERT_EQ(0, std::rename(Card().c_str(), (Card() + ".away").c_str()));
  mTable.clear();
  Support::WhenModalAppears([](QWidget* w) {  // the card is gone: told in an alert
    if (QMessageBox* box = qobject_cast<QMessageBox*>(w)) box->buttons().front()->click();
  });
  volumes->PollVolumes();
  EXPECT_EQ(-1, Controller().GetCurrentBankId());
  EXPECT_EQ("---", Enabling());
  volumes->PollVolumes();
  ASSERT_EQ(0, std::rename((Card() + ".away").c_str(), Card().c_str()));
  mTable = Line(57, Card());
  volumes->PollVolumes();
  EXPECT_EQ(0, Controller().GetCurrentBankId());
  EXPECT_EQ(57, volumes->GetVolumeRefNum());
}

TEST_F(MainWindow, DoubleClickPlaysAndThePadBlinksUntilTheEnd) {
  Start();
  QWidget* content = mWindow->GetWidget();
  QTest::mouseDClick(content, Qt::LeftButton, {}, PadCentre(1));  // empty: nothing plays
  EXPECT_EQ(1, Controller().GetCurrentPadId());
  EXPECT_FALSE(Player().IsPlaying());

  QTest::mouseDClick(content, Qt::LeftButton, {}, PadCentre(0));
  ASSERT_TRUE(Player().IsPlaying());
  EXPECT_EQ(0, Controller().GetCurrentPadId());
  bool const look = Pad(0)->IsAssigned();
  EXPECT_TRUE(Within(std::chrono::milliseconds(400), [&] { return Pad(0)->IsAssigned() != look; }))
      << "no blink";
  // The sample lasts 0.5 s; within 0.25 s of its end the pad looks as it is.
  EXPECT_TRUE(Within(std::chrono::seconds(3), [&] { return !Player().IsPlaying(); }));
  QTest::qWait(300);
  EXPECT_TRUE(Pad(0)->IsAssigned());

  // A click while playing stops the playback.
  QTest::mouseDClick(content, Qt::LeftButton, {}, PadCentre(0));
  ASSERT_TRUE(Player().IsPlaying());
  QTest::mouseClick(content, Qt::LeftButton, {}, PadCentre(2));
  EXPECT_FALSE(Player().IsPlaying());
}

TEST_F(MainWindow, DeleteAsksFirstAndEscapeQuits) {
  Start();
  QTest::mouseClick(mWindow->GetWidget(), Qt::LeftButton, {}, PadCentre(0));
  auto answer = [](QMessageBox::StandardButton button) {
    Support::WhenModalAppears([button](QWidget* w) {
      if (QMessageBox* box = qobject_cast<QMessageBox*>(w)) box->button(button)->click();
    });
  };
  answer(QMessageBox::Cancel);
  mWindow->HandleDelete();
  EXPECT_TRUE(Controller().IsPadValid(0)) << "Cancel deletes nothing";
  answer(QMessageBox::Ok);
  mWindow->HandleDelete();
  EXPECT_FALSE(Controller().IsPadValid(0));
  EXPECT_EQ("I--", Enabling());

  QTest::keyClick(mWindow->GetWidget(), Qt::Key_Escape);
  EXPECT_TRUE(LWindow::Exists(mWindow)) << "the quit is queued, the window stays";
}

}  // namespace
