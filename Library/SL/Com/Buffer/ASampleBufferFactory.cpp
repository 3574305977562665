#include "SL/Com/Buffer/ASampleBufferFactory.h"

#include "GT/Com/Data/Numerics.h"

#include <algorithm>

namespace SL {

ASampleBufferFactory::ASampleBufferFactory()
    : mAttribute(),
      mMinimumFrameCount(128),
      mFrameCount(0),
      mBufferTime(0.0),
      mUsesBufferTime(false) {}

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
  long const wanted = mUsesBufferTime ? TimeToFrameCount(ClippedBufferTime())
                                      : std::max(mMinimumFrameCount, mFrameCount);
  // A time or frame count read from the preferences may ask for anything; a
  // buffer is never larger than sMaximumBufferBytes (nor below the minimum).
  long const frameBytes = mAttribute.GetBytesPerFrame();
  long const limit =
      std::max(mMinimumFrameCount, sMaximumBufferBytes / (frameBytes > 0 ? frameBytes : 1));
  return std::min(wanted, limit);
}

long const ASampleBufferFactory::sMaximumBufferBytes = 64L << 20;

}  // namespace SL
