#pragma once

#include "SL/Com/Base/CObject.h"

#include <cstring>

namespace SL {

// Where the bytes of a buffer iterator's current sample are.
class ISampleLocator : public CObject {
public:
  ~ISampleLocator() override = default;

  ISampleLocator* Clone() const override = 0;
  using CObject::Equals;
  // Address of the current sample's bytes, to be read or written.
  virtual unsigned char* Current() = 0;
  // True for a locator over a stream, which shows a copy of the sample: the
  // typed iterators then hand it whole samples through Assign, which it
  // writes at once without fetching, so a sample reaches the file whatever
  // becomes of the iterator (a discarded copy's, one alive at Finalize). A
  // flag rather than a call keeps memory's path as short as it was.
  bool WritesThrough() const { return mWritesThrough; }
  // Replaces the whole current sample with size bytes.
  virtual void Assign(unsigned char const* bytes, int size) { std::memcpy(Current(), bytes, size); }
  // Moves by step bytes (negative and 0 allowed); returns the step.
  virtual long Increment(long step) = 0;
  // True when both stand at the same position; only locators of one class
  // compare.
  virtual bool Equals(ISampleLocator const& other) const = 0;

protected:
  explicit ISampleLocator(bool writesThrough = false) : mWritesThrough(writesThrough) {}

private:
  bool mWritesThrough;
};

}  // namespace SL
