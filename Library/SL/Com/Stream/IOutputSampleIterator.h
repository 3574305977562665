#pragma once

#include "SL/Com/Stream/ISampleIteratorBase.h"

namespace SL {

// A sink of samples: Set stores the current sample, Next commits it.
class IOutputSampleIterator : public ISampleIteratorBase {
public:
  ~IOutputSampleIterator() override = default;
};

}  // namespace SL
