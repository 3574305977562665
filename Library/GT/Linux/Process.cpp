#include "GT/Com/Thread/Process.h"

#include <unistd.h>

namespace GT {

long GetCurrentProcessId() { return static_cast<long>(::getpid()); }

}  // namespace GT
