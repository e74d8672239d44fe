/** @file TraceLog.h: the trace log, for what went wrong where nobody is shown it. */
#pragma once

#include <string_view>

namespace brontel {

// Whether the trace log is on: the environment variable BRONTEL_TRACE is set (read once).
bool TraceEnabled();

// Writes "brontel: WHERE: WHAT" and a line end to standard error when the trace log is on;
// nothing otherwise. Callable from any thread (lines never interleave); never throws.
void TraceLine(std::string_view where, std::string_view what);

}  // namespace brontel
