#pragma once

#include "Platform/Audio/Private/IDeviceDriver.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace AudioLayer {

// A device of our own for tests: runs its cycles at real-time pace with
// absolute deadlines, keeps what it was given (output) in memory reserved
// up front, and delivers samples it was fed (input), then silence.
class CVirtualDriver : public IDeviceDriver {
public:
  // capacity: bytes an output device keeps; floats an input device can be fed.
  CVirtualDriver(bool isInput, AudioStreamBasicDescription const& format, std::size_t capacity);

  AudioStatus Open(AudioStreamBasicDescription const& format, std::uint32_t bufferFrames) override;
  void SetFormat(AudioStreamBasicDescription const& format, std::uint32_t bufferFrames) override;
  void WaitForCycle(void* data, std::uint32_t bytes) override;
  void FinishCycle(void const* data, std::uint32_t bytes) override;
  void Close(bool) override {}
  bool IsAlive() const override { return true; }

  void SetStartFails(bool fails) { mStartFails.store(fails); }
  // Segments of kept bytes, one per stream format, since the last Clear.
  std::vector<std::pair<AudioStreamBasicDescription, std::vector<unsigned char> > > GetKept() const;
  void Clear();
  std::size_t Feed(float const* samples, std::size_t count);
  unsigned long GetCycles() const { return mCycles.load(); }
  unsigned long GetStarts() const { return mStarts.load(); }

private:
  void SetPeriod(AudioStreamBasicDescription const& format, std::uint32_t bufferFrames);

  bool const mIsInput;
  AudioStreamBasicDescription mFormat;
  std::chrono::steady_clock::time_point mNext;
  std::chrono::nanoseconds mPeriod;

  // Output: an append-only log the IO thread writes and tests read.
  std::unique_ptr<unsigned char[]> mKept;
  std::size_t const mKeptCapacity;
  std::atomic<std::size_t> mKeptSize;
  mutable std::mutex mSegmentMutex;  // never taken on the IO thread
  std::vector<std::pair<std::size_t, AudioStreamBasicDescription> > mSegments;
  std::size_t mClearedTo;

  // Input: a single-producer, single-consumer ring of floats.
  std::unique_ptr<float[]> mFed;
  std::size_t const mFedCapacity;
  std::atomic<std::size_t> mFedRead;
  std::atomic<std::size_t> mFedWrite;

  std::atomic<bool> mStartFails;
  std::atomic<unsigned long> mCycles;
  std::atomic<unsigned long> mStarts;
};

}  // namespace AudioLayer
