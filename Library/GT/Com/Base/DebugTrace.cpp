#include "GT/Com/Base/DebugTrace.h"

#include "GT/Com/Text/StringTools.h"

#include <cstdarg>
#include <cstdio>

// Formatted into a string of its own per call, so threads never share a buffer.
void DebugTrace_(char const* format, ...) {
  va_list args;
  va_start(args, format);
  std::string const text = GT::FormatStringV(format, args);
  va_end(args);
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}
