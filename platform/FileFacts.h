/** @file FileFacts.h: what a find-first file search and the file-age query tell about a path. */
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/DateTime.h"

namespace brontel::platform {

// The entry that a find-first search reports for one path.
struct FileFacts {
  std::uint64_t size = 0;       // bytes; 0 for directories and other non-regular entries
  std::uint64_t lastWrite = 0;  // last-write time in 100-ns units since 1601-01-01 UTC
  bool isDirectory = false;
};

// Looks the path up as a find-first search with hidden, system and directory entries included:
// any existing entry is found, directories too. On POSIX a name starting with a dot is an
// ordinary name, symbolic links are followed, and wildcard characters are taken literally
// (they are ordinary file-name characters there). nullopt when nothing is found; never throws.
std::optional<FileFacts> FindFileFacts(const std::string& path);

// The file's last-write time as a packed DOS date-time in local time (2-second resolution),
// -1 when the path does not exist, names a directory, or its time lies outside 1980..2107.
// Never throws.
std::int32_t FileAge(const std::string& path);

// A file time (100-ns units since 1601-01-01 UTC) on the local wall clock, milliseconds
// included: also the times that have no packed DOS form. nullopt when the local date would lie
// outside the years 1 .. 9999. Never throws.
std::optional<DateTime> LocalFromFileTime(std::uint64_t fileTime);

// Converts a POSIX time (seconds and nanoseconds since 1970-01-01 UTC) to 100-ns units since
// 1601-01-01 UTC; times before 1601 give 0.
std::uint64_t FileTimeFromUnixTime(std::int64_t seconds, std::int64_t nanoseconds);

}  // namespace brontel::platform
