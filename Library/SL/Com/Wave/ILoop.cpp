#include "SL/Com/Wave/ILoop.h"

#include <cstdint>

#include "GT/Com/Data/Numerics.h"
#include "SL/Com/Wave/CEntityId.h"

namespace SL {
namespace {

long ToInteger(double frame) { return GT::RoundClipA<long>(frame, -2147483647L, 2147483647L); }

// The difference of two clamped frames needs 33 bits; it is clamped again
// instead of wrapping.
long Difference(long end, long begin) {
  std::int64_t const d = static_cast<std::int64_t>(end) - static_cast<std::int64_t>(begin);
  if (d > 2147483647) return 2147483647L;
  if (d < -2147483647) return -2147483647L;
  return static_cast<long>(d);
}

}  // namespace

double ILoop::GetPlayLength() const { return GetEndFrame() - GetStartFrame(); }
double ILoop::GetLoopLength() const { return GetEndFrame() - GetLoopFrame(); }
double ILoop::GetAttackLength() const { return GetJumpFrame() - GetStartFrame(); }
double ILoop::GetDecayLength() const { return GetEndFrame() - GetJumpFrame(); }

GT::CRange<double> ILoop::GetPlayRange() const {
  return GT::CRange<double>(GetStartFrame(), GetEndFrame());
}
GT::CRange<double> ILoop::GetLoopRange() const {
  return GT::CRange<double>(GetLoopFrame(), GetEndFrame());
}
GT::CRange<double> ILoop::GetAttackRange() const {
  return GT::CRange<double>(GetStartFrame(), GetJumpFrame());
}
GT::CRange<double> ILoop::GetDecayRange() const {
  return GT::CRange<double>(GetJumpFrame(), GetEndFrame());
}

long ILoop::GetStartFrameInteger() const { return ToInteger(GetStartFrame()); }
long ILoop::GetJumpFrameInteger() const { return ToInteger(GetJumpFrame()); }
long ILoop::GetLoopFrameInteger() const { return ToInteger(GetLoopFrame()); }
long ILoop::GetEndFrameInteger() const { return ToInteger(GetEndFrame()); }
long ILoop::GetCurrentFrameInteger() const { return ToInteger(GetCurrentFrame()); }

long ILoop::GetPlayLengthInteger() const {
  return Difference(GetEndFrameInteger(), GetStartFrameInteger());
}
long ILoop::GetLoopLengthInteger() const {
  return Difference(GetEndFrameInteger(), GetLoopFrameInteger());
}
long ILoop::GetAttackLengthInteger() const {
  return Difference(GetJumpFrameInteger(), GetStartFrameInteger());
}
long ILoop::GetDecayLengthInteger() const {
  return Difference(GetEndFrameInteger(), GetJumpFrameInteger());
}

GT::CRange<long> ILoop::GetPlayRangeInteger() const {
  return GT::CRange<long>(GetStartFrameInteger(), GetEndFrameInteger());
}
GT::CRange<long> ILoop::GetLoopRangeInteger() const {
  return GT::CRange<long>(GetLoopFrameInteger(), GetEndFrameInteger());
}
GT::CRange<long> ILoop::GetAttackLRangeInteger() const {
  return GT::CRange<long>(GetStartFrameInteger(), GetJumpFrameInteger());
}
GT::CRange<long> ILoop::GetDecayRangeInteger() const {
  return GT::CRange<long>(GetJumpFrameInteger(), GetEndFrameInteger());
}

void ILoop::RoundFrame() {
  SetStartFrame(static_cast<double>(GetStartFrameInteger()));
  SetJumpFrame(static_cast<double>(GetJumpFrameInteger()));
  SetLoopFrame(static_cast<double>(GetLoopFrameInteger()));
  SetEndFrame(static_cast<double>(GetEndFrameInteger()));
  SetCurrentFrame(static_cast<double>(GetCurrentFrameInteger()));
  Normalize();
}

std::string ILoop::ToString(int attributes) {
  std::string text = IEntity::ToString(attributes);
  if (attributes & kLoopFrame) text += "(LoopFrame)";
  if (attributes & kJumpFrame) text += "(JumpFrame)";
  if (attributes & kCurrentFrame) text += "(CurrentFrame)";
  return text;
}

void ILoop::CopyAttribute(ILoop const& source, CEntityId const& id) {
  CEntityId const loop = CEntityId().Set<ILoop>(0);
  CEntityId const selection = id == IEntity::sCopyAll ? loop : id.Extract(loop);
  if (selection.IsEmpty()) return;
  if (!selection.Intersects(CEntityId().Set<ILoop>(0).Attribute(-1), false)) return;
  IEntity::CopyAttribute(source);
  SetStartFrame(source.GetStartFrame());
  SetJumpFrame(source.GetJumpFrame());
  SetLoopFrame(source.GetLoopFrame());
  SetEndFrame(source.GetEndFrame());
  SetCurrentFrame(source.GetCurrentFrame());
  SetXfDepthLoop(source.GetXfDepthLoop());
  SetXfDepthEnd(source.GetXfDepthEnd());
  SetXfRateLoop(source.GetXfRateLoop());
  SetXfRateEnd(source.GetXfRateEnd());
  SetLoopMode(source.GetLoopMode());
  SetLoopTune(source.GetLoopTune());
}

}  // namespace SL
