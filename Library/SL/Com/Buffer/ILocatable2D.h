#pragma once

#include "GT/Com/Enum/CRange.h"

namespace SL {

// Something that covers a range of frames [begin, end).
class ILocatable2D {
public:
  virtual ~ILocatable2D() {}
  virtual void SetLocation(GT::CRange<long> const& range) = 0;
  virtual GT::CRange<long> GetLocation() const = 0;
};

}  // namespace SL
