#include "Executable/Com/Controller/PlatformObjects.h"

#include "GT/Linux/CIniProfile.h"
#include "UL/Com/Dialog/ATextDialog.h"

#include <iostream>

namespace VQ7 {

namespace {

// Until a window system is there: the text goes to standard error and the
// question is answered as an alert that cannot be shown.
class CConsoleTextDialog : public UL::ATextDialog {
public:
  using UL::ATextDialog::Ask;
  EAnswer Ask(EType type, EIcon, std::string const& text) override {
    std::cerr << text << std::endl;
    return type == YesNo ? AnswerNo : AnswerCancel;
  }
};

}  // namespace

boost::shared_ptr<SL::IAudioDeviceFacade> CreatePlatformAudioDeviceFacade() {
  return boost::shared_ptr<SL::IAudioDeviceFacade>();
}

boost::shared_ptr<UL::ITextDialog> CreatePlatformTextDialog() {
  return boost::shared_ptr<UL::ITextDialog>(new CConsoleTextDialog);
}

boost::shared_ptr<UL::IProgress> CreatePlatformProgress() {
  return boost::shared_ptr<UL::IProgress>(new UL::IProgress);
}

boost::shared_ptr<GT::IProfile> CreatePlatformProfile() {
  return boost::shared_ptr<GT::IProfile>(new GT::CIniProfile);
}

}  // namespace VQ7
