#pragma once

#include <memory>

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Iff/Wav/CRiffWaveDto.h"
#include "SL/Com/Wave/CWave.h"

namespace SL {
namespace Private {

// Turns a read WAVE file object into a wave of samples of depth N (only
// FLOAT64 exists).
template <int N>
class CWaveMarshallerToRiffWaveDto;

template <>
class CWaveMarshallerToRiffWaveDto<nFloat64> {
public:
  // An empty pointer when the file object cannot be a wave: no "fmt ", a
  // format other than integer or float PCM, an unknown bit depth, no "data"
  // chunk or no channels.
  std::unique_ptr<CWave<nFloat64> > Unmarshall(CRiffWaveDto const& dto);
};

}  // namespace Private
}  // namespace SL
