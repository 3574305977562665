#pragma once

namespace GT {

// The running process, declared here for portable code and implemented by
// the platform side.

// A number that tells the process from its forked children.
long GetCurrentProcessId();

}  // namespace GT
