#include "SL/Linux/Audio/CDevicePropertyListener.h"

#include "GT/Com/Base/DebugTrace.h"
#include "SL/Linux/Audio/CLog.h"
#include "SL/Linux/Audio/Num2Code.h"

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace CoreAudio {

CDevicePropertyListener* CDevicePropertyListener::sListeners = nullptr;
CMutex CDevicePropertyListener::sMutex;

namespace {

thread_local CDevicePropertyListener const* tCalling = nullptr;

}  // namespace

CDevicePropertyListener::CDevicePropertyListener()
    : mNext(nullptr),
      mDevice(0),
      mProperty(0),
      mIsInput(false),
      mChannel(0),
      mProc(nullptr),
      mUser(nullptr),
      mLinked(false),
      mCalls(0) {}

CDevicePropertyListener::~CDevicePropertyListener() { Remove(); }

bool CDevicePropertyListener::SameKeys(CDevicePropertyListener const& other) const {
  return mDevice == other.mDevice && mChannel == other.mChannel && mIsInput == other.mIsInput &&
         mProperty == other.mProperty;
}

bool CDevicePropertyListener::HasOtherEntryWithKeys() const {
  for (CDevicePropertyListener* e = sListeners; e != nullptr; e = e->mNext) {
    if (e != this && SameKeys(*e)) {
      return true;
    }
  }
  return false;
}

AudioStatus CDevicePropertyListener::Add(AudioDeviceId device, AudioPropertyId property, Proc proc,
                                         void* user, bool isInput, std::uint32_t channel) {
  std::lock_guard<CMutex> lock(sMutex);
  if (mLinked) {
    return 0;
  }
  mDevice = device;
  mProperty = property;
  mProc = proc;
  mUser = user;
  mIsInput = isInput;
  mChannel = channel;
  if (!HasOtherEntryWithKeys()) {
    AudioStatus const status = AudioDeviceAddPropertyListener(device, channel, isInput, property,
                                                              &ListenerCallback, nullptr);
    if (status != 0) {
      TRACE(
          "AudioDeviceAddPropertyListener() failed: error=%s, device=%d, input?=%d, property=%s "
          "\n",
          num2code(status).c_str(), static_cast<int>(device), isInput ? 1 : 0,
          num2code(property).c_str());
      CLog::Error(status);
      return status;
    }
  }
  mNext = sListeners;
  sListeners = this;
  mLinked = true;
  return 0;
}

AudioStatus CDevicePropertyListener::Remove() {
  AudioStatus status = 0;
  {
    std::lock_guard<CMutex> lock(sMutex);
    if (!mLinked) {
      return 0;
    }
    CDevicePropertyListener** link = &sListeners;
    while (*link != nullptr && *link != this) {
      link = &(*link)->mNext;
    }
    if (*link == this) {
      *link = mNext;
    }
    mLinked = false;
    if (!HasOtherEntryWithKeys()) {
      status = AudioDeviceRemovePropertyListener(mDevice, mChannel, mIsInput, mProperty,
                                                 &ListenerCallback);
      if (status != 0) {
        TRACE(
            "AudioDeviceRemovePropertyListener() failed: error=%s, device=%d, input?=%d, "
            "property=%s \n",
            num2code(status).c_str(), static_cast<int>(mDevice), mIsInput ? 1 : 0,
            num2code(mProperty).c_str());
        CLog::Error(status);
      }
    }
  }
  // A call taken from the registry before we left it may still be running.
  int const ours = tCalling == this ? 1 : 0;
  while (mCalls.load() > ours) {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  return status;
}

AudioStatus CDevicePropertyListener::ListenerCallback(AudioDeviceId device, std::uint32_t channel,
                                                      bool isInput, AudioPropertyId property,
                                                      void* clientData) {
  (void)clientData;
  std::vector<CDevicePropertyListener*> called;
  {
    std::lock_guard<CMutex> lock(sMutex);
    for (CDevicePropertyListener* e = sListeners; e != nullptr; e = e->mNext) {
      if (e->mDevice == device && e->mChannel == channel && e->mIsInput == isInput &&
          e->mProperty == property) {
        e->mCalls.fetch_add(1);  // Remove waits for this before its object goes
        called.push_back(e);
      }
    }
  }
  // No lock held: a listener may add or remove listeners.
  for (CDevicePropertyListener* e : called) {
    CDevicePropertyListener const* const outer = tCalling;
    tCalling = e;
    try {
      e->mProc(device, channel, isInput, property, e->mUser);
    } catch (...) {
    }
    tCalling = outer;
    e->mCalls.fetch_sub(1);
  }
  return 0;
}

}  // namespace CoreAudio
