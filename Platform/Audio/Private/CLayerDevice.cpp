#include "Platform/Audio/Private/CLayerDevice.h"

#include "Platform/Audio/Private/ThreadPriority.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <system_error>

namespace AudioLayer {

namespace {

bool IsSilent(unsigned char const* data, std::uint32_t bytes) {
  return std::all_of(data, data + bytes, [](unsigned char b) { return b == 0; });
}

}  // namespace

CLayerDevice::CLayerDevice(AudioDeviceId id, std::string const& name, bool isInput,
                           AudioStreamBasicDescription const& format, std::uint32_t bufferFrames,
                           std::unique_ptr<IDeviceDriver> driver)
    : mId(id),
      mName(name),
      mIsInput(isInput),
      mBufferFrames(bufferFrames),
      mDriver(std::move(driver)),
      mFormat(format),
      mThreadRunning(false),
      mCalling(false),
      mCalls(0),
      mSuspendRequested(false),
      mParked(false),
      mShut(false) {
  mProcs.reserve(sMaxProcs);
}

CLayerDevice::~CLayerDevice() {
  Shut();
  std::thread thread;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    thread.swap(mThread);
  }
  if (thread.joinable()) {
    if (thread.get_id() == std::this_thread::get_id()) {
      thread.detach();  // only if a procedure dropped the last reference
    } else {
      thread.join();
    }
  }
}

AudioStreamBasicDescription CLayerDevice::GetFormat(bool isInput) const {
  std::lock_guard<std::mutex> lock(mMutex);
  AudioStreamBasicDescription format = mFormat;
  if (isInput != mIsInput) {
    format.mChannelsPerFrame = 0;
    format.mBytesPerFrame = 0;
    format.mBytesPerPacket = 0;
  }
  return format;
}

bool CLayerDevice::IsAlive() const { return mDriver->IsAlive(); }

AudioStatus CLayerDevice::AddIOProc(AudioDeviceIOProc proc, void* client) {
  if (proc == nullptr) {
    return kAudioStatusBadParameter;
  }
  std::lock_guard<std::mutex> lock(mMutex);
  for (CProc const& p : mProcs) {
    if (p.mProc == proc) {
      return kAudioStatusIllegalOperation;
    }
  }
  if (mProcs.size() >= sMaxProcs || mShut) {
    return kAudioStatusIllegalOperation;
  }
  mProcs.push_back(CProc{proc, client, false});
  return kAudioStatusOk;
}

AudioStatus CLayerDevice::RemoveIOProc(AudioDeviceIOProc proc) {
  std::unique_lock<std::mutex> lock(mMutex);
  auto const it = std::find_if(mProcs.begin(), mProcs.end(),
                               [proc](CProc const& p) { return p.mProc == proc; });
  if (it == mProcs.end()) {
    return kAudioStatusIllegalOperation;
  }
  bool const wasStarted = it->mStarted;
  mProcs.erase(it);
  if (wasStarted) {
    WaitWhileCalling(lock);
  }
  return kAudioStatusOk;
}

AudioStatus CLayerDevice::Start(AudioDeviceIOProc proc) {
  std::unique_lock<std::mutex> lock(mMutex);
  for (;;) {
    auto const it = std::find_if(mProcs.begin(), mProcs.end(),
                                 [proc](CProc const& p) { return p.mProc == proc; });
    if (it == mProcs.end() || mShut) {
      return kAudioStatusIllegalOperation;
    }
    if (mThreadRunning) {
      it->mStarted = true;
      return kAudioStatusOk;
    }
    if (mThread.joinable()) {
      // The last thread is on its way out: let it close the driver first.
      std::thread old;
      old.swap(mThread);
      lock.unlock();
      old.join();
      lock.lock();
      continue;
    }
    AudioStatus const status = mDriver->Open(mFormat, mBufferFrames);
    if (status != kAudioStatusOk) {
      return status;
    }
    AllocateBuffer();
    try {
      mThread = std::thread(&CLayerDevice::Run, this);
    } catch (std::system_error const&) {
      mDriver->Close(false);  // no thread: the start fails
      return kAudioStatusStartFailed;
    }
    it->mStarted = true;
    mThreadRunning = true;
    mThreadId = mThread.get_id();
    return kAudioStatusOk;
  }
}

AudioStatus CLayerDevice::Stop(AudioDeviceIOProc proc) {
  std::unique_lock<std::mutex> lock(mMutex);
  auto const it = std::find_if(mProcs.begin(), mProcs.end(),
                               [proc](CProc const& p) { return p.mProc == proc; });
  if (it == mProcs.end()) {
    return kAudioStatusIllegalOperation;
  }
  if (it->mStarted) {
    it->mStarted = false;
    WaitWhileCalling(lock);
  }
  return kAudioStatusOk;
}

void CLayerDevice::WaitWhileCalling(std::unique_lock<std::mutex>& lock) {
  // From inside a procedure the call under way is our own.
  if (!mCalling || std::this_thread::get_id() == mThreadId) {
    return;
  }
  unsigned long const calls = mCalls;
  mChanged.wait(lock, [this, calls] { return mCalls != calls; });
}

void CLayerDevice::Suspend() {
  std::unique_lock<std::mutex> lock(mMutex);
  mSuspendRequested = true;
  mChanged.notify_all();
  if (std::this_thread::get_id() == mThreadId) {
    return;
  }
  mChanged.wait(lock, [this] { return !mThreadRunning || mParked; });
}

void CLayerDevice::SetFormat(AudioStreamBasicDescription const& format) {
  std::lock_guard<std::mutex> lock(mMutex);
  mFormat = format;
  mDriver->SetFormat(format, mBufferFrames);
  if (mThreadRunning) {
    AllocateBuffer();
  }
}

void CLayerDevice::Resume() {
  std::lock_guard<std::mutex> lock(mMutex);
  mSuspendRequested = false;
  mChanged.notify_all();
}

void CLayerDevice::Shut() {
  std::unique_lock<std::mutex> lock(mMutex);
  mShut = true;
  for (CProc& p : mProcs) {
    p.mStarted = false;
  }
  mSuspendRequested = false;
  mChanged.notify_all();
  WaitWhileCalling(lock);
}

std::size_t CLayerDevice::GetIOProcCount() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mProcs.size();
}

bool CLayerDevice::IsRunning() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mThreadRunning;
}

void CLayerDevice::AllocateBuffer() {
  mBuffer.assign(static_cast<std::size_t>(mBufferFrames) * mFormat.mBytesPerFrame, 0);
}

std::size_t CLayerDevice::Snapshot(CProc* calls) const {
  std::size_t n = 0;
  if (mShut) {
    return 0;
  }
  for (CProc const& p : mProcs) {
    if (p.mStarted) {
      calls[n++] = p;
    }
  }
  return n;
}

void CLayerDevice::Park(std::unique_lock<std::mutex>& lock) {
  while (mSuspendRequested && !mShut) {
    mParked = true;
    mChanged.notify_all();
    mChanged.wait(lock);
  }
  mParked = false;
}

void CLayerDevice::Run() {
  RaiseIOThreadPriority();
  CProc calls[sMaxProcs];
  AudioTimeStamp now = {0.0, 0};
  double sampleTime = 0.0;
  // The procedures' last output was silence: the sound had ended before the
  // stop, so what the driver holds is its end, to be heard.
  bool endedInSilence = true;
  std::unique_lock<std::mutex> lock(mMutex);
  for (;;) {
    Park(lock);
    if (Snapshot(calls) == 0) {
      break;
    }
    unsigned char* const data = mBuffer.data();
    std::uint32_t const bytes = static_cast<std::uint32_t>(mBuffer.size());
    std::uint32_t const channels = mFormat.mChannelsPerFrame;
    lock.unlock();

    if (!mIsInput) {
      std::memset(data, 0, bytes);  // a procedure that writes nothing plays silence
    }
    mDriver->WaitForCycle(data, bytes);
    now.mSampleTime = sampleTime;
    now.mHostTime =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                       std::chrono::steady_clock::now().time_since_epoch())
                                       .count());

    lock.lock();
    // Procedures stopped, or a suspension asked for, while we waited.
    if (mSuspendRequested) {
      continue;
    }
    std::size_t const n = Snapshot(calls);
    if (n == 0) {
      continue;
    }
    mCalling = true;
    lock.unlock();

    AudioBufferList list = {1, {{channels, bytes, data}}};
    for (std::size_t i = 0; i < n; ++i) {
      // Each procedure sees the whole buffer, whatever the one before did to the sizes.
      list.mBuffers[0].mDataByteSize = bytes;
      list.mBuffers[0].mNumberChannels = channels;
      list.mBuffers[0].mData = data;
      try {
        if (mIsInput) {
          calls[i].mProc(mId, &now, &list, &now, nullptr, nullptr, calls[i].mClient);
        } else {
          calls[i].mProc(mId, &now, nullptr, nullptr, &list, &now, calls[i].mClient);
        }
      } catch (...) {
        // Nothing a procedure throws may end the IO thread.
      }
    }

    lock.lock();
    mCalling = false;
    ++mCalls;
    mChanged.notify_all();
    lock.unlock();
    endedInSilence = mIsInput || IsSilent(data, bytes);
    mDriver->FinishCycle(data, bytes);
    sampleTime += static_cast<double>(mBufferFrames);
    lock.lock();
  }
  mThreadRunning = false;
  mThreadId = std::thread::id();
  mParked = false;
  mChanged.notify_all();
  lock.unlock();
  mDriver->Close(endedInSilence);
}

}  // namespace AudioLayer
