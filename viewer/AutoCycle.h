/** @file AutoCycle.h: the next file of a numbered log series (base name + 0 .. 23 + extension). */
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace brontel {

// The series runs 0 .. kLastCycleNumber and then starts again at 0.
inline constexpr int kLastCycleNumber = 23;
// One full round of the series: no cycle step passes more files than this.
inline constexpr int kCycleRound = kLastCycleNumber + 1;

// The number of `path` in the series of `baseName`: the file-name part without its first
// (length of baseName) characters and without its extension, as a whole decimal integer.
// nullopt when baseName does not occur in path (an empty one never does) or nothing numeric
// is left ("app.log" with base "app").
std::optional<int> CycleNumber(const std::string& path, const std::string& baseName);

// The file after `path` in the series: directory + baseName + the next number ("%d", or "%02d"
// when the first does not exist) + path's extension, when it exists (`exists`) and is not older
// than `path` by the packed DOS age (`age`, -1 for unreadable). nullopt otherwise.
std::optional<std::string> NextCycleFile(
    const std::string& path, const std::string& baseName,
    const std::function<bool(const std::string&)>& exists,
    const std::function<std::int32_t(const std::string&)>& age);

// Walks the series from `path` as far as newer files exist, at most one full round (so a series
// whose 24 files all have equal ages ends instead of cycling for ever). The file reached, or
// nullopt when not even one step was possible.
std::optional<std::string> CycleForward(const std::string& path, const std::string& baseName,
                                        const std::function<bool(const std::string&)>& exists,
                                        const std::function<std::int32_t(const std::string&)>& age);

}  // namespace brontel
