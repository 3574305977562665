#pragma once

#include <cstdint>

namespace VQ7 {
namespace Tempo {

// Tempo in tenths of BPM at which `frames` at 44100 Hz last beats64
// sixty-fourths of a beat, in 32-bit unsigned arithmetic; 1020 for 0 frames or
// 0 beats.
uint32_t CalcBPM(uint32_t frames, uint32_t beats64);

// The tempo nearest to the centre (tenths of BPM; 0 selects 1200 and the
// eight-beat ladder) among the tempos the length gives for a ladder of beat
// counts.
uint32_t PRM_CalcCenterBPM(uint32_t frames, int centre);

}  // namespace Tempo
}  // namespace VQ7
