#pragma once

#include "GT/Com/Enum/CEnumeration.h"

#include <string>

namespace SL {

// How a loop plays; bit 8 marks the reverse variants.
class CLoopMode : public GT::CEnumeration<CLoopMode> {
public:
  CLoopMode() {}
  explicit CLoopMode(int value) : GT::CEnumeration<CLoopMode>(value) {}
  explicit CLoopMode(std::string const& name) : GT::CEnumeration<CLoopMode>(name) {}

  static CLoopMode const OneShot;
  static CLoopMode const Forward;
  static CLoopMode const AlternatePlus;
  static CLoopMode const AlternateMinus;
  static CLoopMode const OneShotReverse;
  static CLoopMode const ForwardReverse;
  static CLoopMode const AlternatePlusReverse;
  static CLoopMode const AlternateMinusReverse;

private:
  constexpr CLoopMode(int value, CUnchecked unchecked)
      : GT::CEnumeration<CLoopMode>(value, unchecked) {}
};

}  // namespace SL

template <>
GT::CStringTable GT::CEnumeration<SL::CLoopMode>::sNames;
