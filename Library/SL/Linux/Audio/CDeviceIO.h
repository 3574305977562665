#pragma once

#include "Platform/Audio/AudioHardware.h"
#include "SL/Linux/Audio/CDevice.h"
#include "SL/Linux/Audio/CMutex.h"

#include <atomic>

namespace CoreAudio {

// One client's IO procedures on a device. Every device-IO object of a
// device hangs on one shared platform procedure, added with the first and
// removed with the last.
//
// The registry is a list linked at the head and walked by the IO threads
// without a lock. An entry taken out keeps its link, and Stop waits until
// every walk that may still stand on it has ended (walks are counted in two
// alternating epochs), and until no call of its own procedures is running.
// A procedure may stop an object (its own too); the walk under way then
// ends. Objects are not started or destroyed from inside a procedure.
class CDeviceIO {
public:
  // True: no further procedure of this device is called in this cycle.
  typedef bool (*InputProc)(AudioTimeStamp const* now, AudioBufferList const* input,
                            AudioTimeStamp const* inputTime, void* user);
  typedef bool (*OutputProc)(AudioTimeStamp const* now, AudioBufferList* output,
                             AudioTimeStamp const* outputTime, void* user);

  CDeviceIO(AudioDeviceId device, InputProc input, OutputProc output, void* user);
  CDeviceIO(CDevice const& device, InputProc input, OutputProc output, void* user);
  // Stops with waiting.
  ~CDeviceIO();
  CDeviceIO(CDeviceIO const&) = delete;
  CDeviceIO& operator=(CDeviceIO const&) = delete;

  AudioStatus Start();
  // On return no call of this object's procedures is running, but the one
  // it is called from; wait only adds that to what the layer guarantees.
  AudioStatus Stop(bool wait);
  bool IsStarted() const;

  // True on a thread that is inside the shared procedure.
  static bool IsCallbackThread();

  static AudioStatus CallbackIOProc(AudioDeviceId device, AudioTimeStamp const* now,
                                    AudioBufferList const* inputData,
                                    AudioTimeStamp const* inputTime, AudioBufferList* outputData,
                                    AudioTimeStamp const* outputTime, void* clientData);

private:
  // With sMutex held.
  bool HasOtherEntryFor(AudioDeviceId device) const;
  void Unlink();
  // Waits until every walk that began before now has ended, but ours.
  static void Synchronize();

  std::atomic<CDeviceIO*> mNext;
  AudioDeviceId const mDevice;
  bool mStarted;  // guarded by sMutex
  InputProc const mInputProc;
  OutputProc const mOutputProc;
  void* const mUser;
  std::atomic<int> mCalls;       // calls of this object's procedures running now
  std::atomic<bool> mGraceOwed;  // stopped inside a walk, not yet synchronised

  static std::atomic<CDeviceIO*> sDeviceIOs;
  static std::atomic<unsigned long> sUnlinks;
  static std::atomic<unsigned> sEpoch;
  static std::atomic<int> sWalks[2];
  static CMutex sMutex;
  static std::mutex sSynchronizeMutex;
};

}  // namespace CoreAudio
