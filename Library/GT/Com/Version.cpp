#include "GT/Com/Version.h"

namespace GT {
char const* ProgramName() { return "VQ7 Converter"; }
char const* ProgramVersion() { return "0.1"; }
}  // namespace GT
