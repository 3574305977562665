#pragma once

#include <string>

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Wave/CLoopMode.h"
#include "SL/Com/Wave/IEntity.h"

namespace SL {

class CEntityId;

// A wave's loop: start, jump, loop, end and current frame (fractional frame
// positions), two cross-fades, a loop mode and a loop tune.
class ILoop : public IEntity {
public:
  enum EFrameId : int {
    StartFrame = 0,
    JumpFrame = 1,
    LoopFrame = 2,
    EndFrame = 3,
    CurrentFrame = 4
  };
  // Attribute bits of a loop, above those of every entity.
  enum { kJumpFrame = 0x20, kLoopFrame = 0x40, kCurrentFrame = 0x100 };

  ~ILoop() override {}
  ILoop* Clone() const override = 0;

  virtual void SetStartFrame(double frame) = 0;
  virtual void SetJumpFrame(double frame) = 0;
  virtual void SetLoopFrame(double frame) = 0;
  virtual void SetEndFrame(double frame) = 0;
  virtual void SetCurrentFrame(double frame) = 0;
  virtual void SetFrame(EFrameId id, double frame) = 0;
  virtual double GetStartFrame() const = 0;
  virtual double GetJumpFrame() const = 0;
  virtual double GetLoopFrame() const = 0;
  virtual double GetEndFrame() const = 0;
  virtual double GetCurrentFrame() const = 0;
  virtual double GetFrame(EFrameId id) const = 0;

  virtual double GetPlayLength() const;
  virtual double GetLoopLength() const;
  virtual double GetAttackLength() const;
  virtual double GetDecayLength() const;
  virtual GT::CRange<double> GetPlayRange() const;
  virtual GT::CRange<double> GetLoopRange() const;
  virtual GT::CRange<double> GetAttackRange() const;
  virtual GT::CRange<double> GetDecayRange() const;

  // Frames rounded half away from zero, clamped to [-2147483647, 2147483647].
  virtual long GetStartFrameInteger() const;
  virtual long GetJumpFrameInteger() const;
  virtual long GetLoopFrameInteger() const;
  virtual long GetEndFrameInteger() const;
  virtual long GetCurrentFrameInteger() const;
  // Differences of the integer frames, clamped to the same range.
  virtual long GetPlayLengthInteger() const;
  virtual long GetLoopLengthInteger() const;
  virtual long GetAttackLengthInteger() const;
  virtual long GetDecayLengthInteger() const;
  virtual GT::CRange<long> GetPlayRangeInteger() const;
  virtual GT::CRange<long> GetLoopRangeInteger() const;
  virtual GT::CRange<long> GetAttackLRangeInteger() const;
  virtual GT::CRange<long> GetDecayRangeInteger() const;
  // Every frame to its integer value, then Normalize().
  virtual void RoundFrame();

  virtual void SetXfDepthLoop(double depth) = 0;
  virtual void SetXfDepthEnd(double depth) = 0;
  virtual void SetXfRateLoop(double rate) = 0;
  virtual void SetXfRateEnd(double rate) = 0;
  virtual double GetXfDepthLoop() const = 0;
  virtual double GetXfDepthEnd() const = 0;
  virtual double GetXfRateLoop() const = 0;
  virtual double GetXfRateEnd() const = 0;
  virtual void SetLoopMode(CLoopMode mode) = 0;
  virtual CLoopMode GetLoopMode() const = 0;
  virtual void SetLoopTune(double tune) = 0;
  virtual double GetLoopTune() const = 0;

  static std::string ToString(int attributes);

  using IEntity::CopyAttribute;
  // Copies every loop attribute when id selects any part of the loop.
  void CopyAttribute(ILoop const& source, CEntityId const& id);
};

}  // namespace SL
