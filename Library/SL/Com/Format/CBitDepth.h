#pragma once

#include "GT/Com/Enum/CEnumeration.h"
#include "SL/Com/Format/BitDepthCodes.h"

#include <string>

namespace SL {

// Sample type code (BitDepthCodes.h): (kind << 16) | bits, kind 1 integer,
// 2 floating point, 4 complex, 8 point. Bytes per sample are bits / 8.
class CBitDepth : public GT::CEnumeration<CBitDepth> {
public:
  CBitDepth() {}
  explicit CBitDepth(int code) : GT::CEnumeration<CBitDepth>(code) {}
  explicit CBitDepth(std::string const& name) : GT::CEnumeration<CBitDepth>(name) {}

  // Significant binary digits of a sample: the bits for integer codes, 24 for
  // single and 53 for double precision kinds, 0 otherwise.
  int GetDigits() const;
  // True when this depth resolves less than other: fewer digits, or equal
  // digits and a lower kind rank (integer, then floating point and point,
  // then complex, then anything else).
  bool ResolutionLess(CBitDepth const& other) const;

  static CBitDepth const None;
  static CBitDepth const Integer8;
  static CBitDepth const Integer16;
  static CBitDepth const Integer24;
  static CBitDepth const Integer32;
  static CBitDepth const Float32;
  static CBitDepth const Float64;
  static CBitDepth const Complex32;
  static CBitDepth const Complex64;
  static CBitDepth const Point64;

private:
  constexpr CBitDepth(int code, CUnchecked unchecked)
      : GT::CEnumeration<CBitDepth>(code, unchecked) {}
};

}  // namespace SL

template <>
GT::CStringTable GT::CEnumeration<SL::CBitDepth>::sNames;
