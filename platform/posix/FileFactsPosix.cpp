#include <sys/stat.h>
#include <time.h>

#include "platform/DateTime.h"
#include "platform/FileFacts.h"
#include "platform/posix/LocalTime.h"

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
  std::optional<DateTime> value = LocalDateTimeOf(seconds);
  if (!value)
    return std::nullopt;
  value->millisecond = static_cast<int>(fileTime % kTicksPerSecond / 10'000);
  if (!IsValidDateTime(*value))
    return std::nullopt;
  return value;
}

std::int32_t FileAge(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
    return -1;
  const std::optional<DateTime> value = LocalDateTimeOf(info.st_mtim.tv_sec);
  return value ? DosDateTimeFromLocal(*value) : -1;
}

}  // namespace brontel::platform
