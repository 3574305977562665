#include "Platform/Audio/Private/CVirtualDriver.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <time.h>

namespace AudioLayer {

namespace {

// Sleeps until an absolute point of the steady clock (CLOCK_MONOTONIC), so
// the cycles keep their pace however long each took.
void SleepUntil(std::chrono::steady_clock::time_point when) {
  auto const ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count();
  if (ns <= 0) {
    return;
  }
  timespec t;
  t.tv_sec = static_cast<time_t>(ns / 1000000000);
  t.tv_nsec = static_cast<long>(ns % 1000000000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
  }
}

}  // namespace

CVirtualDriver::CVirtualDriver(bool isInput, AudioStreamBasicDescription const& format,
                               std::size_t capacity)
    : mIsInput(isInput),
      mFormat(format),
      mPeriod(0),
      mKept(isInput ? nullptr : new unsigned char[capacity]),
      mKeptCapacity(isInput ? 0 : capacity),
      mKeptSize(0),
      mClearedTo(0),
      mFed(isInput ? new float[capacity] : nullptr),
      mFedCapacity(isInput ? capacity : 0),
      mFedRead(0),
      mFedWrite(0),
      mStartFails(false),
      mCycles(0),
      mStarts(0) {
  mSegments.push_back(std::make_pair(std::size_t(0), format));
}

void CVirtualDriver::SetPeriod(AudioStreamBasicDescription const& format,
                               std::uint32_t bufferFrames) {
  double const seconds = format.mSampleRate > 0.0 ? bufferFrames / format.mSampleRate : 0.01;
  mPeriod = std::chrono::nanoseconds(static_cast<long long>(seconds * 1e9));
}

AudioStatus CVirtualDriver::Open(AudioStreamBasicDescription const& format,
                                 std::uint32_t bufferFrames) {
  if (mStartFails.load()) {
    return kAudioStatusStartFailed;
  }
  mFormat = format;
  SetPeriod(format, bufferFrames);
  mNext = std::chrono::steady_clock::now();  // the first cycle at once
  mStarts.fetch_add(1);
  return kAudioStatusOk;
}

void CVirtualDriver::SetFormat(AudioStreamBasicDescription const& format,
                               std::uint32_t bufferFrames) {
  mFormat = format;
  SetPeriod(format, bufferFrames);
  std::lock_guard<std::mutex> lock(mSegmentMutex);
  mSegments.push_back(std::make_pair(mKeptSize.load(std::memory_order_acquire), format));
}

void CVirtualDriver::WaitForCycle(void* data, std::uint32_t bytes) {
  auto const now = std::chrono::steady_clock::now();
  // Far behind (a debugger, a loaded machine): go on from now rather than
  // catching up in a burst.
  if (now - mNext > 4 * mPeriod) {
    mNext = now;
  }
  SleepUntil(mNext);
  mNext += mPeriod;
  if (!mIsInput) {
    return;
  }
  std::memset(data, 0, bytes);
  bool const isFloat =
      (mFormat.mFormatFlags & kAudioFormatFlagIsFloat) != 0 && mFormat.mBitsPerChannel == 32 &&
      (mFormat.mFormatFlags & kAudioFormatFlagIsBigEndian) ==
          (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? kAudioFormatFlagIsBigEndian : 0u);
  if (!isFloat) {
    return;
  }
  float* const out = static_cast<float*>(data);
  std::size_t const wanted = bytes / sizeof(float);
  std::size_t const read = mFedRead.load(std::memory_order_relaxed);
  std::size_t const available = mFedWrite.load(std::memory_order_acquire) - read;
  std::size_t const n = std::min(wanted, available);
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = mFed[(read + i) % mFedCapacity];
  }
  mFedRead.store(read + n, std::memory_order_release);
}

void CVirtualDriver::FinishCycle(void const* data, std::uint32_t bytes) {
  mCycles.fetch_add(1);
  if (mIsInput) {
    return;
  }
  std::size_t const size = mKeptSize.load(std::memory_order_relaxed);
  std::size_t const n = std::min<std::size_t>(bytes, mKeptCapacity - size);
  std::memcpy(mKept.get() + size, data, n);
  mKeptSize.store(size + n, std::memory_order_release);
}

std::vector<std::pair<AudioStreamBasicDescription, std::vector<unsigned char> > >
CVirtualDriver::GetKept() const {
  std::lock_guard<std::mutex> lock(mSegmentMutex);
  std::size_t const size = mKeptSize.load(std::memory_order_acquire);
  std::vector<std::pair<AudioStreamBasicDescription, std::vector<unsigned char> > > kept;
  for (std::size_t i = 0; i < mSegments.size(); ++i) {
    std::size_t const begin = std::max(mSegments[i].first, mClearedTo);
    std::size_t const end = i + 1 < mSegments.size() ? mSegments[i + 1].first : size;
    if (begin < end || (i + 1 == mSegments.size() && kept.empty())) {
      unsigned char const* const p = mKept.get();
      kept.push_back(std::make_pair(mSegments[i].second,
                                    begin < end ? std::vector<unsigned char>(p + begin, p + end)
                                                : std::vector<unsigned char>()));
    }
  }
  return kept;
}

void CVirtualDriver::Clear() {
  std::lock_guard<std::mutex> lock(mSegmentMutex);
  mClearedTo = mKeptSize.load(std::memory_order_acquire);
}

std::size_t CVirtualDriver::Feed(float const* samples, std::size_t count) {
  std::size_t const write = mFedWrite.load(std::memory_order_relaxed);
  std::size_t const room = mFedCapacity - (write - mFedRead.load(std::memory_order_acquire));
  std::size_t const n = std::min(count, room);
  for (std::size_t i = 0; i < n; ++i) {
    mFed[(write + i) % mFedCapacity] = samples[i];
  }
  mFedWrite.store(write + n, std::memory_order_release);
  return n;
}

}  // namespace AudioLayer
