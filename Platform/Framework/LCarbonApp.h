#pragma once

#include "Platform/Framework/LCommander.h"
#include "Platform/Framework/UReanimator.h"
#include "Platform/Framework/UResources.h"

#include <memory>
#include <string>
#include <vector>

class LWindow;
class QApplication;
class QTranslator;

// The application object: the root of the command chain and the event loop.
// Windows whose layout asks for a menu bar ("menuBar": true) get the
// application's: a File menu with Quit, a Help menu with the application's
// Help items and About.
class LCarbonApp : public LCommander {
public:
  // Makes the toolkit's application object when there is none yet, and has
  // the toolkit's own texts (standard buttons, file dialogs) follow the
  // program's language.
  LCarbonApp();
  ~LCarbonApp() override;

  // Loads the resource file (a broken one, or one lacking a window or pane
  // the program looks up, is reported in one line on standard error and
  // ends the run with status 2), calls Initialize (an exception
  // leaving it ends the run with status 1), then runs the event loop until
  // the Quit command; returns 0 then.
  int Run();
  // Loads the resource file only; "" on success, else the problem.
  std::string LoadResources(std::string const& path);

  // cmd_Quit quits (once no modal loop runs); cmd_About shows the About box.
  bool ObeyCommand(CommandT command, void* parameter) override;
  // The Quit key reaching the end of the chain (from a modal dialog, whose
  // window has no menu bar) quits as the menu item does.
  bool HandleKeyPress(EventRecord const& event) override;
  virtual void Initialize() {}
  virtual void ShowAboutBox() {}
  // Ends the event loop, or asks it to end as soon as it runs; while a modal
  // loop runs for an operation, waits until that has returned.
  void DoQuit();

  // Appends an item to the Help menu; returns its index (1-based). Choosing
  // it runs the command HelpItemCommand(index).
  uint16_t AppendHelpMenuItem(std::string const& text);
  static CommandT HelpItemCommand(uint16_t index);

  // Gives a window the application's menu bar.
  void InstallMenuBar(LWindow* window);
  static LCarbonApp* GetApplication() { return sApplication; }

protected:
  // The resources the program cannot start without: section and id.
  virtual std::vector<UResources::Requirement> RequiredResources() const;
  // The windows and panes the program looks up.
  virtual std::vector<UReanimator::SRequiredWindow> RequiredWindows() const { return {}; }

private:
  void InstallToolkitTranslation(bool japanese);

  std::unique_ptr<QApplication> mOwnedApplication;
  // Declared after the application: a translator removes itself from it.
  std::unique_ptr<QTranslator> mToolkitTranslator;
  std::vector<std::string> mHelpItems;
  std::vector<LWindow*> mMenuBarWindows;
  bool mQuitRequested = false;
  bool mRunning = false;
  static LCarbonApp* sApplication;
};
