#pragma once

#include "SL/Com/Buffer/ISampleLocator.h"

namespace SL {

// Locator over raw memory: the current sample is at a byte address.
class CByteSampleLocator : public ISampleLocator {
public:
  explicit CByteSampleLocator(unsigned char* current) : mCurrent(current) {}
  CByteSampleLocator(CByteSampleLocator const&) = default;
  ~CByteSampleLocator() override = default;

  CByteSampleLocator* Clone() const override { return new CByteSampleLocator(*this); }
  using ISampleLocator::Equals;
  unsigned char* Current() override { return mCurrent; }
  long Increment(long step) override {
    mCurrent += step;
    return step;
  }
  // Locators of one buffer are all byte locators; no other class is compared.
  bool Equals(ISampleLocator const& other) const override {
    return static_cast<CByteSampleLocator const&>(other).mCurrent == mCurrent;
  }

private:
  unsigned char* mCurrent;
};

}  // namespace SL
