#pragma once

#include <memory>

#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Wave/CWave.h"
#include "SL/Com/Iff/InterchangeFileFormat.h"

namespace SL {
namespace Private {

// The bit depth of a code, or false when the code is not a bit depth.
bool ToBitDepth(int code, CBitDepth& depth);

// Gives the wave its channels from the samples of the data chunk (its
// sample range): converted samples when the chunk holds its bytes, else null
// channels sized from the byte count it recorded. False, and the wave
// unchanged, for a missing chunk, a sample range that starts past its end or
// a channel count below 1.
bool SetUpChannels(CWave<nFloat64>& wave, CIffDataChunk const* data, int channels);

// Start 0, loop 0, end at the last frame, one shot.
void SetDefaultLoop(CWave<nFloat64>& wave);

}  // namespace Private
}  // namespace SL
