#pragma once

#include "Platform/Framework/LCarbonApp.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <string>
#include <vector>

class LWindow;

namespace VQ7 {
class CDomain;
}

// The process's entry and exit: registers the layout classes, starts the
// domain with its pictures, adds the Help item, opens the main window,
// answers Help and About, and on exit closes the main window before the
// domain shuts down.
class CConverterApp : public LCarbonApp {
public:
  enum { nHelpStrings = 1000, nMainWindow = 1000, nAboutBox = 1001, nAboutOk = 900 };

  CConverterApp();
  // A domain made by the caller (tests give one on a virtual audio device)
  // and the folder holding the pictures and the Help document.
  CConverterApp(boost::shared_ptr<VQ7::CDomain> domain, std::string const& folder);
  ~CConverterApp() override;

  static void RegisterClasses();

  bool ObeyCommand(CommandT command, void* parameter) override;
  void ShowAboutBox() override;
  void Initialize() override;

  void OpenHelp();
  static void SetVersionCaption(LWindow* window);
  // The caption's suffix: the version, and the build number while Control
  // (the Super key) is held.
  static std::string VersionText(bool controlHeld);

  VQ7::CDomain* GetDomain() const { return mDomain.get(); }
  // The Help document's path; "" when the string list names none.
  std::string HelpPath() const;

protected:
  std::vector<UReanimator::SRequiredWindow> RequiredWindows() const override;

private:
  boost::shared_ptr<VQ7::CDomain> mDomain;
  std::string mFolder;
  uint16_t mHelpItem;
};
