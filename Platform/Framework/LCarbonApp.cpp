#include "Platform/Framework/LCarbonApp.h"

#include "Platform/Framework/LException.h"
#include "Platform/Framework/LWindow.h"
#include "Platform/Framework/UKeyFilters.h"
#include "Platform/Framework/UModalState.h"

#include <QAction>
#include <QApplication>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <cstdio>

LCarbonApp* LCarbonApp::sApplication = nullptr;

namespace {

int sArgc = 1;
char sArg0[] = "VQ7Converter";
char* sArgv[] = {sArg0, nullptr};

// Help item commands lie in a range of their own, away from the fixed ones.
CommandT const nHelpCommandBase = 0x48000000;

}  // namespace

LCarbonApp::LCarbonApp() {
  if (!QCoreApplication::instance()) mOwnedApplication.reset(new QApplication(sArgc, sArgv));
  if (QGuiApplication* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    gui->setQuitOnLastWindowClosed(false);
  InstallToolkitTranslation(UResources::IsJapaneseLocale());
  sApplication = this;
  SetTopCommander(this);
}

void LCarbonApp::InstallToolkitTranslation(bool japanese) {
  // English is the toolkit's own language; the program has no other pages.
  if (!japanese) return;
  std::unique_ptr<QTranslator> translator(new QTranslator);
  QString const folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load("qtbase_ja", folder)) {
    std::fprintf(stderr, "VQ7Converter: no Japanese toolkit texts in %s\n", qPrintable(folder));
    return;
  }
  QCoreApplication::installTranslator(translator.get());
  mToolkitTranslator = std::move(translator);
}

LCarbonApp::~LCarbonApp() {
  // Windows left open go before the application they belong to.
  while (!LWindow::GetWindows().empty()) delete LWindow::GetWindows().back();
  if (sApplication == this) sApplication = nullptr;
}

std::vector<UResources::Requirement> LCarbonApp::RequiredResources() const {
  return {{"windows", 1000},   {"windows", 1001},  {"windows", 10001},    {"strings", 1000},
          {"strings", 1001},   {"menus", 12345},   {"dialogItems", 1000}, {"dialogItems", 1001},
          {"listeners", 1000}, {"textTraits", 130}};
}

std::string LCarbonApp::LoadResources(std::string const& path) {
  return UResources::Load(path, UResources::IsJapaneseLocale(), RequiredResources());
}

int LCarbonApp::Run() {
  if (!UResources::IsLoaded()) {
    std::string const problem = LoadResources(UResources::DefaultPath());
    if (!problem.empty()) {
      std::fprintf(stderr, "VQ7Converter: %s\n", problem.c_str());
      return 2;
    }
  }
  for (UReanimator::SRequiredWindow const& window : RequiredWindows()) {
    std::string const problem = UReanimator::CheckWindow(window);
    if (!problem.empty()) {
      std::fprintf(stderr, "VQ7Converter: resource file: %s\n", problem.c_str());
      return 2;
    }
  }
  try {
    Initialize();
  } catch (std::exception const& e) {
    std::fprintf(stderr, "VQ7Converter: start-up failed: %s\n", e.what());
    return 1;
  }
  if (mQuitRequested) return 0;
  mRunning = true;
  QApplication::exec();
  mRunning = false;
  return 0;
}

bool LCarbonApp::ObeyCommand(CommandT command, void* parameter) {
  switch (command) {
    case cmd_Quit:
      DoQuit();
      return true;
    case cmd_About:
      ShowAboutBox();
      return true;
    default:
      return LCommander::ObeyCommand(command, parameter);
  }
}

bool LCarbonApp::HandleKeyPress(EventRecord const& event) {
  if (UKeyFilters::IsQuitKey(event)) return ObeyCommand(cmd_Quit, nullptr);
  return LCommander::HandleKeyPress(event);
}

void LCarbonApp::DoQuit() {
  if (UModalState::IsModal()) {
    UModalState::Defer([this] { DoQuit(); });
    return;
  }
  mQuitRequested = true;
  if (mRunning) QCoreApplication::exit(0);
}

CommandT LCarbonApp::HelpItemCommand(uint16_t index) { return nHelpCommandBase + index; }

uint16_t LCarbonApp::AppendHelpMenuItem(std::string const& text) {
  mHelpItems.push_back(text);
  for (LWindow* window : mMenuBarWindows)
    if (LWindow::Exists(window)) InstallMenuBar(window);
  return static_cast<uint16_t>(mHelpItems.size());
}

void LCarbonApp::InstallMenuBar(LWindow* window) {
  mMenuBarWindows.erase(std::remove_if(mMenuBarWindows.begin(), mMenuBarWindows.end(),
                                       [](LWindow* w) { return !LWindow::Exists(w); }),
                        mMenuBarWindows.end());
  if (std::find(mMenuBarWindows.begin(), mMenuBarWindows.end(), window) == mMenuBarWindows.end())
    mMenuBarWindows.push_back(window);
  QMenuBar* bar = window->GetMenuBar();
  bar->clear();
  auto add = [](QMenu* menu, QString const& text, CommandT command) {
    QAction* action = menu->addAction(text);
    QObject::connect(action, &QAction::triggered, [command] {
      CatchAndReport("command", [command] { LCommander::ProcessCommand(command); });
    });
    return action;
  };
  QMenu* file = bar->addMenu(UResources::MenuBarText("file", "&File"));
  add(file, UResources::MenuBarText("quit", "&Quit"), cmd_Quit)
      ->setShortcuts(UKeyFilters::QuitKeys());
  QMenu* help = bar->addMenu(UResources::MenuBarText("help", "&Help"));
  for (std::size_t i = 0; i < mHelpItems.size(); ++i)
    add(help, QString::fromStdString(mHelpItems[i]), HelpItemCommand(static_cast<uint16_t>(i + 1)));
  if (!mHelpItems.empty()) help->addSeparator();
  add(help, UResources::MenuBarText("about", "&About"), cmd_About);
}
