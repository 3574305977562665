#pragma once

#include "SL/Com/Wave/CLoopMode.h"

namespace SL {

// The values of a loop, with the arithmetic that repairs them.
class ALoop {
public:
  ALoop();
  ALoop(ALoop const& other);
  ALoop& operator=(ALoop const& other);
  void Swap(ALoop& other);
  bool operator==(ALoop const& other) const;
  bool operator!=(ALoop const& other) const { return !(*this == other); }

  // Orders loop and end, pulls start and jump in, fits the cross-fades into
  // the loop and makes the rates non-negative.
  void Normalize();
  bool HasNormalized() const;

  double mStartFrame;
  double mJumpFrame;
  double mLoopFrame;
  double mEndFrame;
  double mCurrentFrame;
  double mXfDepthLoop;
  double mXfRateLoop;
  double mXfDepthEnd;
  double mXfRateEnd;
  CLoopMode mLoopMode;
  double mLoopTune;
};

}  // namespace SL
