#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>

#include "platform/IniFile.h"
#include "platform/PlatformError.h"

namespace brontel::platform {
namespace {

constexpr DWORD kSectionBufferLimit = 4 * 1024 * 1024;

void RefuseLineBreaks(std::string_view text, const char* what) {
  if (text.find_first_of("\r\n") != std::string_view::npos) {
    throw std::invalid_argument(std::string("ini ") + what + " holds a line break");
  }
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kIniValueMaxLength));
}

// The raw lines of a section ("key=value" each, zero-separated), read with a growing buffer.
std::string SectionLines(const std::string& path, std::string_view section) {
  const std::string name(section);
  for (DWORD size = 16 * 1024;; size *= 2) {
    std::string buffer(size, '\0');
    const DWORD got = ::GetPrivateProfileSectionA(name.c_str(), buffer.data(), size, path.c_str());
    if (got + 2 < size || size >= kSectionBufferLimit) {
      buffer.resize(got);
      return buffer;
    }
  }
}

// Section names of the file as the profile functions see them, zero-separated.
bool HasSection(const std::string& path, std::string_view section) {
  std::string names(64 * 1024, '\0');
  const DWORD got = ::GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()),
                                                     path.c_str());
  names.resize(got);
  for (std::size_t start = 0; start < names.size();) {
    const std::size_t stop = std::min(names.find('\0', start), names.size());
    const std::string_view name = std::string_view(names).substr(start, stop - start);
    if (name.size() == section.size() &&
        ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.data(),
                         static_cast<int>(name.size()), section.data(),
                         static_cast<int>(section.size())) == CSTR_EQUAL) {
      return true;
    }
    start = stop + 1;
  }
  return false;
}

// A new, empty file beside `path` with a name of this process and write: two hosts saving the
// same settings at once each write their own copy.
std::string ClaimTemporaryName(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = path + "." + std::to_string(::GetCurrentProcessId()) + "." +
                             std::to_string(counter++) + ".tmp";
    HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      ::CloseHandle(file);
      return name;
    }
    if (::GetLastError() != ERROR_FILE_EXISTS)
      throw LastOsError(path);
  }
  throw PlatformError(path, "no free name for the temporary copy");
}

// The lock that writers of one file in any process share: an exclusive byte-range lock on
// the file's name with ".lock" added, waited for up to kIniLockWaitMs. Where no lock file can
// be made, the write goes on alone (it then fails on its own or has the file to itself).
class WriterLock {
 public:
  explicit WriterLock(const std::string& path) {
    const std::string name = path + ".lock";
    file_ = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
      return;
    constexpr DWORD kPollMs = 5;
    for (DWORD waited = 0;; waited += kPollMs) {
      OVERLAPPED where = {};
      if (::LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &where)) {
        held_ = true;
        return;
      }
      if (::GetLastError() != ERROR_LOCK_VIOLATION || waited >= kIniLockWaitMs) {
        const bool busy = ::GetLastError() == ERROR_LOCK_VIOLATION;
        ::CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
        if (busy)
          throw PlatformError(path, "another writer holds its lock for too long");
        return;
      }
      ::Sleep(kPollMs);
    }
  }
  ~WriterLock() {
    if (file_ != INVALID_HANDLE_VALUE)
      ::CloseHandle(file_);  // releases the lock
  }
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;
  bool held() const { return held_; }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  bool held_ = false;
};

// Whether `name` is "<file>.<digits>.<digits>.tmp", a copy that ClaimTemporaryName made.
bool IsOurTemporaryName(std::string_view name, std::string_view file) {
  constexpr std::string_view kSuffix = ".tmp";
  if (name.size() <= file.size() + 1 + kSuffix.size() ||
      ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.data(),
                       static_cast<int>(file.size()), file.data(),
                       static_cast<int>(file.size())) != CSTR_EQUAL ||
      name[file.size()] != '.' || !name.ends_with(kSuffix)) {
    return false;
  }
  const std::string_view middle =
      name.substr(file.size() + 1, name.size() - file.size() - 1 - kSuffix.size());
  const std::size_t dot = middle.find('.');
  return dot != std::string_view::npos && dot > 0 && dot + 1 < middle.size() &&
         middle.find_first_not_of("0123456789.") == std::string_view::npos &&
         middle.find('.', dot + 1) == std::string_view::npos;
}

// Removes the copies that interrupted writes left beside `path`. Only under the writers' lock,
// when no other write can be under way.
void RemoveStaleTemporaries(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/:");
  const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string file = path.substr(directory.size());
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((path + ".*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return;
  do {
    if (IsOurTemporaryName(found.cFileName, file))
      ::DeleteFileA((directory + found.cFileName).c_str());
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

// Runs `write` on a copy of the file and moves the copy into place, so that a failing write
// never leaves a half-written file. The copy keeps the file's security descriptor.
template <typename Write>
void WriteThroughCopy(const std::string& path, Write write) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw PlatformError(path, "is a directory");
  }
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw PlatformError(path, "the file is read-only");
  }
  const std::string temp = ClaimTemporaryName(path);
  if (exists && !::CopyFileA(path.c_str(), temp.c_str(), FALSE)) {
    const PlatformError error = LastOsError(path);
    ::DeleteFileA(temp.c_str());
    throw error;
  }
  if (!write(temp)) {
    const PlatformError error = LastOsError(path);
    ::DeleteFileA(temp.c_str());
    throw error;
  }
  ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, temp.c_str());  // flush the cache
  if (!::MoveFileExA(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const PlatformError error = LastOsError(path);
    ::DeleteFileA(temp.c_str());
    throw error;
  }
}

}  // namespace

std::string IniReadString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue, bool* cut) {
  if (cut != nullptr)
    *cut = false;
  // One byte more than a value may have tells a longer stored value from one that fits.
  char buffer[kIniValueMaxLength + 2] = {};
  std::string fallback(defaultValue.substr(0, kIniValueMaxLength));
  while (!fallback.empty() && (fallback.back() == ' ' || fallback.back() == '\t'))
    fallback.pop_back();
  // Lines before the first header belong to no section, not to one with an empty name.
  if (TrimBlanks(section).empty())
    return fallback;
  const std::string sectionName(section);
  const std::string keyName(key);
  const DWORD got = ::GetPrivateProfileStringA(
      sectionName.c_str(), keyName.c_str(), fallback.c_str(), buffer, sizeof buffer, path.c_str());
  if (got > kIniValueMaxLength && cut != nullptr)
    *cut = true;
  return std::string(buffer, std::min<std::size_t>(got, kIniValueMaxLength));
}

std::vector<IniEntry> IniReadEntries(const std::string& path, std::string_view section) {
  std::vector<IniEntry> entries;
  if (TrimBlanks(section).empty())
    return entries;
  const std::string lines = SectionLines(path, section);
  for (std::size_t start = 0; start < lines.size() && entries.size() < kIniListMaxKeys;) {
    const std::size_t stop = std::min(lines.find('\0', start), lines.size());
    const std::string_view line = TrimBlanks(std::string_view(lines).substr(start, stop - start));
    start = stop + 1;
    if (line.empty() || line.front() == ';')
      continue;
    const std::size_t equals = line.find('=');
    IniEntry entry{std::string(TrimBlanks(line.substr(0, equals))), std::nullopt};
    if (equals != std::string_view::npos)
      entry.value = Unquoted(TrimBlanks(line.substr(equals + 1)));
    if (!entry.key.empty())
      entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<std::string> IniReadKeys(const std::string& path, std::string_view section) {
  std::vector<std::string> keys;
  for (IniEntry& entry : IniReadEntries(path, section))
    keys.push_back(std::move(entry.key));
  return keys;
}

void IniWriteString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
  IniWriteChanges(path, {IniChange{std::string(section), std::string(key), std::string(value)}});
}

namespace {

void RefuseLineBreaksIn(const std::vector<IniChange>& changes) {
  for (const IniChange& change : changes) {
    RefuseLineBreaks(change.section, "section name");
    RefuseLineBreaks(change.key, "key name");
    RefuseLineBreaks(change.value, "value");
  }
}

// Applies one change to the copy `file`; false when the profile functions refuse it.
bool ApplyChange(const std::string& file, const IniChange& change) {
  if (!change.eraseSection) {
    return ::WritePrivateProfileStringA(change.section.c_str(), change.key.c_str(),
                                        change.value.c_str(), file.c_str()) != FALSE;
  }
  // The profile functions remove one section per call; every section of the name must go.
  for (int round = 0; round < 4096 && HasSection(file, change.section); ++round) {
    if (!::WritePrivateProfileStringA(change.section.c_str(), nullptr, nullptr, file.c_str()))
      return false;
  }
  return true;
}

// The changes applied to one copy of the file, moved into place once, under the writers' lock.
// With `onlyWhenMissing` nothing happens when the file exists; true when the changes were made.
bool WriteUnderLock(const std::string& path, const std::vector<IniChange>& changes,
                    bool onlyWhenMissing) {
  RefuseLineBreaksIn(changes);
  const WriterLock lock(path);
  if (lock.held())
    RemoveStaleTemporaries(path);
  const bool exists = IniFileExists(path);
  if (onlyWhenMissing && exists)
    return false;
  const bool onlyErases = std::all_of(changes.begin(), changes.end(),
                                      [](const IniChange& change) { return change.eraseSection; });
  if (!exists && onlyErases)
    return true;  // nothing to erase in a missing file
  WriteThroughCopy(path, [&](const std::string& file) {
    for (const IniChange& change : changes) {
      if (!ApplyChange(file, change))
        return false;
    }
    return true;
  });
  return true;
}

}  // namespace

void IniWriteChanges(const std::string& path, const std::vector<IniChange>& changes) {
  if (!changes.empty())
    WriteUnderLock(path, changes, false);
}

bool IniCreateFile(const std::string& path, const std::vector<IniChange>& changes) {
  return WriteUnderLock(path, changes, true);
}

void IniEraseSection(const std::string& path, std::string_view section) {
  IniChange erase;
  erase.section = section;
  erase.eraseSection = true;
  IniWriteChanges(path, {erase});
}

bool IniFileExists(const std::string& path) {
  return !path.empty() && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace brontel::platform
