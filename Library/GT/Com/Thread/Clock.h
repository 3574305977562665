#pragma once

#include <cstdint>

namespace GT {

// Sleep and a coarse clock, declared here for portable code and implemented
// by the platform side.

// Pauses the calling thread for the given milliseconds; 0 or less returns at
// once. An interrupted sleep resumes for the time left.
void Sleep(long milliseconds);

// A coarse clock in units of 1024 microseconds, wrapping to 0 after 0x7FFFFFFF.
long GetCurrentTimeA();

namespace Private {
// GetCurrentTimeA's conversion from a microsecond count.
long CoarseTimeFromMicroseconds(std::uint64_t microseconds);
}  // namespace Private

}  // namespace GT
