#include "SL/Com/Format/CBitDepth.h"

namespace {

using namespace SL;

GT::CStringTable::CPair const kNames[] = {
    {nNone, "NONE"},           {nInteger8, "INTEGER8"},   {nInteger16, "INTEGER16"},
    {nInteger24, "INTEGER24"}, {nInteger32, "INTEGER32"}, {nFloat32, "FLOAT32"},
    {nFloat64, "FLOAT64"},     {nComplex32, "COMPLEX32"}, {nComplex64, "COMPLEX64"},
    {nPoint64, "POINT64"},
};

int KindRank(int code) {
  switch (KindOf(code)) {
    case nIntegerKind:
      return 0;
    case nFloatKind:
      return 1;
    case nPointKind:
      return 1;
    case nComplexKind:
      return 2;
    default:
      return 3;
  }
}

}  // namespace

template <>
GT::CStringTable GT::CEnumeration<SL::CBitDepth>::sNames(kNames, sizeof kNames / sizeof kNames[0],
                                                         GT::CStringTable::CPair(-1,
                                                                                 std::string()));

namespace SL {

CBitDepth const CBitDepth::None(nNone, CUnchecked());
CBitDepth const CBitDepth::Integer8(nInteger8, CUnchecked());
CBitDepth const CBitDepth::Integer16(nInteger16, CUnchecked());
CBitDepth const CBitDepth::Integer24(nInteger24, CUnchecked());
CBitDepth const CBitDepth::Integer32(nInteger32, CUnchecked());
CBitDepth const CBitDepth::Float32(nFloat32, CUnchecked());
CBitDepth const CBitDepth::Float64(nFloat64, CUnchecked());
CBitDepth const CBitDepth::Complex32(nComplex32, CUnchecked());
CBitDepth const CBitDepth::Complex64(nComplex64, CUnchecked());
CBitDepth const CBitDepth::Point64(nPoint64, CUnchecked());

int CBitDepth::GetDigits() const {
  int const code = GetValue();
  if ((code & (nFloatKind | nComplexKind | nPointKind)) == 0) return BitsOf(code);
  switch (code) {
    case nFloat32:
    case nComplex32:
      return 24;
    case nFloat64:
    case nComplex64:
    case nPoint64:
      return 53;
    default:
      return 0;
  }
}

bool CBitDepth::ResolutionLess(CBitDepth const& other) const {
  int const mine = GetDigits();
  int const theirs = other.GetDigits();
  if (mine != theirs) return mine < theirs;
  return KindRank(GetValue()) < KindRank(other.GetValue());
}

}  // namespace SL
