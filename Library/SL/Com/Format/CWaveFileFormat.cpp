#include "SL/Com/Format/CWaveFileFormat.h"

namespace {

GT::CStringTable::CPair const kNames[] = {
    {0, "INVALID"},
    {1, "AIFF"},
    {2, "WINWAVE"},
};

}  // namespace

template <>
GT::CStringTable GT::CEnumeration<SL::CWaveFileFormat>::sNames(
    kNames, sizeof kNames / sizeof kNames[0], GT::CStringTable::CPair(-1, std::string()));

namespace SL {

CWaveFileFormat const CWaveFileFormat::Invalid(0, CUnchecked());
CWaveFileFormat const CWaveFileFormat::FormAiff(1, CUnchecked());
CWaveFileFormat const CWaveFileFormat::RiffWave(2, CUnchecked());

}  // namespace SL
