#pragma once

#include "SL/Com/Base/CObject.h"

namespace SL {

// The byte steps between the samples a buffer iterator visits; B is the
// bytes one sample takes.
template <int B>
class ISampleIncrementer : public CObject {
public:
  ~ISampleIncrementer() override = default;

  ISampleIncrementer* Clone() const override = 0;
  // Offset from the first byte of a frame to the first sample visited.
  virtual long IncrementInitial() = 0;
  // Step from the sample just visited to the next one.
  virtual long Increment() = 0;
};

}  // namespace SL
