#pragma once

#include "SL/Com/Stream/IInputSampleIterator.h"
#include "SL/Com/Stream/IOutputSampleIterator.h"

namespace SL {

// Moves whole frames between a sample iterator and raw memory owned by the
// caller. bytes is the memory's size on entry and the size of the whole frames
// moved on return; the result is that frame count.
class ISampleCopier {
public:
  virtual ~ISampleCopier() {}
  virtual unsigned long CopyToBuffer(IInputSampleIterator& source, void* memory,
                                     unsigned long& bytes) = 0;
  virtual unsigned long CopyFromBuffer(void* memory, unsigned long& bytes,
                                       IOutputSampleIterator& destination) = 0;
  // The samples of a partial frame the last copy moved beyond the bytes it
  // reported, so a caller can keep whole frames together.
  virtual unsigned long GetPartialSamples() const = 0;
};

}  // namespace SL
