#pragma once

#include "SL/Com/Stream/CSampleAttribute.h"
#include "SL/Com/Buffer/ISampleBuffer.h"

#include <boost/shared_ptr.hpp>

namespace SL {

// Decides how long the buffers of a stream or device are: a frame count of at
// least mMinimumFrameCount or, once mUsesBufferTime is set, mBufferTime
// seconds at the attribute's rate (never less than the minimum's time). The
// owner sets the fields directly. Used from one thread at a time.
class ASampleBufferFactory {
public:
  ASampleBufferFactory();
  virtual ~ASampleBufferFactory();

  virtual boost::shared_ptr<ISampleBuffer> Create() = 0;

  // frames / rate, or 0 when the rate is 0.
  double FrameCountToTime(long frames) const;
  // seconds x rate, rounded half away from zero, clipped to +-2147483647.
  long TimeToFrameCount(double seconds) const;
  double ClippedBufferTime() const;
  double BufferTime() const;
  long BufferFrameCount() const;

  CSampleAttribute mAttribute;
  long mMinimumFrameCount;
  long mFrameCount;
  double mBufferTime;
  bool mUsesBufferTime;

  // The most bytes a buffer may take, whatever was asked for.
  static long const sMaximumBufferBytes;
};

}  // namespace SL
