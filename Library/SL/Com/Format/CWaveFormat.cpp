#include "SL/Com/Format/CWaveFormat.h"

namespace {

GT::CStringTable::CPair const kNames[] = {
    {0, "NONE"},
    {0x1000A, "WAVE"},
    {0x10014, "FFT"},
    {0x10022, "PITCH"},
    {0x10003, "GENERAL"},
    {0x2000A, "AMPLITUDE_ENVELOPE"},
    {0x20022, "PITCH_ENVELOPE"},
    {0x20014, "FILTER_ENVELOPE"},
    {0x20044, "PHASE_ENVELOPE"},
};

}  // namespace

template <>
GT::CStringTable GT::CEnumeration<SL::CWaveFormat>::sNames(kNames, sizeof kNames / sizeof kNames[0],
                                                           GT::CStringTable::CPair(-1,
                                                                                   std::string()));

namespace SL {

CWaveFormat const CWaveFormat::None(0, CUnchecked());
CWaveFormat const CWaveFormat::Wave(0x1000A, CUnchecked());
CWaveFormat const CWaveFormat::Fft(0x10014, CUnchecked());
CWaveFormat const CWaveFormat::Pitch(0x10022, CUnchecked());
CWaveFormat const CWaveFormat::General(0x10003, CUnchecked());
CWaveFormat const CWaveFormat::AmplitudeEnvelope(0x2000A, CUnchecked());
CWaveFormat const CWaveFormat::PitchEnvelope(0x20022, CUnchecked());
CWaveFormat const CWaveFormat::FilterEnvelope(0x20014, CUnchecked());
CWaveFormat const CWaveFormat::PhaseEnvelope(0x20044, CUnchecked());

}  // namespace SL
