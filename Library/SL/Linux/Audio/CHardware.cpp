#include "SL/Linux/Audio/CHardware.h"

#include "GT/Com/Base/DebugTrace.h"
#include "SL/Linux/Audio/CLog.h"
#include "SL/Linux/Audio/Num2Code.h"

namespace CoreAudio {

std::uint32_t CHardware::GetPropertySize(AudioPropertyId id) {
  std::uint32_t size = 0;
  AudioStatus const status = AudioHardwareGetPropertyInfo(id, &size, nullptr);
  if (status != 0) {
    TRACE("AudioHardwareGetPropertyInfo() failed: error=%s, property=%s \n",
          num2code(status).c_str(), num2code(id).c_str());
    CLog::Error(status);
    return 0;
  }
  return size;
}

AudioStatus CHardware::GetProperty(AudioPropertyId id, std::uint32_t& size, void* data) {
  AudioStatus const status = AudioHardwareGetProperty(id, &size, data);
  if (status != 0) {
    TRACE("AudioHardwareGetProperty() failed: error=%s, property=%s \n", num2code(status).c_str(),
          num2code(id).c_str());
    CLog::Error(status);
  }
  return status;
}

AudioStatus CHardware::SetProperty(AudioPropertyId id, std::uint32_t size, void const* data) {
  AudioStatus const status = AudioHardwareSetProperty(id, size, data);
  if (status != 0) {
    TRACE("AudioHardwareSetProperty() failed: error=%s, property=%s \n", num2code(status).c_str(),
          num2code(id).c_str());
    CLog::Error(status);
  }
  return status;
}

}  // namespace CoreAudio
