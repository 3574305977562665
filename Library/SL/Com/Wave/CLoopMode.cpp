#include "SL/Com/Wave/CLoopMode.h"

namespace {

GT::CStringTable::CPair const kNames[] = {
    {0, "1SHOT"},  {1, "FWD"},  {3, "ALT++"},   {7, "ALT+-"},
    {8, "1SHOTR"}, {9, "FWDR"}, {11, "ALT++R"}, {15, "ALT+-R"},
};

}  // namespace

template <>
GT::CStringTable GT::CEnumeration<SL::CLoopMode>::sNames(kNames, sizeof kNames / sizeof kNames[0],
                                                         GT::CStringTable::CPair(-1,
                                                                                 std::string()));

namespace SL {

CLoopMode const CLoopMode::OneShot(0, CUnchecked());
CLoopMode const CLoopMode::Forward(1, CUnchecked());
CLoopMode const CLoopMode::AlternatePlus(3, CUnchecked());
CLoopMode const CLoopMode::AlternateMinus(7, CUnchecked());
CLoopMode const CLoopMode::OneShotReverse(8, CUnchecked());
CLoopMode const CLoopMode::ForwardReverse(9, CUnchecked());
CLoopMode const CLoopMode::AlternatePlusReverse(11, CUnchecked());
CLoopMode const CLoopMode::AlternateMinusReverse(15, CUnchecked());

}  // namespace SL
