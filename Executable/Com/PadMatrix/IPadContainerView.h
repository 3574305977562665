#pragma once

#include "GT/Com/Geometry/CRectT.h"

namespace VQ7 {

// Whatever displays the pads: they ask it to redraw their rectangle.
class IPadContainerView {
public:
  virtual ~IPadContainerView() {}

  // The rectangle (container coordinates) must be redrawn soon; pads pass
  // false, and the flag carries nothing else.
  virtual void Invalidate(GT::CRectT<long> const& rect, bool) = 0;
};

}  // namespace VQ7
