#include "SL/Linux/Audio/CDeviceIO.h"

#include "GT/Com/Base/DebugTrace.h"
#include "SL/Linux/Audio/CLog.h"
#include "SL/Linux/Audio/Num2Code.h"

#include <chrono>
#include <thread>

namespace CoreAudio {

std::atomic<CDeviceIO*> CDeviceIO::sDeviceIOs(nullptr);
std::atomic<unsigned long> CDeviceIO::sUnlinks(0);
std::atomic<unsigned> CDeviceIO::sEpoch(0);
std::atomic<int> CDeviceIO::sWalks[2] = {{0}, {0}};
CMutex CDeviceIO::sMutex;
std::mutex CDeviceIO::sSynchronizeMutex;

namespace {

// The epoch of the walk this thread is in, -1 outside one.
thread_local int tWalkEpoch = -1;
// The object whose procedure this thread is calling.
thread_local CDeviceIO const* tCalling = nullptr;

void Pause() { std::this_thread::sleep_for(std::chrono::microseconds(50)); }

}  // namespace

CDeviceIO::CDeviceIO(AudioDeviceId device, InputProc input, OutputProc output, void* user)
    : mNext(nullptr),
      mDevice(device),
      mStarted(false),
      mInputProc(input),
      mOutputProc(output),
      mUser(user),
      mCalls(0),
      mGraceOwed(false) {}

CDeviceIO::CDeviceIO(CDevice const& device, InputProc input, OutputProc output, void* user)
    : CDeviceIO(device.GetId(), input, output, user) {}

CDeviceIO::~CDeviceIO() {
  Stop(true);
  if (mGraceOwed.exchange(false)) {
    Synchronize();
  }
}

bool CDeviceIO::IsStarted() const {
  std::lock_guard<CMutex> lock(sMutex);
  return mStarted;
}

bool CDeviceIO::IsCallbackThread() { return tWalkEpoch >= 0; }

bool CDeviceIO::HasOtherEntryFor(AudioDeviceId device) const {
  for (CDeviceIO* e = sDeviceIOs.load(); e != nullptr; e = e->mNext.load()) {
    if (e != this && e->mDevice == device) {
      return true;
    }
  }
  return false;
}

void CDeviceIO::Unlink() {
  CDeviceIO* previous = nullptr;
  for (CDeviceIO* e = sDeviceIOs.load(); e != nullptr; previous = e, e = e->mNext.load()) {
    if (e == this) {
      // Our own link stays as it is, for a walk standing on us.
      CDeviceIO* const next = mNext.load();
      if (previous == nullptr) {
        sDeviceIOs.store(next, std::memory_order_release);
      } else {
        previous->mNext.store(next, std::memory_order_release);
      }
      sUnlinks.fetch_add(1);
      return;
    }
  }
}

void CDeviceIO::Synchronize() {
  std::lock_guard<std::mutex> lock(sSynchronizeMutex);
  // Two flips: a walk that began before the first has ended after the second.
  for (int flip = 0; flip < 2; ++flip) {
    unsigned const old = sEpoch.fetch_add(1) & 1u;
    int const ours = tWalkEpoch == static_cast<int>(old) ? 1 : 0;
    while (sWalks[old].load() > ours) {
      Pause();
    }
  }
}

AudioStatus CDeviceIO::Start() {
  if (!IsCallbackThread() && mGraceOwed.exchange(false)) {
    Synchronize();  // no walk may still stand on our old link
  }
  std::lock_guard<CMutex> lock(sMutex);
  if (mStarted) {
    return 0;
  }
  bool const shared = HasOtherEntryFor(mDevice);
  // The link is set before the head changes, so a walk sees all or nothing of us.
  mNext.store(sDeviceIOs.load(), std::memory_order_relaxed);
  sDeviceIOs.store(this, std::memory_order_release);
  if (shared) {
    mStarted = true;  // the platform procedure already runs for this device
    return 0;
  }
  AudioStatus status = AudioDeviceAddIOProc(mDevice, &CallbackIOProc, &sDeviceIOs);
  if (status != 0) {
    TRACE("AudioDeviceAddIOProc() failed: error=%s \n", num2code(status).c_str());
    CLog::Error(status);
    Unlink();
    return status;
  }
  status = AudioDeviceStart(mDevice, &CallbackIOProc);
  if (status != 0) {
    TRACE("AudioDeviceStart() failed: error=%s \n", num2code(status).c_str());
    CLog::Error(status);
    AudioDeviceRemoveIOProc(mDevice, &CallbackIOProc);
    Unlink();
    return status;
  }
  mStarted = true;
  return 0;
}

AudioStatus CDeviceIO::Stop(bool wait) {
  AudioStatus status = 0;
  {
    std::lock_guard<CMutex> lock(sMutex);
    if (!mStarted) {
      return 0;
    }
    mStarted = false;
    Unlink();
    if (!HasOtherEntryFor(mDevice)) {
      // The layer waits for a call of the shared procedure under way.
      AudioStatus const stopped = AudioDeviceStop(mDevice, &CallbackIOProc);
      if (stopped != 0) {
        TRACE("AudioDeviceStop() failed: error=%s \n", num2code(stopped).c_str());
        CLog::Error(stopped);
      }
      status = AudioDeviceRemoveIOProc(mDevice, &CallbackIOProc);
      if (status != 0) {
        TRACE("AudioDeviceRemoveIOProc() failed: error=%s \n", num2code(status).c_str());
        CLog::Error(status);
      }
    }
  }
  // Outside the lock: a procedure under way may itself be starting or
  // stopping an object. From inside a walk, waiting for the others could
  // wait for a walk that waits for us; the wait is owed until we are next
  // started or destroyed, which never happens inside a walk.
  if (IsCallbackThread()) {
    mGraceOwed.store(true);
  } else {
    Synchronize();
  }
  if (wait) {
    int const ours = tCalling == this ? 1 : 0;
    while (mCalls.load() > ours) {
      Pause();
    }
  }
  return status;
}

AudioStatus CDeviceIO::CallbackIOProc(AudioDeviceId device, AudioTimeStamp const* now,
                                      AudioBufferList const* inputData,
                                      AudioTimeStamp const* inputTime, AudioBufferList* outputData,
                                      AudioTimeStamp const* outputTime, void* clientData) {
  (void)clientData;
  int epoch;
  for (;;) {
    epoch = static_cast<int>(sEpoch.load() & 1u);
    sWalks[epoch].fetch_add(1);
    if (static_cast<int>(sEpoch.load() & 1u) == epoch) {
      break;
    }
    sWalks[epoch].fetch_sub(1);
  }
  int const outerEpoch = tWalkEpoch;
  tWalkEpoch = epoch;
  unsigned long const unlinks = sUnlinks.load();

  // Calls one procedure; false when the walk must end (the procedure said
  // so, threw, or the registry lost an entry meanwhile: the next link may
  // be gone).
  auto call = [&](CDeviceIO* e, bool input) {
    bool done = false;
    bool ok = true;
    e->mCalls.fetch_add(1);
    CDeviceIO const* const outer = tCalling;
    tCalling = e;
    try {
      done = input ? e->mInputProc(now, inputData, inputTime, e->mUser)
                   : e->mOutputProc(now, outputData, outputTime, e->mUser);
    } catch (...) {
      ok = false;
    }
    tCalling = outer;
    e->mCalls.fetch_sub(1);
    return std::make_pair(ok, done || sUnlinks.load() != unlinks);
  };

  bool ok = true;
  if (inputData != nullptr) {
    for (CDeviceIO* e = sDeviceIOs.load(std::memory_order_acquire); e != nullptr;
         e = e->mNext.load(std::memory_order_acquire)) {
      if (e->mDevice == device && e->mInputProc != nullptr) {
        std::pair<bool, bool> const r = call(e, true);
        ok = r.first;
        if (!r.first || r.second) {
          break;
        }
      }
    }
  }
  if (ok && outputData != nullptr && sUnlinks.load() == unlinks) {
    for (CDeviceIO* e = sDeviceIOs.load(std::memory_order_acquire); e != nullptr;
         e = e->mNext.load(std::memory_order_acquire)) {
      if (e->mDevice == device && e->mOutputProc != nullptr) {
        std::pair<bool, bool> const r = call(e, false);
        if (!r.first || r.second) {
          break;
        }
      }
    }
  }

  tWalkEpoch = outerEpoch;
  sWalks[epoch].fetch_sub(1);
  return 0;
}

}  // namespace CoreAudio
