#include "UL/Com/Bitmap/AStateBitmap.h"

#include <cassert>

namespace UL {

AStateBitmap::AStateBitmap(std::string const& name, long stateCount, bool horizontal, bool doubled)
    : mStateSize(0, 0),
      mName(name),
      mStateCount(stateCount < 1 ? 1 : stateCount),
      mHorizontal(horizontal),
      mDoubled(doubled) {}

GT::CSizeT<long> AStateBitmap::ToStateSize(GT::CSizeT<long> const& size) const {
  if (mHorizontal)
    return GT::CSizeT<long>(size.width / mStateCount, mDoubled ? size.height / 2 : size.height);
  return GT::CSizeT<long>(mDoubled ? size.width / 2 : size.width, size.height / mStateCount);
}

void AStateBitmap::DrawState(ADrawInfo const& info, GT::CPointT<long> const& at, long stateId) {
  assert(0 <= stateId && stateId < mStateCount);
  // Out of range in a release build: drawing a neighbour's pixels would only
  // hide the fault, so nothing is drawn.
  if (stateId < 0 || stateId >= mStateCount) return;
  long const w = mStateSize.width;
  long const h = mStateSize.height;
  GT::CPointT<long> source;
  GT::CPointT<long> source2;
  if (mHorizontal) {
    source = GT::CPointT<long>(stateId * w, 0);
    if (mDoubled) source2 = GT::CPointT<long>(stateId * w, h);
  } else {
    source = GT::CPointT<long>(0, stateId * h);
    if (mDoubled) source2 = GT::CPointT<long>(w, stateId * h);
  }
  Draw(info, at, mStateSize, source, source2);
}

}  // namespace UL
