#include "platform/posix/LocalTime.h"

namespace brontel::platform {

std::optional<DateTime> LocalDateTimeOf(time_t seconds) {
  struct tm local {};
  if (::localtime_r(&seconds, &local) == nullptr)
    return std::nullopt;
  DateTime value;
  value.year = local.tm_year + 1900;
  value.month = local.tm_mon + 1;
  value.day = local.tm_mday;
  value.hour = local.tm_hour;
  value.minute = local.tm_min;
  value.second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return value;
}

}  // namespace brontel::platform
