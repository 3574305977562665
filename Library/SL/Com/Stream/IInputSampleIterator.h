#pragma once

#include "SL/Com/Stream/ISampleIteratorBase.h"

namespace SL {

// A source of samples. Reads ahead: the current sample is available as soon
// as the iterator exists or has been repositioned.
class IInputSampleIterator : public ISampleIteratorBase {
public:
  ~IInputSampleIterator() override = default;
};

}  // namespace SL
