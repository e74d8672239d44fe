/** @file ListerContract.h: the viewer-plug-in interface between a host and brontel.wlx. */
#pragma once

// Everything both sides of the interface agree on, and nothing else: the module, the hosts,
// the tests and the benchmarks include this header, so it depends on the standard library
// only. What the module does with these lives in plugin/ListerPlugin.h.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The interface's calling convention: __stdcall on 32-bit Windows (the names are exported
// undecorated), the platform's C convention everywhere else.
#if defined(_WIN32) && !defined(_WIN64)
#define BRONTEL_LISTER_CALL __stdcall
#else
#define BRONTEL_LISTER_CALL
#endif

namespace brontel {

// Show flags of ListLoad: the host asks to show a file whatever its extension. No other bit
// is looked at.
inline constexpr std::int32_t kForceShow = 16;

// Search flags of ListSearchText, passed on unchanged to the viewer's search. Find-first has
// no effect of its own: every search starts at the caret and wraps around.
inline constexpr std::int32_t kSearchFindFirst = 1;
inline constexpr std::int32_t kSearchMatchCase = 2;
inline constexpr std::int32_t kSearchWholeWords = 4;
inline constexpr std::int32_t kSearchBackwards = 8;
// Our own host's bit, which no other host sets: the text is a regular expression.
inline constexpr std::int32_t kSearchExpression = 16;

// ListSearchText's answers.
inline constexpr int kSearchFound = 0;
inline constexpr int kSearchNotFound = 1;

// The room for a path in the host's records, its terminating zero included.
inline constexpr std::size_t kListerMaxPath = 260;

// The default-parameters record that ListSetDefaultParams receives. A newer host may send a
// longer record; the module reads only the host's settings-file name.
struct ListerDefaultParams {
  std::int32_t size;
  std::uint32_t interfaceVersionLow;
  std::uint32_t interfaceVersionHigh;
  char defaultIniName[kListerMaxPath];  // zero-terminated, the host's own settings file
};
static_assert(offsetof(ListerDefaultParams, defaultIniName) == 12,
              "the name starts behind the size and the two version words");

// The interface version a host of this build announces.
inline constexpr std::uint32_t kListerVersionLow = 2;
inline constexpr std::uint32_t kListerVersionHigh = 10;

// A record as a host fills it in; a name that does not fit is cut to the room it has, as a
// host with such a buffer would have to.
inline ListerDefaultParams MakeListerDefaultParams(std::string_view hostSettingsFile) {
  ListerDefaultParams record{};
  record.size = static_cast<std::int32_t>(sizeof record);
  record.interfaceVersionLow = kListerVersionLow;
  record.interfaceVersionHigh = kListerVersionHigh;
  const std::size_t length =
      hostSettingsFile.size() < kListerMaxPath ? hostSettingsFile.size() : kListerMaxPath - 1;
  std::memcpy(record.defaultIniName, hostSettingsFile.data(), length);
  return record;
}

// The four exported entry points, as a host calls them. Windows are opaque handles (an HWND
// on Windows, the host's QWidget* for the Qt module); texts are zero-terminated 8-bit strings.
using ListSetDefaultParamsFunction = void(BRONTEL_LISTER_CALL*)(const void* defaultParams);
using ListLoadFunction = void*(BRONTEL_LISTER_CALL*)(void* parentWindow, const char* fileToLoad,
                                                     int showFlags);
using ListCloseWindowFunction = void(BRONTEL_LISTER_CALL*)(void* listWindow);
using ListSearchTextFunction = int(BRONTEL_LISTER_CALL*)(void* listWindow, const char* searchString,
                                                         int searchParameter);

// The exported names, for hosts that look the entry points up.
inline constexpr const char* kListSetDefaultParamsName = "ListSetDefaultParams";
inline constexpr const char* kListLoadName = "ListLoad";
inline constexpr const char* kListCloseWindowName = "ListCloseWindow";
inline constexpr const char* kListSearchTextName = "ListSearchText";

}  // namespace brontel
