#include "SL/Com/Wave/ALoop.h"

#include <algorithm>
#include <utility>

#include "GT/Com/Data/Numerics.h"

namespace SL {

ALoop::ALoop()
    : mStartFrame(0.0),
      mJumpFrame(0.0),
      mLoopFrame(0.0),
      mEndFrame(0.0),
      mCurrentFrame(0.0),
      mXfDepthLoop(0.0),
      mXfRateLoop(0.5),
      mXfDepthEnd(0.0),
      mXfRateEnd(0.5),
      mLoopMode(CLoopMode::OneShot),
      mLoopTune(0.0) {}

ALoop::ALoop(ALoop const& other) = default;

ALoop& ALoop::operator=(ALoop const& other) {
  ALoop copy(other);
  Swap(copy);
  return *this;
}

void ALoop::Swap(ALoop& other) {
  std::swap(mStartFrame, other.mStartFrame);
  std::swap(mJumpFrame, other.mJumpFrame);
  std::swap(mLoopFrame, other.mLoopFrame);
  std::swap(mEndFrame, other.mEndFrame);
  std::swap(mCurrentFrame, other.mCurrentFrame);
  std::swap(mXfDepthLoop, other.mXfDepthLoop);
  std::swap(mXfRateLoop, other.mXfRateLoop);
  std::swap(mXfDepthEnd, other.mXfDepthEnd);
  std::swap(mXfRateEnd, other.mXfRateEnd);
  std::swap(mLoopMode, other.mLoopMode);
  std::swap(mLoopTune, other.mLoopTune);
}

bool ALoop::operator==(ALoop const& other) const {
  return mStartFrame == other.mStartFrame && mJumpFrame == other.mJumpFrame &&
         mLoopFrame == other.mLoopFrame && mEndFrame == other.mEndFrame &&
         mCurrentFrame == other.mCurrentFrame && mXfDepthLoop == other.mXfDepthLoop &&
         mXfRateLoop == other.mXfRateLoop && mXfDepthEnd == other.mXfDepthEnd &&
         mXfRateEnd == other.mXfRateEnd && mLoopMode.GetValue() == other.mLoopMode.GetValue() &&
         mLoopTune == other.mLoopTune;
}

void ALoop::Normalize() {
  double const loop = std::min(mLoopFrame, mEndFrame);
  double const end = std::max(mLoopFrame, mEndFrame);
  mLoopFrame = loop;
  mEndFrame = end;
  mStartFrame = std::min(mStartFrame, mLoopFrame);
  mJumpFrame = GT::Clip(mJumpFrame, mStartFrame, mLoopFrame);
  mXfDepthEnd = GT::Clip(mXfDepthEnd, 0.0, mEndFrame - mLoopFrame);
  mXfDepthLoop = GT::Clip(mXfDepthLoop, 0.0, mEndFrame - mLoopFrame - mXfDepthEnd);
  if (mXfRateLoop < 0.0) mXfRateLoop = 0.0;
  if (mXfRateEnd < 0.0) mXfRateEnd = 0.0;
}

bool ALoop::HasNormalized() const {
  return mJumpFrame >= mStartFrame && mLoopFrame >= mJumpFrame && mEndFrame >= mLoopFrame &&
         mXfDepthEnd >= 0.0 && mXfDepthLoop >= 0.0 &&
         mEndFrame - mLoopFrame >= mXfDepthEnd + mXfDepthLoop && mXfRateEnd >= 0.0 &&
         mXfRateLoop >= 0.0;
}

}  // namespace SL
