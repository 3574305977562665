#pragma once

#include <vector>

#include "SL/Com/Stream/CSampleAttribute.h"

namespace SL {

// A block of interleaved samples of one bit depth, independent of the
// sample type.
class ISampleBuffer {
public:
  virtual ~ISampleBuffer() = default;

  virtual CSampleAttribute const& GetAttribute() const = 0;
  // True when the samples lie in one block of memory exposed by the next
  // three operations; otherwise those return null.
  virtual bool IsSequential() const = 0;
  virtual unsigned char* Begin() = 0;
  virtual unsigned char* End() = 0;
  virtual unsigned char* At(long frame) = 0;
  // One peak magnitude per channel.
  virtual std::vector<double> GetPeakLevel() const = 0;

protected:
  ISampleBuffer() = default;
  ISampleBuffer(ISampleBuffer const&) = default;
  ISampleBuffer& operator=(ISampleBuffer const&) = default;
};

}  // namespace SL
