#pragma once

// Tracing that compiles to nothing; its arguments are never evaluated for output.
#define TRACE(...) ((void)0)

// Writes one printf-style formatted text to standard error as it stands, flushed.
void DebugTrace_(char const* format, ...) __attribute__((format(printf, 1, 2)));
