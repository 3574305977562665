#pragma once

#include "GT/Com/Enum/CEnumeration.h"

#include <string>

namespace SL {

// What a wave holds; waves read from files are Wave.
class CWaveFormat : public GT::CEnumeration<CWaveFormat> {
public:
  CWaveFormat() {}
  explicit CWaveFormat(int value) : GT::CEnumeration<CWaveFormat>(value) {}
  explicit CWaveFormat(std::string const& name) : GT::CEnumeration<CWaveFormat>(name) {}

  static CWaveFormat const None;
  static CWaveFormat const Wave;
  static CWaveFormat const Fft;
  static CWaveFormat const Pitch;
  static CWaveFormat const General;
  static CWaveFormat const AmplitudeEnvelope;
  static CWaveFormat const PitchEnvelope;
  static CWaveFormat const FilterEnvelope;
  static CWaveFormat const PhaseEnvelope;

private:
  constexpr CWaveFormat(int value, CUnchecked unchecked)
      : GT::CEnumeration<CWaveFormat>(value, unchecked) {}
};

}  // namespace SL

template <>
GT::CStringTable GT::CEnumeration<SL::CWaveFormat>::sNames;
