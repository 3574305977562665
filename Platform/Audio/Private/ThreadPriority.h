#pragma once

namespace AudioLayer {

// For the calling IO thread: the FIFO real-time policy where permitted,
// else a raised nice value, else nothing.
void RaiseIOThreadPriority();

}  // namespace AudioLayer
