#pragma once

#include "SL/Com/Base/CObject.h"

namespace SL {

// Where the bytes of a buffer iterator's current sample are.
class ISampleLocator : public CObject {
public:
  ~ISampleLocator() override = default;

  ISampleLocator* Clone() const override = 0;
  using CObject::Equals;
  // Address of the current sample's bytes, to be read or written.
  virtual unsigned char* Current() = 0;
  // The same address, for a caller that replaces the whole sample there: a
  // locator that fetches a sample before showing it need not fetch it.
  virtual unsigned char* CurrentForWrite() { return Current(); }
  // Moves by step bytes (negative and 0 allowed); returns the step.
  virtual long Increment(long step) = 0;
  // True when both stand at the same position; only locators of one class
  // compare.
  virtual bool Equals(ISampleLocator const& other) const = 0;
};

}  // namespace SL
