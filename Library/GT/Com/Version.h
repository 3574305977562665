#pragma once

namespace GT {
// Name and version the program reports about itself.
char const* ProgramName();
char const* ProgramVersion();
}  // namespace GT
