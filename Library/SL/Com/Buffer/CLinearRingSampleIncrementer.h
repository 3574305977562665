#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Buffer/CLinearSampleIncrementer.h"
#include "SL/Com/Buffer/Private/RingPublisher.h"

#include <atomic>
#include <vector>

namespace SL {

// Steps over every sample of a ring's storage, wrapping at its end, and
// publishes the start of the frame it stands in to the ring's read or write
// pointer: a frame is handed to the other side only once all of it is passed.
template <int B>
class CLinearRingSampleIncrementer : public CLinearSampleIncrementer<B> {
public:
  // start: where the iterator's position begins (a frame boundary).
  CLinearRingSampleIncrementer(std::atomic<unsigned char*>* published,
                               GT::CRange<unsigned char*> const& storage, int channels,
                               unsigned char* start)
      : mPublisher(published, storage, channels * B, start) {}
  CLinearRingSampleIncrementer(CLinearRingSampleIncrementer const&) = default;
  ~CLinearRingSampleIncrementer() override = default;

  CLinearRingSampleIncrementer* Clone() const override {
    return new CLinearRingSampleIncrementer(*this);
  }
  long IncrementInitial() override { return 0; }
  long Increment() override { return mPublisher.Step(B); }

private:
  Private::CRingPublisher mPublisher;
};

}  // namespace SL
