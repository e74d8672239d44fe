/** @file OptionTables.h: the buffer sizes and history limits the viewer offers. */
#pragma once

#include <array>
#include <cstdint>

namespace brontel {

// One item of a drop-down list of numbers: its text and its value.
struct OptionChoice {
  const char* text;
  std::int32_t value;
};

// Bytes read from the end of the file, by item of `comBufferSize`.
inline constexpr std::array<OptionChoice, 7> BufferSizes{{{"5 KB", 5120},
                                                          {"10 KB", 10240},
                                                          {"20 KB", 20480},
                                                          {"50 KB", 51200},
                                                          {"100 KB", 102400},
                                                          {"250 KB", 256000},
                                                          {"1 MB", 1048576}}};
inline constexpr int kDefaultBufferSizeIndex = 2;

// History limits, by item of `comMaxHistLines`; "unlimited" is 100 000 000.
inline constexpr std::array<OptionChoice, 5> MaxHistoryLines{{{"100", 100},
                                                              {"1 000", 1000},
                                                              {"10 000", 10000},
                                                              {"100 000", 100000},
                                                              {"unlimited", 100000000}}};
inline constexpr int kDefaultMaxHistoryLinesIndex = 1;

// The buffer size of item `index`; an index outside the list (as a hand-edited settings file
// can hold) gives the default item's size.
std::int32_t BufferSizeAt(int index);

// The history limit of item `index`; an index outside the list gives the default item's limit.
std::int32_t MaxHistoryLinesAt(int index);

}  // namespace brontel
