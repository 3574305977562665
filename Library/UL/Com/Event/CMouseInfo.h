#pragma once

#include "GT/Com/Geometry/CPointT.h"

#include <cstdint>

namespace UL {

// The pointer data of one mouse event, in the coordinates of the window that
// holds the widgets.
class CMouseInfo {
public:
  enum EType : int32_t {
    Down = 0,         // button pressed, single click
    Up = 1,           // button released
    DoubleClick = 2,  // second or later press of a multiple click
    Move = 3          // pointer moved or dragged
  };
  // Keys held during the event; any combination may be set.
  enum EModifier : uint32_t { Shift = 1, Command = 2, Control = 4 };

  CMouseInfo() : mType(Down), mPoint(), mModifiers(0) {}
  CMouseInfo(EType type, GT::CPointT<long> const& point, uint32_t modifiers)
      : mType(type), mPoint(point), mModifiers(modifiers) {}

  virtual void SetPoint(GT::CPointT<long> const& point) { mPoint = point; }
  virtual GT::CPointT<long> GetPoint() const { return mPoint; }

  EType mType;
  GT::CPointT<long> mPoint;
  uint32_t mModifiers;
};

}  // namespace UL
