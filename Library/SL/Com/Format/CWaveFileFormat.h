#pragma once

#include "GT/Com/Enum/CEnumeration.h"

#include <string>

namespace SL {

// The audio file format of a file to read or write.
class CWaveFileFormat : public GT::CEnumeration<CWaveFileFormat> {
public:
  CWaveFileFormat() {}
  explicit CWaveFileFormat(int value) : GT::CEnumeration<CWaveFileFormat>(value) {}
  explicit CWaveFileFormat(std::string const& name) : GT::CEnumeration<CWaveFileFormat>(name) {}

  static CWaveFileFormat const Invalid;
  static CWaveFileFormat const FormAiff;
  static CWaveFileFormat const RiffWave;

private:
  constexpr CWaveFileFormat(int value, CUnchecked unchecked)
      : GT::CEnumeration<CWaveFileFormat>(value, unchecked) {}
};

}  // namespace SL

template <>
GT::CStringTable GT::CEnumeration<SL::CWaveFileFormat>::sNames;
