#include "Executable/Com/Controller/PlatformObjects.h"

#include "GT/Linux/CIniProfile.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"
#include "UL/Linux/Dialog/CTextDialog.h"
#include "UL/Linux/Progress/CProgressBar.h"

namespace VQ7 {

boost::shared_ptr<SL::IAudioDeviceFacade> CreatePlatformAudioDeviceFacade() {
  return boost::shared_ptr<SL::IAudioDeviceFacade>(new SL::CCaAudioDeviceFacade);
}

boost::shared_ptr<UL::ITextDialog> CreatePlatformTextDialog() {
  return boost::shared_ptr<UL::ITextDialog>(new UL::CTextDialog);
}

boost::shared_ptr<UL::IProgress> CreatePlatformProgress() {
  return boost::shared_ptr<UL::IProgress>(new UL::CProgressBar);
}

boost::shared_ptr<GT::IProfile> CreatePlatformProfile() {
  return boost::shared_ptr<GT::IProfile>(new GT::CIniProfile);
}

}  // namespace VQ7
