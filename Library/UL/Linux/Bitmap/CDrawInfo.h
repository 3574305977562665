#pragma once

#include "UL/Com/Bitmap/ADrawInfo.h"

#include <vector>

class QPainter;

namespace UL {

// The drawing context of one redraw: the painter of the pane being drawn and
// the rectangles to redraw (null: everything).
class CDrawInfo : public ADrawInfo {
public:
  explicit CDrawInfo(std::vector<GT::CRectT<long>>* dirtyRegion, QPainter* painter = nullptr)
      : mDirtyRegion(dirtyRegion), mPainter(painter) {}

  // Nothing asks it; every rectangle is drawn.
  bool IntersectsDrawRegion(GT::CRectT<long> const&) const override { return false; }
  QPainter* GetPainter() const { return mPainter; }

private:
  std::vector<GT::CRectT<long>>* mDirtyRegion;
  QPainter* mPainter;
};

}  // namespace UL
