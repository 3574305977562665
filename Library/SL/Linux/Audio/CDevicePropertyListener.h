#pragma once

#include "Platform/Audio/AudioHardware.h"
#include "SL/Linux/Audio/CMutex.h"

#include <atomic>

namespace CoreAudio {

// One client's watch on a device property. Every listener of the same
// device, channel, direction and property hangs on one platform listener.
// Remove returns once no call of this listener's procedure is running (but
// the one it is called from).
class CDevicePropertyListener {
public:
  typedef AudioStatus (*Proc)(AudioDeviceId device, std::uint32_t channel, bool isInput,
                              AudioPropertyId property, void* user);

  CDevicePropertyListener();
  ~CDevicePropertyListener();
  CDevicePropertyListener(CDevicePropertyListener const&) = delete;
  CDevicePropertyListener& operator=(CDevicePropertyListener const&) = delete;

  AudioStatus Add(AudioDeviceId device, AudioPropertyId property, Proc proc, void* user,
                  bool isInput, std::uint32_t channel);
  AudioStatus Remove();

  static AudioStatus ListenerCallback(AudioDeviceId device, std::uint32_t channel, bool isInput,
                                      AudioPropertyId property, void* clientData);

private:
  bool SameKeys(CDevicePropertyListener const& other) const;
  bool HasOtherEntryWithKeys() const;

  CDevicePropertyListener* mNext;
  AudioDeviceId mDevice;
  AudioPropertyId mProperty;
  bool mIsInput;
  std::uint32_t mChannel;
  Proc mProc;
  void* mUser;
  bool mLinked;
  std::atomic<int> mCalls;

  static CDevicePropertyListener* sListeners;
  static CMutex sMutex;
};

}  // namespace CoreAudio
