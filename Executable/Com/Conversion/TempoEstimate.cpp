#include "Executable/Com/Conversion/TempoEstimate.h"

namespace VQ7 {
namespace Tempo {

namespace {

// 44100 Hz x 60 s x 10 / 64, times two so that it stays an integer.
uint32_t const nTwiceTempoFactor = 826875;
// Largest beat count whose product with the factor fits in 32 bits.
uint32_t const nDirectLimit = 5194;
uint32_t const nLadderLimit = 9881600;
uint32_t const nDefaultCentre = 1200;
uint32_t const nUpperTempo = 2000;

uint32_t Abs(int value) {
  return value < 0 ? static_cast<uint32_t>(-static_cast<int64_t>(value))
                   : static_cast<uint32_t>(value);
}

uint32_t Distance(uint32_t a, uint32_t b) {
  return Abs(static_cast<int>(static_cast<int64_t>(a) - static_cast<int64_t>(b)));
}

}  // namespace

uint32_t CalcBPM(uint32_t frames, uint32_t beats64) {
  if (frames == 0 || beats64 == 0) return 1020;
  if (beats64 <= nDirectLimit) return (beats64 * nTwiceTempoFactor / 2u) / frames;
  uint32_t c = beats64 / 2u;
  uint32_t s = frames;
  while (c > nDirectLimit) {
    c /= 2u;
    s /= 2u;
  }
  if (s == 0)  // only for lengths far outside any card; keep it defined
    return 1020;
  return c * nTwiceTempoFactor / s;
}

uint32_t PRM_CalcCenterBPM(uint32_t frames, int centre) {
  if (frames == 0) return 1020;  // every candidate is 1020; skip the long ladder
  uint32_t const z = centre != 0 ? static_cast<uint32_t>(centre) : nDefaultCentre;
  uint32_t const step = centre != 0 ? 256u : 512u;

  uint32_t const v = CalcBPM(frames, 256);
  if (v == z) return v;

  if (v < z) {
    uint32_t prev = v;
    uint32_t b = 512;
    uint32_t cur = CalcBPM(frames, b);
    while (cur < z && b <= nLadderLimit) {
      prev = cur;
      b += step;
      cur = CalcBPM(frames, b);
    }
    return Distance(cur, z) < Distance(prev, z) ? cur : prev;
  }

  uint32_t cur = CalcBPM(frames, 2);
  if (cur >= z) return cur;
  uint32_t prev = cur;
  uint32_t b = 2;
  for (;;) {
    b = b <= 255u ? b * 2u : b + 256u;
    cur = CalcBPM(frames, b);
    if (cur >= z || b > nLadderLimit) break;
    prev = cur;
  }
  if (cur > nUpperTempo) return prev;
  return Distance(cur, z) < Distance(prev, z) ? cur : prev;
}

}  // namespace Tempo
}  // namespace VQ7
