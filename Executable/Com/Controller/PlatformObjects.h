#pragma once

#include "GT/Com/Base/IProfile.h"
#include "SL/Com/Audio/IAudioDeviceFacade.h"
#include "UL/Com/Dialog/ITextDialog.h"
#include "UL/Com/Progress/IProgress.h"

#include <boost/shared_ptr.hpp>

namespace VQ7 {

// The platform's objects the domain asks for, made on the platform side.
boost::shared_ptr<SL::IAudioDeviceFacade> CreatePlatformAudioDeviceFacade();
boost::shared_ptr<UL::ITextDialog> CreatePlatformTextDialog();
boost::shared_ptr<UL::IProgress> CreatePlatformProgress();
boost::shared_ptr<GT::IProfile> CreatePlatformProfile();

}  // namespace VQ7
