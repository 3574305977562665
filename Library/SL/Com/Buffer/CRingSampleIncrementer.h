#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Buffer/CSampleIncrementer.h"
#include "SL/Com/Buffer/Private/RingPublisher.h"

#include <atomic>
#include <vector>

namespace SL {

// Steps over chosen channels of a ring's frames, wrapping at the storage's
// end, and publishes the start of the frame it stands in (see
// CLinearRingSampleIncrementer). Its offset is the current sample's own, so
// a list that goes back inside a frame never publishes the frame before:
// that would hand the other side a frame still in use.
template <int B>
class CRingSampleIncrementer : public CSampleIncrementer<B> {
public:
  CRingSampleIncrementer(std::atomic<unsigned char*>* published,
                         GT::CRange<unsigned char*> const& storage, int channels,
                         std::vector<int> const& selected, unsigned char* start)
      : CSampleIncrementer<B>(channels, selected),
        mPublisher(published, storage, channels * B,
                   start + CSampleIncrementer<B>::IncrementInitial()) {}
  CRingSampleIncrementer(CRingSampleIncrementer const&) = default;
  ~CRingSampleIncrementer() override = default;

  CRingSampleIncrementer* Clone() const override { return new CRingSampleIncrementer(*this); }
  long Increment() override { return mPublisher.Step(CSampleIncrementer<B>::Increment()); }

private:
  Private::CRingPublisher mPublisher;
};

}  // namespace SL
