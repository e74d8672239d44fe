/** @file LocalTime.h: a POSIX time as the date and time on the user's clock. */
#pragma once

#include <time.h>

#include <optional>

#include "platform/DateTime.h"

namespace brontel::platform {

// The local date and time of `seconds` since 1970, to the second (a leap second counts as the
// last regular second of its minute); nullopt when the C library cannot convert it.
std::optional<DateTime> LocalDateTimeOf(time_t seconds);

}  // namespace brontel::platform
