#include "SL/Com/ASampleBufferFactory.h"

#include "GT/Com/Numerics.h"

#include <algorithm>

namespace SL {

ASampleBufferFactory::ASampleBufferFactory()
    : mAttribute(), mMinimumFrameCount(128), mFrameCount(0), mBufferTime(0.0), mUsesBufferTime(false) {}

ASampleBufferFactory::~ASampleBufferFactory() {}

double ASampleBufferFactory::FrameCountToTime(long frames) const {
  if (mAttribute.mSampleRate == 0.0) {
    return 0.0;
  }
  return static_cast<double>(frames) / mAttribute.mSampleRate;
}

long ASampleBufferFactory::TimeToFrameCount(double seconds) const {
  return GT::RoundClipA<long>(seconds * mAttribute.mSampleRate);
}

double ASampleBufferFactory::ClippedBufferTime() const {
  double const minimum = FrameCountToTime(mMinimumFrameCount);
  return minimum > mBufferTime ? minimum : mBufferTime;
}

double ASampleBufferFactory::BufferTime() const {
  if (mUsesBufferTime) {
    return ClippedBufferTime();
  }
  return FrameCountToTime(std::max(mMinimumFrameCount, mFrameCount));
}

long ASampleBufferFactory::BufferFrameCount() const {
  if (mUsesBufferTime) {
    return TimeToFrameCount(ClippedBufferTime());
  }
  return std::max(mMinimumFrameCount, mFrameCount);
}

}  // namespace SL
