#pragma once

#include "GT/Com/Geometry/CRectT.h"

namespace UL {

// The drawing context handed through every Draw call. Widgets pass it on
// without looking into it; the platform side carries its painter in it.
class ADrawInfo {
public:
  virtual ~ADrawInfo() = default;

  // Whether the rectangle touches the area being redrawn.
  virtual bool IntersectsDrawRegion(GT::CRectT<long> const& rect) const = 0;
};

}  // namespace UL
