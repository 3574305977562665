#include "SL/Com/Audio/IAudioDeviceFacade.h"

namespace SL {

void IAudioDeviceFacade::HandleError(int status) { (void)status; }

}  // namespace SL
