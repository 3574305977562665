#include "Platform/Framework/LCarbonApp.h"
#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LFileDialog.h"
#include "Platform/Framework/LWindow.h"
#include "Platform/Framework/UModalState.h"
#include "Platform/Framework/UResources.h"
#include "Support/GuiApplication.h"
#include "Support/PrivateTempDir.h"
#include "UL/Linux/Dialog/CTextDialog.h"
#include "UL/Linux/Dialog/StCarbonDialogHandler.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QJsonArray>
#include <QKeyEvent>
#include <QJsonDocument>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string Write(QTemporaryDir const& dir, char const* name, std::string const& text) {
  std::string const path = dir.path().toStdString() + "/" + name;
  std::ofstream(path) << text;
  return path;
}

TEST(ResourceFile, ABrokenFileIsReportedInOneLineAndNothingStaysLoaded) {
  Support::GuiApplication();
  QTemporaryDir dir;
  struct {
    char const* text;
    char const* problem;
  } const cases[] = {
      {"{\"windows\": ", "is not valid JSON"},
      {"[1, 2]", "does not hold a JSON object"},
      {"{\"windows\": {\"1000\": {\"panes\": []}}}", "windows 1000 has no size"},
      {"{\"windows\": {\"7\": {\"size\": [1, 1], \"panes\": [{\"class\": \"pb\", \"frame\": [0, 0, "
       "1, 1]}]}}}",
       "windows 7 pane 1 has no four-character class"},
      {"{\"strings\": {\"1000\": [\"Help\", 3]}}", "strings 1000 holds something"},
      {"{\"dialogItems\": {\"1000\": {\"width\": 1, \"height\": 1, \"items\": [{\"type\": "
       "\"knob\"}]}}}",
       "dialogItems 1000 item 1 has no type"},
      {"{}", "windows 10001 is missing"},
  };
  for (auto const& c : cases) {
    Support::LoadAppResources();
    std::string const path = Write(dir, "broken.json", c.text);
    std::string const problem = UResources::Load(path, false, {{"windows", 10001}});
    EXPECT_NE(std::string::npos, problem.find(c.problem)) << problem;
    EXPECT_EQ(std::string::npos, problem.find('\n'));
    EXPECT_FALSE(UResources::IsLoaded());
  }
  Support::LoadAppResources();
}

TEST(ResourceFile, TheJapaneseOverlayReplacesTheTextsAndTheProgramStopsOnABrokenFile) {
  Support::GuiApplication();
  std::string const path = Support::AppDirectory() + "/VQ7Converter.json";
  ASSERT_EQ("", UResources::Load(path, true));
  EXPECT_EQ("Japanese", UResources::GetIndString(1001, 1));
  EXPECT_EQ(u8"インポート...",
            UResources::Texts("windows", 1000).value("Impt").toString().toStdString());
  QJsonArray const panes = UResources::Find("windows", 1000).value("panes").toArray();
  EXPECT_EQ(4, panes[4].toObject()["frame"].toArray().size());

  // Run() looks for the file beside the test program, where there is none.
  UResources::Unload();
  testing::internal::CaptureStderr();
  int status = 0;
  {
    LCarbonApp application;
    status = application.Run();
  }
  std::string const said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(2, status);
  EXPECT_EQ(0u, said.find("VQ7Converter: resource file "));
  EXPECT_EQ(said.size() - 1, said.find('\n'));
  Support::LoadAppResources();
}

// The toolkit's own texts follow the program's language; its own texts come
// from the resource file.
TEST(ResourceFile, UnderAJapaneseLocaleTheToolkitsButtonsAreJapanese) {
  Support::GuiApplication();
  Support::CScopedEnv const locale("LC_ALL", "ja_JP.UTF-8");
  LCarbonApp application;
  QStringList alert;
  Support::WhenModalAppears([&](QWidget* modal) {
    for (QAbstractButton* b : qobject_cast<QMessageBox*>(modal)->buttons()) alert << b->text();
    modal->close();
  });
  UL::CTextDialog().Ask(UL::ITextDialog::OkCancel, UL::ITextDialog::Note, std::string("?"));
  QString open;
  Support::WhenModalAppears([&](QWidget* modal) {
    open = modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->text();
    qobject_cast<QDialog*>(modal)->reject();
  });
  UNavServicesDialogs::LFileChooser().AskOpenFile({});
  alert.sort();  // Japanese keeps "OK" as it stands
  EXPECT_EQ(QStringList({"OK", u8"キャンセル"}), alert);
  EXPECT_EQ(u8"開く(&O)", open);
}

class ModalLoop : public ::testing::Test {
protected:
  void SetUp() override {
    QJsonArray const okButton{QJsonObject{{"class", "pbut"},
                                          {"id", "OK  "},
                                          {"frame", QJsonArray{10, 10, 60, 24}},
                                          {"message", 900}}};
    QJsonObject const about{{"class", "dlog"},  {"size", QJsonArray{200, 100}},
                            {"modal", true},    {"default", "OK  "},
                            {"cancel", "OK  "}, {"panes", okButton}};
    QJsonArray const exitButton{
        QJsonObject{{"class", "pbut"}, {"id", "Exit"}, {"frame", QJsonArray{10, 10, 60, 24}}}};
    QJsonObject const main{{"size", QJsonArray{200, 100}}, {"panes", exitButton}};
    Support::LoadResources(QJsonObject{{"windows", QJsonObject{{"1001", about}, {"1000", main}}}});
  }
  void TearDown() override { Support::LoadAppResources(); }
};

TEST_F(ModalLoop, TheModalStateBeginsAtTheFirstPumpAndEndsOnce) {
  struct {
    char const* calls;  // B begin, E end, D DoDialog
    bool modal;
  } const cases[] = {{"", false},   {"D", true},   {"BB", true},   {"BBE", false},
                     {"DE", false}, {"EEB", true}, {"DBEE", false}};
  for (auto const& c : cases) {
    {
      StCarbonDialogHandler handler(1001, nullptr);
      handler.SetSleepTime(0);
      for (char const* call = c.calls; *call; ++call) {
        if (*call == 'B') handler.BeginModalState();
        if (*call == 'E') handler.EndModalState();
        if (*call == 'D') handler.DoDialog();
      }
      EXPECT_EQ(c.modal, UModalState::IsModal()) << c.calls;
    }
    EXPECT_FALSE(UModalState::IsModal()) << c.calls;
  }
}

TEST_F(ModalLoop, AHandlerAnEventDestroysIsNotTouchedAfterTheEvent) {
  struct {
    uint32_t ticks;
    int delay;  // ms: 0 in the first poll, else in the wait
  } const cases[] = {{0, 0}, {6, 0}, {6, 20}};
  for (auto const& c : cases) {
    StCarbonDialogHandler* handler = new StCarbonDialogHandler(1001, nullptr);
    handler->SetSleepTime(c.ticks);
    handler->GetDialog()->Show();
    QWidget* ok = handler->GetDialog()->FindPaneByID(FourChar("OK  "))->GetWidget();
    QTimer::singleShot(c.delay, [&] {
      QTest::mouseClick(ok, Qt::LeftButton);
      delete handler;  // e.g. the progress window's Stop from a Cancel listener
    });
    EXPECT_EQ(msg_OK, handler->DoDialog()) << c.ticks << " " << c.delay;
    EXPECT_FALSE(UModalState::IsModal());
  }
}

TEST_F(ModalLoop, AKeyHeldInTheDialogReachesTheTargetAsKeyDowns) {
  struct CTarget : LCommander {
    bool HandleKeyPress(EventRecord const& event) override {
      kinds.push_back(event.what);
      return true;
    }
    std::vector<uint16_t> kinds;
  } target;
  StCarbonDialogHandler handler(1001, &target);
  handler.GetDialog()->Show();
  for (bool repeat : {false, true, true}) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", repeat);
    QCoreApplication::sendEvent(handler.GetDialog()->GetWindowWidget(), &key);
  }
  EXPECT_EQ((std::vector<uint16_t>{nEventKeyDown, nEventKeyDown, nEventKeyDown}), target.kinds);
}

TEST_F(ModalLoop, WorkThatCouldDisturbTheOperationWaitsUntilItEnds) {
  std::unique_ptr<LWindow> main(LWindow::CreateWindow(1000, nullptr));
  main->Show();
  int exits = 0;
  struct CCounter : LListener {
    int* count;
    void ListenToMessage(MessageT, void*) override { ++*count; }
  } counter;
  counter.count = &exits;
  dynamic_cast<LControl*>(main->FindPaneByID(FourChar("Exit")))->AddListener(&counter);

  std::vector<int> order;
  {
    StCarbonDialogHandler handler(1001, nullptr);
    handler.GetDialog()->Show();
    handler.DoDialog();
    UModalState::Defer([&] { order.push_back(1); });  // e.g. a volume was unmounted
    main->GetWindowWidget()->close();
    QTest::keyClick(main->GetWindowWidget(), Qt::Key_Escape);
    QTest::mouseClick(main->FindPaneByID(FourChar("Exit"))->GetWidget(), Qt::LeftButton);
    handler.DoDialog();
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(0, exits);
    EXPECT_TRUE(main->GetWindowWidget()->isVisible());
  }
  UModalState::Defer([&] { order.push_back(2); });
  EXPECT_TRUE(order.empty());  // only once the event loop is reached again
  QCoreApplication::processEvents();
  EXPECT_EQ((std::vector<int>{1, 2}), order);
  EXPECT_FALSE(main->GetWindowWidget()->isVisible());  // the deferred close ran
  QCoreApplication::processEvents();
  EXPECT_FALSE(LWindow::Exists(main.get()));
  main.release();  // deleted by its close
}

}  // namespace
