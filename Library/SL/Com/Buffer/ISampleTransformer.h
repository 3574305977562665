#pragma once

#include "SL/Com/Stream/IInputSampleIterator.h"
#include "SL/Com/Stream/IOutputSampleIterator.h"
#include "SL/Com/Buffer/ISampleBuffer.h"

namespace SL {

// Copies samples of one bit depth from a source (always the first argument)
// to a destination, at most one of them an iterator; converts nothing.
// Result: 0 the source still has data, 1 the source ended short of the
// destination's end, 2 both ended together; decided before the mode's
// skipping (modes 0, 2) and filling with zero samples (modes 1, 2).
class ISampleTransformer {
public:
  enum EMode { DrainSource = 0, PadDestination = 1, DrainAndPad = 2, CopyOnly = 3 };

  virtual ~ISampleTransformer() {}
  virtual int Transform(ISampleBuffer& source, ISampleBuffer& destination, EMode mode) = 0;
  virtual int Transform(IInputSampleIterator& source, ISampleBuffer& destination, EMode mode) = 0;
  virtual int Transform(ISampleBuffer& source, IOutputSampleIterator& destination, EMode mode) = 0;
};

}  // namespace SL
