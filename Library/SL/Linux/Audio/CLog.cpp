#include "SL/Linux/Audio/CLog.h"

#include "SL/Com/Audio/IAudioDeviceFacade.h"

namespace CoreAudio {

thread_local bool CLog::sIsSuspended = false;

void CLog::Error(long status) {
  if (!sIsSuspended && status != 0) {
    SL::IAudioDeviceFacade::HandleError(static_cast<int>(status));
  }
}

}  // namespace CoreAudio
