#pragma once

#include "GT/Com/Observer/IIteratorBase.h"
#include "SL/Com/Stream/CSampleAttribute.h"
#include "SL/Com/Buffer/ILocatable1D.h"

namespace SL {

// Walks an interleaved sample stream one sample at a time; positions count
// frames. A stream failure clears the valid flag and ends HasNext instead of
// throwing.
class ISampleIteratorBase : public GT::IIteratorBase, public ILocatable1D {
public:
  ~ISampleIteratorBase() override = default;

  virtual CSampleAttribute const& GetAttribute() const = 0;
  virtual bool IsValid() const { return true; }
  // The frame of this iterator's own source that n frames taken from it
  // correspond to.
  virtual long ToCurrentFrame(long frames) const = 0;
};

}  // namespace SL
