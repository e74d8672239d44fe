#include <windows.h>

#include "platform/FileFacts.h"

namespace brontel::platform {
namespace {

// The find-first entry of `path`; the search handle is closed at once.
bool FindFirstEntry(const std::string& path, WIN32_FIND_DATAA& data) {
  if (path.empty())
    return false;
  const HANDLE search = ::FindFirstFileA(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE)
    return false;
  ::FindClose(search);
  return true;
}

}  // namespace

std::optional<FileFacts> FindFileFacts(const std::string& path) {
  WIN32_FIND_DATAA data{};
  if (!FindFirstEntry(path, data))
    return std::nullopt;
  FileFacts facts;
  facts.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  facts.size =
      facts.isDirectory ? 0 : (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  facts.lastWrite = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  return facts;
}

std::optional<DateTime> LocalFromFileTime(std::uint64_t fileTime) {
  const FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
  FILETIME local{};
  SYSTEMTIME parts{};
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &parts))
    return std::nullopt;
  const DateTime value{parts.wYear,   parts.wMonth,  parts.wDay,         parts.wHour,
                       parts.wMinute, parts.wSecond, parts.wMilliseconds};
  if (!IsValidDateTime(value))
    return std::nullopt;
  return value;
}

std::int32_t FileAge(const std::string& path) {
  WIN32_FIND_DATAA data{};
  if (!FindFirstEntry(path, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return -1;
  FILETIME local{};
  WORD date = 0;
  WORD time = 0;
  if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !::FileTimeToDosDateTime(&local, &date, &time)) {
    return -1;
  }
  return static_cast<std::int32_t>((std::uint32_t{date} << 16) | time);
}

}  // namespace brontel::platform
