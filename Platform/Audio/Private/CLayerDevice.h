#pragma once

#include "Platform/Audio/AudioHardware.h"
#include "Platform/Audio/Private/IDeviceDriver.h"

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace AudioLayer {

// One device of the layer, in one direction: its properties, its IO
// procedures, and the IO thread that runs them once per cycle while one of
// them is started. The thread ends when none is started.
class CLayerDevice {
public:
  // At most this many procedures per device.
  static std::size_t const sMaxProcs = 8;

  CLayerDevice(AudioDeviceId id, std::string const& name, bool isInput,
               AudioStreamBasicDescription const& format, std::uint32_t bufferFrames,
               std::unique_ptr<IDeviceDriver> driver);
  // Stops every procedure and waits for the IO thread.
  ~CLayerDevice();
  CLayerDevice(CLayerDevice const&) = delete;
  CLayerDevice& operator=(CLayerDevice const&) = delete;

  AudioDeviceId GetId() const { return mId; }
  std::string const& GetName() const { return mName; }
  bool IsInput() const { return mIsInput; }
  // The direction the device lacks has 0 channels.
  AudioStreamBasicDescription GetFormat(bool isInput) const;
  std::uint32_t GetBufferFrames() const { return mBufferFrames; }
  bool IsAlive() const;

  AudioStatus AddIOProc(AudioDeviceIOProc proc, void* client);
  AudioStatus RemoveIOProc(AudioDeviceIOProc proc);
  AudioStatus Start(AudioDeviceIOProc proc);
  AudioStatus Stop(AudioDeviceIOProc proc);

  // Holds the IO between cycles, so the format can change under it.
  void Suspend();
  void SetFormat(AudioStreamBasicDescription const& format);
  void Resume();
  // Stops every procedure for good: the device is leaving the layer.
  void Shut();

  std::size_t GetIOProcCount() const;
  bool IsRunning() const;
  IDeviceDriver& GetDriver() { return *mDriver; }

private:
  struct CProc {
    AudioDeviceIOProc mProc;
    void* mClient;
    bool mStarted;
  };

  void Run();
  std::size_t Snapshot(CProc* calls) const;
  void WaitWhileCalling(std::unique_lock<std::mutex>& lock);
  void AllocateBuffer();
  void Park(std::unique_lock<std::mutex>& lock);

  AudioDeviceId const mId;
  std::string const mName;
  bool const mIsInput;
  std::uint32_t const mBufferFrames;
  std::unique_ptr<IDeviceDriver> const mDriver;

  mutable std::mutex mMutex;
  std::condition_variable mChanged;
  AudioStreamBasicDescription mFormat;
  std::vector<CProc> mProcs;
  std::vector<unsigned char> mBuffer;  // the IO buffer, resized only while no cycle runs
  std::thread mThread;
  std::thread::id mThreadId;
  bool mThreadRunning;   // the thread has not yet decided to end
  bool mCalling;         // procedures are being called now
  unsigned long mCalls;  // counts finished calling phases
  bool mSuspendRequested;
  bool mParked;
  bool mShut;
};

}  // namespace AudioLayer
