#include "SL/Com/Format/CBitDepth.h"

namespace {

GT::CStringTable::CPair const kNames[] = {
    {0, "NONE"},
    {0x10008, "INTEGER8"},
    {0x10010, "INTEGER16"},
    {0x10018, "INTEGER24"},
    {0x10020, "INTEGER32"},
    {0x20020, "FLOAT32"},
    {0x20040, "FLOAT64"},
    {0x40040, "COMPLEX32"},
    {0x40080, "COMPLEX64"},
    {0x80080, "POINT64"},
};

int KindRank(int code) {
  switch (static_cast<unsigned>(code) >> 16) {
    case 1:
      return 0;
    case 2:
      return 1;
    case 8:
      return 1;
    case 4:
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

CBitDepth const CBitDepth::None(0, CUnchecked());
CBitDepth const CBitDepth::Integer8(0x10008, CUnchecked());
CBitDepth const CBitDepth::Integer16(0x10010, CUnchecked());
CBitDepth const CBitDepth::Integer24(0x10018, CUnchecked());
CBitDepth const CBitDepth::Integer32(0x10020, CUnchecked());
CBitDepth const CBitDepth::Float32(0x20020, CUnchecked());
CBitDepth const CBitDepth::Float64(0x20040, CUnchecked());
CBitDepth const CBitDepth::Complex32(0x40040, CUnchecked());
CBitDepth const CBitDepth::Complex64(0x40080, CUnchecked());
CBitDepth const CBitDepth::Point64(0x80080, CUnchecked());

int CBitDepth::GetDigits() const {
  int const code = GetValue();
  if ((code & (0x20000 | 0x40000 | 0x80000)) == 0) return code & 0xFFFF;
  switch (code) {
    case 0x20020:
    case 0x40040:
      return 24;
    case 0x20040:
    case 0x40080:
    case 0x80080:
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
