#pragma once

#include "SL/Com/Buffer/ISampleIncrementer.h"

namespace SL {

// Visits every sample of every frame.
template <int B>
class CLinearSampleIncrementer : public ISampleIncrementer<B> {
public:
  CLinearSampleIncrementer() = default;
  CLinearSampleIncrementer(CLinearSampleIncrementer const&) = default;
  ~CLinearSampleIncrementer() override = default;

  CLinearSampleIncrementer* Clone() const override { return new CLinearSampleIncrementer(*this); }
  long IncrementInitial() override { return 0; }
  long Increment() override { return B; }
};

}  // namespace SL
