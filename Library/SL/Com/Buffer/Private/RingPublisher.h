#pragma once

#include "GT/Com/Enum/CRange.h"

#include <atomic>

namespace SL {
namespace Private {

// The wrapping and publishing shared by the two ring incrementers.
class CRingPublisher {
public:
  CRingPublisher(std::atomic<unsigned char*>* published, GT::CRange<unsigned char*> const& storage,
                 long frameSize, unsigned char* start)
      : mPublished(published),
        mRange(storage),
        mFrameSize(frameSize),
        mSize(storage.end - storage.begin),
        mOffset(start - storage.begin) {}

  // Moves the offset by step, wrapping at the storage's end, and publishes
  // the frame reached. Returns the step for the locator, the wrap included.
  long Step(long step) {
    mOffset += step;
    if (mOffset >= mSize) {
      mOffset -= mSize;
      step -= mSize;
    }
    if (mFrameSize > 0) {
      // Release: the samples of the frames handed over are visible before
      // the pointer that hands them over.
      mPublished->store(mRange.begin + mFrameSize * (mOffset / mFrameSize),
                        std::memory_order_release);
    }
    return step;
  }

private:
  std::atomic<unsigned char*>* mPublished;
  GT::CRange<unsigned char*> mRange;
  long mFrameSize;
  long mSize;
  long mOffset;
};

}  // namespace Private
}  // namespace SL
