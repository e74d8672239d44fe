#include "viewer/AutoCycle.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/ProgramDirectory.h"

namespace brontel {

namespace {

std::size_t NameStart(const std::string& path) {
  // Windows paths may use either separator.
  const std::size_t slash = path.find_last_of(std::string{platform::PathSeparator(), '/'});
  return slash == std::string::npos ? 0 : slash + 1;
}

// The extension with its dot, from the last "." of the file-name part; empty without one.
std::string ExtensionOf(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < NameStart(path))
    return std::string();
  return path.substr(dot);
}

// A whole decimal integer with an optional sign, as the platform's conversion accepts it.
std::optional<int> ParseInteger(const std::string& text) {
  if (text.empty())
    return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno != 0 || value < -2147483647L - 1 ||
      value > 2147483647L)
    return std::nullopt;
  return static_cast<int>(value);
}

std::string Numbered(const char* format, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, format, number);
  return digits;
}

}  // namespace

std::optional<int> CycleNumber(const std::string& path, const std::string& baseName) {
  if (baseName.empty() || path.find(baseName) == std::string::npos)
    return std::nullopt;
  std::string rest = path.substr(NameStart(path));
  rest.erase(0, std::min(baseName.size(), rest.size()));
  const std::size_t dot = rest.find_last_of('.');
  if (dot != std::string::npos)
    rest.erase(dot);
  return ParseInteger(rest);
}

std::optional<std::string> NextCycleFile(
    const std::string& path, const std::string& baseName,
    const std::function<bool(const std::string&)>& exists,
    const std::function<std::int32_t(const std::string&)>& age) {
  std::optional<int> number = CycleNumber(path, baseName);
  if (!number)
    return std::nullopt;
  const int next = *number >= kLastCycleNumber ? 0 : *number + 1;
  const std::string directory = path.substr(0, NameStart(path));
  const std::string extension = ExtensionOf(path);
  std::string candidate = directory + baseName + Numbered("%d", next) + extension;
  if (!exists(candidate)) {
    candidate = directory + baseName + Numbered("%02d", next) + extension;
    if (!exists(candidate))
      return std::nullopt;
  }
  const std::int32_t candidateAge = age(candidate);
  if (candidateAge == -1 || age(path) > candidateAge)
    return std::nullopt;
  return candidate;
}

std::optional<std::string> CycleForward(
    const std::string& path, const std::string& baseName,
    const std::function<bool(const std::string&)>& exists,
    const std::function<std::int32_t(const std::string&)>& age) {
  std::optional<std::string> reached;
  std::string current = path;
  for (int step = 0; step < kCycleRound; ++step) {
    std::optional<std::string> next = NextCycleFile(current, baseName, exists, age);
    if (!next)
      break;
    current = *next;
    reached = current;
    if (current == path)
      break;  // back where the walk began: a full round
  }
  return reached;
}

}  // namespace brontel
