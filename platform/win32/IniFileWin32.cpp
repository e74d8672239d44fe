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
                          std::string_view defaultValue) {
  char buffer[kIniValueMaxLength + 1] = {};
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
  return std::string(buffer, got);
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
  RefuseLineBreaks(section, "section name");
  RefuseLineBreaks(key, "key name");
  RefuseLineBreaks(value, "value");
  const std::string sectionName(section);
  const std::string keyName(key);
  const std::string text(value);
  WriteThroughCopy(path, [&](const std::string& file) {
    return ::WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), text.c_str(),
                                        file.c_str()) != FALSE;
  });
}

void IniEraseSection(const std::string& path, std::string_view section) {
  if (!IniFileExists(path))
    return;
  const std::string sectionName(section);
  // The profile functions remove one section per call; every section of the name must go.
  WriteThroughCopy(path, [&](const std::string& file) {
    for (int round = 0; round < 4096 && HasSection(file, sectionName); ++round) {
      if (!::WritePrivateProfileStringA(sectionName.c_str(), nullptr, nullptr, file.c_str()))
        return false;
    }
    return true;
  });
}

bool IniFileExists(const std::string& path) {
  return !path.empty() && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace brontel::platform
