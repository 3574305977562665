#pragma once

#include <memory>

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Iff/Aiff/CFormAiffDto.h"
#include "SL/Com/Wave/CWave.h"

namespace SL {
namespace Private {

// Turns a read AIFF file object into a wave of samples of depth N (only
// FLOAT64 exists).
template <int N>
class CWaveMarshallerToFormAiffDto;

template <>
class CWaveMarshallerToFormAiffDto<nFloat64> {
public:
  // An empty pointer when the file object cannot be a wave: no COMM, an
  // unknown sample size, no SSND chunk, an SSND offset past its samples or
  // fewer than one channel.
  std::unique_ptr<CWave<nFloat64> > Unmarshall(CFormAiffDto const& dto);
};

}  // namespace Private
}  // namespace SL
