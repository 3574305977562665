// The application on the offscreen platform with the virtual audio device and
// a card folder: start-up from the resources, pads under the pointer,
// commands, volume events, and the preferences of the next start.

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Playback/CPlayer.h"
#include "Executable/Linux/Application/CBundleIconView.h"
#include "Executable/Linux/Application/CConverterApp.h"
#include "Executable/Linux/FileDialog/CFileDesignator.h"
#include "Executable/Linux/MainWindow/CMainWindow.h"
#include "Executable/Linux/MainWindow/CVolumePopup.h"
#include "Executable/Linux/MainWindow/CWindowPosition.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "GT/Linux/CIniProfile.h"
#include "Platform/Audio/VirtualDevice.h"
#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LPopupButton.h"
#include "Platform/Framework/UResources.h"
#include "Platform/Framework/UModalState.h"
#include "Support/CardFixture.h"
#include "Support/GuiApplication.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <chrono>
#include <fstream>
#include <functional>

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
    MakeCard(Card());
    mTable = Line(40, Card());
    VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>(new VQ7::CVolumeLister(
        [this] { return mTable; }, [](std::string const&) { return 1u << 30; }, {mDir.Path()})));
  }
  void TearDown() override {
    Quit();
    VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>());
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
    GT::CRectT<long> const r = Pad(id)->GetRectangle();
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
  Support::CScopedEnv mConfig{"XDG_CONFIG_HOME", mDir / "config"};
  AudioLayer::CVirtualAudio mAudio;
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

  // Unplugged while another volume stays: told once, the card is gone and
  // the popup shows no card, also when opened; plugged in again: told once.
  mTable = Line(41, mDir / "STICK") + mTable;
  volumes->SetupVolumeMenu(Card().c_str());
  ASSERT_EQ(2, volumes->GetValue());
  ASSERT_EQ(0, std::rename(Card().c_str(), (Card() + ".away").c_str()));
  mTable = Line(41, mDir / "STICK");
  Support::WhenModalAppears([](QWidget* w) {  // the card is gone: told in an alert
    if (QMessageBox* box = qobject_cast<QMessageBox*>(w)) box->buttons().front()->click();
  });
  volumes->PollVolumes();
  EXPECT_EQ(-1, Controller().GetCurrentBankId());
  EXPECT_EQ("---", Enabling());
  EXPECT_EQ(0, volumes->GetValue());
  EXPECT_EQ("", static_cast<QComboBox*>(volumes->GetWidget())->currentText().toStdString());
  volumes->SetupVolumeMenu(nullptr);  // as before the menu opens
  EXPECT_EQ(0, volumes->GetValue());
  volumes->PollVolumes();
  ASSERT_EQ(0, std::rename((Card() + ".away").c_str(), Card().c_str()));
  mTable = Line(57, Card());
  volumes->PollVolumes();
  EXPECT_EQ(0, Controller().GetCurrentBankId());
  EXPECT_EQ(57, volumes->GetVolumeRefNum());
}

TEST_F(MainWindow, AVolumeChangeDuringAModalLoopWaitsUntilTheLoopEnds) {
  Start();
  bool inLoop = false, keptDuringLoop = false;
  std::vector<bool> told;  // per alert: whether it came during the loop
  QTimer alerts;
  QObject::connect(&alerts, &QTimer::timeout, [&] {
    if (QMessageBox* box = qobject_cast<QMessageBox*>(UModalState::Current())) {
      told.push_back(inLoop);
      box->buttons().front()->click();
    }
  });
  alerts.start(20);
  Support::WhenModalAppears([&](QWidget* about) {
    inLoop = true;
    ASSERT_EQ(0, std::rename(Card().c_str(), (Card() + ".away").c_str()));
    mTable.clear();
    QTest::qWait(1300);  // the popup's watch looks more than twice meanwhile
    keptDuringLoop = Controller().GetCurrentBankId() == 0;
    inLoop = false;
    about->findChild<QPushButton*>()->click();
  });
  mApp->ShowAboutBox();
  EXPECT_TRUE(keptDuringLoop);
  EXPECT_TRUE(Within(std::chrono::seconds(3), [&] { return Controller().GetCurrentBankId() < 0; }));
  EXPECT_EQ(std::vector<bool>{false}, told);
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

  // A double press on an empty pad while playing stops and plays nothing.
  QTest::mouseDClick(content, Qt::LeftButton, {}, PadCentre(0));
  ASSERT_TRUE(Player().IsPlaying());
  QTest::mouseDClick(content, Qt::LeftButton, {}, PadCentre(1));
  EXPECT_FALSE(Player().IsPlaying());
  EXPECT_EQ(1, Controller().GetCurrentPadId());
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

  // The card goes while the question is open: OK then deletes nothing.
  CVolumePopup* volumes = FindPaneByIDAs<CVolumePopup>(mWindow, FourChar("Vpop"));
  Support::WhenModalAppears([&](QWidget* question) {
    mTable.clear();
    volumes->PollVolumes();
    qobject_cast<QMessageBox*>(question)->button(QMessageBox::Ok)->click();
  });
  mWindow->HandleDelete();
  EXPECT_TRUE(Support::Exists(VQ7Test::CardFolderOf(Card()) + "/SMP0000L.VQD"));
  mTable = Line(57, Card());
  volumes->PollVolumes();
  ASSERT_TRUE(Within(std::chrono::seconds(3), [&] { return !volumes->IsVolumeChangePending(); }));
  QTest::mouseClick(mWindow->GetWidget(), Qt::LeftButton, {}, PadCentre(0));
  answer(QMessageBox::Ok);
  mWindow->HandleDelete();
  EXPECT_FALSE(Controller().IsPadValid(0));
  EXPECT_EQ("I--", Enabling());

  QTest::keyClick(mWindow->GetWidget(), Qt::Key_Escape);
  EXPECT_TRUE(LWindow::Exists(mWindow)) << "the quit is queued, the window stays";
}

// The custom areas read through their item names; the values, which the
// dialog draws itself, through the texts it draws them from.
QString ItemText(QWidget* dialog, int id) {
  QWidget* item = dialog->findChild<QWidget*>(QString("item%1").arg(id));
  if (QLabel* label = qobject_cast<QLabel*>(item)) return label->text();
  if (QAbstractButton* button = qobject_cast<QAbstractButton*>(item)) return button->text();
  LNavCustomArea* area = dynamic_cast<LNavCustomArea*>(dialog->findChild<QWidget*>("customArea"));
  CFileDialogBase const* owner =
      area ? dynamic_cast<CFileDialogBase const*>(area->GetDialog()) : nullptr;
  return owner ? QString::fromStdString(owner->GetStaticText(static_cast<short>(id))) : QString();
}

std::string Grouped(uint64_t value) { return CFileDialogBase::GetByteSizeStr(value); }

TEST_F(MainWindow, ImportDialogDescribesAndPreviewsTheFileAndImportsIt) {
  std::string const wave = mDir / "take.wav", deep = mDir / "deep.aif";
  ASSERT_TRUE(VQ7Test::Sox("-n -r 44100 -b 16 -c 2 '" + wave + "' synth 0.3 sine 440"));
  ASSERT_TRUE(VQ7Test::Sox("-n -r 44100 -b 24 -c 1 '" + deep + "' synth 0.3 sine 440"));
  Start();
  uint64_t freeBytes = 0, totalBytes = 0;
  ASSERT_TRUE(VQ7::CVolumeLister::VolumeSizes(Card(), freeBytes, totalBytes));

  // Onto a pad with a sample, Cancel in the confirmation opens no file dialog.
  QTest::mouseClick(mWindow->GetWidget(), Qt::LeftButton, {}, PadCentre(0));
  std::vector<std::string> seen;
  auto answer = [&seen](bool ok) {
    Support::WhenModalAppears([&seen, ok](QWidget* w) {
      seen.push_back(w->metaObject()->className());
      if (QMessageBox* box = qobject_cast<QMessageBox*>(w))
        box->button(ok ? QMessageBox::Ok : QMessageBox::Cancel)->click();
      else
        w->close();
    });
  };
  answer(false);
  std::string const before = Support::ReadBytes(VQ7Test::CardFolderOf(Card()) + "/WVCINFO0.VQD");
  mWindow->HandleImport();
  QTest::qWait(50);
  EXPECT_EQ(std::vector<std::string>{"QMessageBox"}, seen);
  EXPECT_EQ(before, Support::ReadBytes(VQ7Test::CardFolderOf(Card()) + "/WVCINFO0.VQD"));

  QTest::mouseClick(mWindow->GetWidget(), Qt::LeftButton, {}, PadCentre(1));
  std::vector<QString> shown, deepShown;
  std::vector<int> traits;
  bool previewed = false, backToPlay = false;
  Support::WhenModalAppears([&](QWidget* w) {
    QFileDialog* dialog = qobject_cast<QFileDialog*>(w);
    if (!dialog) return;
    QLineEdit* field = dialog->findChild<QLineEdit*>("fileNameEdit");
    field->setText(QString::fromStdString(deep));  // typed, not picked in the list
    deepShown = {ItemText(dialog, 8), ItemText(dialog, 13)};
    bool const deepPlayable = dialog->findChild<QPushButton*>("item13")->isEnabled();
    field->setText(QString::fromStdString(wave));
    for (int id = 7; id <= 12; ++id) shown.push_back(ItemText(dialog, id));
    for (int id : {1, 6}) {  // labels, in the area's text traits
      QLabel* text = dialog->findChild<QLabel*>(QString("item%1").arg(id));
      traits.push_back(text->font().pointSize() * (text->alignment() & Qt::AlignRight ? 1 : -1));
    }
    QPushButton* play = dialog->findChild<QPushButton*>("item13");
    play->click();
    previewed = !deepPlayable && Player().IsPlaying() && play->text() == "Stop";
    backToPlay = Within(std::chrono::seconds(3), [&] { return play->text() == "Play"; });
    static_cast<QDialog*>(dialog)->accept();
  });
  mWindow->HandleImport();
  EXPECT_EQ((std::vector<QString>{"24", "Play"}), deepShown);
  ASSERT_EQ(6u, shown.size());
  EXPECT_EQ((std::vector<int>{11, 11}), traits);
  QString const converted = QString::fromStdString(
      Grouped(Controller().ComputeImportedWaveByteSize(*Controller().PeekWave(wave).first)));
  EXPECT_EQ((std::vector<QString>{"Windows RIFF Wave", "16", "44100", "2", converted}),
            std::vector<QString>(shown.begin(), shown.begin() + 5));
  // Others write to the same disk meanwhile: near, and grouped.
  std::string const free = shown[5].toStdString();
  EXPECT_EQ(Grouped(std::stoull(shown[5].remove(',').toStdString())), free);
  EXPECT_NEAR(double(freeBytes), std::stod(shown[5].toStdString()), double(1u << 30));
  EXPECT_TRUE(previewed) << "Play offered for 16 bits only, and it plays";
  EXPECT_TRUE(backToPlay);
  EXPECT_TRUE(Controller().IsPadValid(1)) << "the file lands on the pad";
}

// Quit pressed in a modal window (the progress window, the delete question,
// the import file dialog) waits for it: its answer is acted on (Cancel ends
// an import part-way and leaves the card as it was), then the program ends.
TEST_F(MainWindow, QuitInAModalWindowEndsTheProgramOnceItsAnswerHasBeenActedOn) {
  std::string const wave = mDir / "minute.wav", folder = VQ7Test::CardFolderOf(Card());
  ASSERT_TRUE(VQ7Test::Sox("-n -r 44100 -b 16 -c 2 '" + wave + "' synth 60 sine 440"));
  GT::CIniProfile().Write("Preference/VolumeName", Card());
  struct {
    char const* name;
    char how;  // C cancel the import, I let it commit, D delete, F import from the file dialog
    long pad;
    bool filled;  // the pad holds a sample afterwards
  } const rows[] = {{"progress, cancelled", 'C', 1, false},
                    {"progress, committed", 'I', 1, true},
                    {"delete question", 'D', 0, false},
                    {"file dialog", 'F', 2, true}};
  for (auto const& row : rows) {
    SCOPED_TRACE(row.name);
    std::string const before = Support::ReadBytes(folder + "/WVCINFO0.VQD");
    mApp.reset(new CConverterApp(boost::shared_ptr<VQ7::CDomain>(new VQ7::CDomain),
                                 Support::AppDirectory()));
    bool filled = !row.filled, windowsKept = false, stuck = false;
    QTimer::singleShot(0, [&] {
      Support::WhenModalAppears([&](QWidget* modal) {
        QTest::keyClick(modal, Qt::Key_Q, Qt::ControlModifier);
        if (row.how == 'C') QTest::mouseClick(modal->findChild<QPushButton*>(), Qt::LeftButton);
        if (QMessageBox* box = qobject_cast<QMessageBox*>(modal))
          box->button(QMessageBox::Ok)->click();
        if (QFileDialog* dialog = qobject_cast<QFileDialog*>(modal)) {
          dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(wave));
          static_cast<QDialog*>(dialog)->accept();
        }
      });
      Controller().SelectCurrentPad(row.pad);
      CMainWindow* main = dynamic_cast<CMainWindow*>(LWindow::GetWindows().front());
      if (row.how == 'D')
        main->HandleDelete();
      else if (row.how == 'F')
        main->HandleImport();
      else
        Controller().Import(wave);
      filled = Controller().IsPadValid(row.pad);
      windowsKept = !LWindow::GetWindows().empty();
    });
    QObject watchdog;  // ends with the round
    QTimer::singleShot(20000, &watchdog, [&] {
      stuck = true;
      QCoreApplication::exit(1);
    });
    EXPECT_EQ(0, mApp->Run());
    EXPECT_FALSE(stuck) << "the quit was lost";
    EXPECT_TRUE(windowsKept);
    EXPECT_EQ(row.filled, filled);
    EXPECT_EQ(row.filled, Support::Exists(folder + "/SMP000" + std::to_string(row.pad) + "L.VQD"));
    EXPECT_EQ("", VQ7Test::TemporariesIn(folder));
    if (row.how == 'C') {
      EXPECT_EQ(before, Support::ReadBytes(folder + "/WVCINFO0.VQD"));
    }
    Quit();
  }
}

struct ExportCase {
  char const* storedName;
  long storedType;
  int expectedIndex;  // 0 AIFF, 1 WAV
  int chosenIndex;    // the popup choice the user makes
  char const* proposed;
};

std::string Repeated(std::string const& text, int times) {
  std::string all;
  while (times-- > 0) all += text;
  return all;
}

TEST(FileDesignator, ProposedNamesAreCutBetweenCharactersWithinTheLimit) {
  std::string const a = "\xe3\x81\x82";
  struct {
    std::string name, proposed;
  } const cases[] = {
      {"x" + Repeated(a, 85), "x" + Repeated(a, 84)},  // the limit falls inside a character
      {Repeated(a, 85), Repeated(a, 85)},              // exactly at the limit
      {Repeated("n", 300), Repeated("n", 255)},
  };
  for (auto const& c : cases) EXPECT_EQ(c.proposed, CFileDesignator::CutName(c.name));
}

TEST_F(MainWindow, ExportDialogProposesRemembersAndWritesAFileSoxReads) {
  ExportCase const cases[] = {
      {"take.1.aif", 1, 0, 1, "take.1.wav"},
      {"drums", 0, 1, 1, "drums"},  // a stored type of 0 is WAV; no choice, no change
      {"drums", 1, 0, 1, "drums.wav"},
      {"loop.wav", 2, 1, 0, "loop.aif"},
  };
  Start();
  QTest::mouseClick(mWindow->GetWidget(), Qt::LeftButton, {}, PadCentre(0));
  GT::CIniProfile profile;
  for (ExportCase const& c : cases) {
    profile.Write(CFileDesignator::sExportFileNameKey, std::string(c.storedName));
    profile.Write(CFileDesignator::sExportFileTypeKey, c.storedType);
    std::string const target =
        mDir / ("out-" + std::to_string(&c - cases) + (c.chosenIndex == 0 ? ".aif" : ".wav"));
    int index = -1;
    QString proposed, size;
    Support::WhenModalAppears([&](QWidget* w) {
      QFileDialog* dialog = qobject_cast<QFileDialog*>(w);
      if (!dialog) return;
      QComboBox* popup = dialog->findChild<QComboBox*>("item6");
      index = popup->currentIndex();
      if (c.chosenIndex != index) {
        popup->setCurrentIndex(c.chosenIndex);
        emit popup->activated(c.chosenIndex);
      }
      proposed = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
      size = ItemText(dialog, 4);
      dialog->selectFile(QString::fromStdString(target));
      static_cast<QDialog*>(dialog)->accept();
    });
    mWindow->HandleExport();
    SCOPED_TRACE(c.proposed);
    EXPECT_EQ(c.expectedIndex, index);
    EXPECT_EQ(c.proposed, proposed.toStdString());
    SL::CWaveFileFormat const format =
        c.chosenIndex == 0 ? SL::CWaveFileFormat::FormAiff : SL::CWaveFileFormat::RiffWave;
    EXPECT_EQ(Grouped(Controller().ComputeExportedWaveByteSize(0, 0, format)), size.toStdString());
    EXPECT_EQ(22064u, VQ7Test::ReadBySox(target).size()) << "the file reads in sox";
  }

  // The free space is that of the folder shown, however it was reached.
  std::vector<std::string> figures;
  Support::WhenModalAppears([&](QWidget* w) {
    QFileDialog* dialog = qobject_cast<QFileDialog*>(w);
    if (!dialog) return;
    for (char const* folder : {"/dev", "/proc"}) {
      dialog->setDirectory(folder);  // where a typed folder leads, entering nothing
      figures.push_back(ItemText(dialog, 5).toStdString());
    }
    dialog->findChild<QAbstractButton*>("backButton")->click();
    figures.push_back(ItemText(dialog, 5).toStdString());
    dialog->reject();
  });
  mWindow->HandleExport();
  uint64_t devFree = 0, devTotal = 0;
  ASSERT_TRUE(VQ7::CVolumeLister::VolumeSizes("/dev", devFree, devTotal));
  EXPECT_EQ((std::vector<std::string>{Grouped(devFree), "0", Grouped(devFree)}), figures);

  // Over an existing file the dialog asks first; No there keeps the file.
  std::string const existing = mDir / "out-0.wav";
  std::string const kept = Support::ReadBytes(existing);
  bool asked = false;
  Support::WhenModalAppears([&](QWidget* w) {
    QFileDialog* dialog = qobject_cast<QFileDialog*>(w);
    if (!dialog) return;
    Support::WhenModalAppears([&asked](QWidget* box) {
      if (QMessageBox* confirm = qobject_cast<QMessageBox*>(box)) {
        asked = true;
        QTest::keyClick(confirm, Qt::Key_Escape);  // No
      }
    });
    dialog->selectFile(QString::fromStdString(existing));
    static_cast<QDialog*>(dialog)->accept();
    dialog->reject();
  });
  mWindow->HandleExport();
  EXPECT_TRUE(asked);
  EXPECT_EQ(kept, Support::ReadBytes(existing));
}

TEST_F(MainWindow, AboutBoxShowsIconAndVersionAndEndsOnOkEscapeAndCloseBox) {
  Start();
  for (int ending = 0; ending < 3; ++ending) {  // OK, Escape, the close box
    bool icon = false;
    std::string caption;
    Support::WhenModalAppears([&](QWidget* w) {
      for (LWindow* window : LWindow::GetWindows())
        if (window != mWindow) {
          icon = FindPaneByIDAs<CBundleIconView>(window, FourChar("ICON"))->HasIcon();
          caption = window->FindPaneByID(FourChar("VERS"))->GetDescriptor();
        }
      if (ending == 0)
        w->findChild<QPushButton*>()->click();
      else if (ending == 1)
        QTest::keyClick(w, Qt::Key_Escape);
      else
        w->close();
    });
    mApp->ShowAboutBox();  // returns once the box has ended
    SCOPED_TRACE(ending);
    EXPECT_TRUE(icon);
    EXPECT_EQ("Version " VQ7_PROJECT_VERSION, caption);
    EXPECT_EQ(1u, LWindow::GetWindows().size());
  }
}

// The program's resource file with one pane of a window changed by `edit`.
QJsonObject WithPane(char const* window, int index, std::function<void(QJsonArray&, int)> edit) {
  QFile file(QString::fromStdString(Support::AppDirectory() + "/VQ7Converter.json"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
  QJsonObject windows = root["windows"].toObject(), layout = windows[window].toObject();
  QJsonArray panes = layout["panes"].toArray();
  edit(panes, index);
  layout["panes"] = panes;
  windows[window] = layout;
  root["windows"] = windows;
  return root;
}

TEST_F(MainWindow, AResourceFileLackingWhatTheProgramLooksUpStopsItAtStartUp) {
  auto const drop = [](QJsonArray& panes, int i) { panes.removeAt(i); };
  auto const retype = [](char const* type) {
    return [type](QJsonArray& panes, int i) {
      QJsonObject pane = panes[i].toObject();
      pane["class"] = type;
      panes[i] = pane;
    };
  };
  struct {
    QJsonObject root;
    char const* said;
  } const cases[] = {
      {WithPane("10001", 1, drop), "window 10001 has no pane 1"},
      {WithPane("1000", 7, drop), "window 1000 has no pane Exit"},
      {WithPane("1000", 0, retype("Xxxx")), "window 1000 has a pane of class 'Xxxx'"},
      {WithPane("1000", 1, retype("popb")), "window 1000 pane Vpop is of class 'popb'"},
      {WithPane("1001", 0, retype("pane")), "window 1001 pane ICON is of class 'pane'"},
  };
  for (auto const& c : cases) {
    Support::LoadResources(c.root);
    testing::internal::CaptureStderr();
    int status = 0;
    {
      QTimer quit;  // a program that starts after all ends soon
      QObject::connect(&quit, &QTimer::timeout, [] { QCoreApplication::exit(0); });
      quit.start(500);
      CConverterApp application(boost::shared_ptr<VQ7::CDomain>(), Support::AppDirectory());
      status = application.Run();
    }
    std::string const said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(2, status) << c.said;
    EXPECT_EQ(0u, said.find(std::string("VQ7Converter: resource file: ") + c.said)) << said;
    EXPECT_EQ(said.size() - 1, said.find('\n')) << said;
  }
  Support::LoadAppResources();
}

TEST_F(MainWindow, HelpOpensOurDocumentBesideTheProgramInTheUsersLanguage) {
  QTextBrowser opened;  // stands for the desktop's browser
  QDesktopServices::setUrlHandler("file", &opened, "setSource");
  struct CUnset {
    ~CUnset() { QDesktopServices::unsetUrlHandler("file"); }
  } const unset;
  Start();
  mApp->ObeyCommand(LCarbonApp::HelpItemCommand(1), nullptr);
  EXPECT_EQ(Support::AppDirectory() + "/VQ7Converter Help.html",
            opened.source().toLocalFile().toStdString());

  ASSERT_EQ("", UResources::Load(Support::AppDirectory() + "/VQ7Converter.json", true, {}));
  mApp->ObeyCommand(LCarbonApp::HelpItemCommand(1), nullptr);
  EXPECT_EQ(Support::AppDirectory() + "/VQ7Converter Help.ja.html",
            opened.source().toLocalFile().toStdString());
}

}  // namespace
