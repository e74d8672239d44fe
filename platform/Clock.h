/** @file Clock.h: the millisecond tick counter and the local wall clock. */
#pragma once

#include <cstdint>

#include "platform/DateTime.h"

namespace brontel::platform {

// Source of time. The system clock is the default everywhere; tests pass a clock of their own
// to get deterministic ticks and dates. Implementations must be callable from any thread.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start, wrapping modulo 2^32 (about every 49.7 days);
  // only differences of two readings are meaningful.
  virtual std::uint32_t TickCount() const = 0;
  // The current local date and time, to the millisecond.
  virtual DateTime Now() const = 0;
};

// The process-wide clock of the operating system (monotonic ticks, local wall time).
// Lives for the whole process.
const Clock& SystemClock();

}  // namespace brontel::platform
