#pragma once

namespace VQ7 {

// The device's one sample format: 16-bit integer samples at 44100 Hz.
double const nSampleRate = 44100.0;
// The shortest sample an import takes, in seconds.
double const nMinimumSampleDuration = 0.07;

}  // namespace VQ7
