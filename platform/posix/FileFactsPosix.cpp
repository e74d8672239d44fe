#include <sys/stat.h>
#include <time.h>

#include "platform/DateTime.h"
#include "platform/FileFacts.h"

namespace brontel::platform {

std::optional<FileFacts> FindFileFacts(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0)
    return std::nullopt;
  FileFacts facts;
  facts.isDirectory = S_ISDIR(info.st_mode);
  facts.size = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
  facts.lastWrite = FileTimeFromUnixTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
  return facts;
}

std::optional<DateTime> LocalFromFileTime(std::uint64_t fileTime) {
  constexpr std::uint64_t kTicksPerSecond = 10'000'000;
  constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
  const time_t seconds = static_cast<time_t>(static_cast<std::int64_t>(fileTime / kTicksPerSecond) -
                                             kSecondsFrom1601To1970);
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
  value.millisecond = static_cast<int>(fileTime % kTicksPerSecond / 10'000);
  if (!IsValidDateTime(value))
    return std::nullopt;
  return value;
}

std::int32_t FileAge(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
    return -1;
  struct tm local {};
  const time_t seconds = info.st_mtim.tv_sec;
  if (::localtime_r(&seconds, &local) == nullptr)
    return -1;
  DateTime value;
  value.year = local.tm_year + 1900;
  value.month = local.tm_mon + 1;
  value.day = local.tm_mday;
  value.hour = local.tm_hour;
  value.minute = local.tm_min;
  // A leap second (60) is folded into the last regular second of its minute.
  value.second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return DosDateTimeFromLocal(value);
}

}  // namespace brontel::platform
