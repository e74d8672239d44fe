/** @file IniFile.h: single-value access to an ini-format settings file. */
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The format is the Windows ini text: "[Section]" header lines, then "key=value" lines.
//
// Every function opens the file, does its one operation and closes it again; nothing is cached,
// so each call sees the file as it is now.
//
// Reading rules (identical for every read function):
// - Section and key names compare without regard to ASCII letter case; blanks (spaces, tabs)
//   around names and values are ignored, in the file and in the arguments.
// - A value enclosed in matching quotes (" or ') loses them.
// - Lines whose first non-blank character is ";" are comments; lines before the first section
//   header belong to no section. A line without "=" inside a section is a key without a value.
// - The first matching section wins, and inside it the first matching key.
// - Any line end is accepted: CR LF, LF or a lone CR.
// - A line is looked at in its first kIniLineHeadLimit bytes; a key that does not end there is
//   never found, and a value is cut where the examined part ends.
// - A missing, unreadable or non-regular file (directory, FIFO, device) reads as an empty file.
//   No read function throws for reasons of the operating system.
//
// Writing rules:
// - A write replaces the whole file atomically: the new content is written to a temporary file
//   in the same directory, flushed to disk and renamed over the old one, keeping its permission
//   bits (a symbolic link is followed and its target written, created when it is missing).
//   Lines the call does not change keep their bytes, line ends included; new lines end with
//   CR LF.
// - Writers take an exclusive lock on a lock file beside the file (its name with ".lock"
//   added; hidden on POSIX) and read the file afresh under it, so writers in several processes
//   never undo each other's changes. A lock held longer than kIniLockWaitMs by another writer
//   fails the write. Temporary files of this naming that an interrupted write left behind are
//   removed by the next write.
// - A write the system refuses (read-only file or file system, missing directory, path naming
//   a directory) raises brontel::platform::PlatformError with the path and the reason, and
//   leaves the file as it was. A file without any write permission bit counts as read-only
//   even for a superuser.
// - A write that would leave the file's bytes as they are does not touch the file.
// - Names or values holding a line break would change the file's structure: they raise
//   std::invalid_argument and nothing is written.
//
// Threads: the functions keep no state and may be called from any thread or process; writers
// racing on one file wait for each other and lose nothing.

namespace brontel::platform {

// Values longer than this are cut to it when read.
inline constexpr std::size_t kIniValueMaxLength = 2047;
// How long a write waits for another writer's lock.
inline constexpr unsigned kIniLockWaitMs = 5000;
// How much of each line the reader examines.
inline constexpr std::size_t kIniLineHeadLimit = 8192;
// The listing functions return at most this many keys of a section.
inline constexpr std::size_t kIniListMaxKeys = 4096;

// One key line of a section as it stands in the file.
struct IniEntry {
  std::string key;
  // The value as a read of this line would give it; empty optional for a line without "=".
  std::optional<std::string> value;

  bool operator==(const IniEntry&) const = default;
};

// One change of a batch: `key` in `section` set to `value`, or with eraseSection every section
// named `section` removed (key and value unused).
struct IniChange {
  std::string section;
  std::string key;
  std::string value;
  bool eraseSection = false;

  bool operator==(const IniChange&) const = default;
};

// The value of `key` in `section`, or `defaultValue` (without trailing blanks, cut to
// kIniValueMaxLength characters) when the file, section, key or value is missing. With `cut`
// given, *cut tells whether the stored value was longer than kIniValueMaxLength.
std::string IniReadString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue, bool* cut = nullptr);

// The key names of `section` in file order, duplicates included; empty key names are left out.
std::vector<std::string> IniReadKeys(const std::string& path, std::string_view section);

// The key lines of `section` in file order with each line's own value; same selection as
// IniReadKeys. Unlike a read by name, a key that occurs twice yields both of its values.
std::vector<IniEntry> IniReadEntries(const std::string& path, std::string_view section);

// Sets `key` in `section` to `value`. Creates the file and the section when missing (a new
// section goes at the end of the file, a new key after the last key line of its section); an
// existing key keeps its line and its spelling, only the text after "=" changes.
// Throws PlatformError or std::invalid_argument as described above.
void IniWriteString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value);

// Applies `changes` in their order as one rewrite of the file: the result is what the single
// writes and erases would give one after the other (a key written twice keeps the later
// value), but the file is replaced once, or not at all when nothing changes. Throws as
// IniWriteString; then nothing of the batch is written.
void IniWriteChanges(const std::string& path, const std::vector<IniChange>& changes);

// Creates the file holding `changes` in one step, when nothing exists at `path`: a reader sees
// no file or all of it. False, and nothing written, when something exists there already (also
// when another process created it a moment ago). Throws as IniWriteString.
bool IniCreateFile(const std::string& path, const std::vector<IniChange>& changes);

// Removes every section named `section`: its header and all lines up to the next section.
// A missing file or section is left alone. Throws PlatformError as described above.
void IniEraseSection(const std::string& path, std::string_view section);

// True when anything (a file, a directory, ...) exists at `path`.
bool IniFileExists(const std::string& path);

}  // namespace brontel::platform
