// The four exported entry points of every module: the host's raw arguments are handed to the
// module's ListerPlugin, inside the shield, and each call is reported in the trace log.

#include "plugin/module/ModuleEntryPoints.h"

#include <cstdint>
#include <string>
#include <type_traits>

#include "diagnostics/Shield.h"
#include "diagnostics/TraceLog.h"
#include "plugin/ListerContract.h"

namespace {

// With the trace log on, a check of a host's integration sees what the host called and what
// it got back.
void TraceCall(const char* call, const char* text, long long argument, long long result) {
  if (!brontel::TraceEnabled())
    return;
  brontel::Shield::Run(call, [&] {
    brontel::TraceLine(call, "\"" + std::string(text != nullptr ? text : "") + "\", " +
                                 std::to_string(argument) + " -> " + std::to_string(result));
  });
}

std::uintptr_t HandleOf(void* window) {
  return reinterpret_cast<std::uintptr_t>(window);
}

}  // namespace

BRONTEL_MODULE_EXPORT void BRONTEL_LISTER_CALL ListSetDefaultParams(const void* defaultParams) {
  brontel::Shield::Run("ListSetDefaultParams",
                       [&] { brontel::ModulePlugin().ListSetDefaultParams(defaultParams); });
  TraceCall("ListSetDefaultParams", "", 0, 0);
}

BRONTEL_MODULE_EXPORT void* BRONTEL_LISTER_CALL ListLoad(void* parentWindow, const char* fileToLoad,
                                                         int showFlags) {
  const std::uintptr_t handle = brontel::Shield::Value("ListLoad", std::uintptr_t{0}, [&] {
    return brontel::ModulePlugin().ListLoad(HandleOf(parentWindow), fileToLoad, showFlags);
  });
  TraceCall("ListLoad", fileToLoad, showFlags, handle != 0);
  return reinterpret_cast<void*>(handle);
}

BRONTEL_MODULE_EXPORT void BRONTEL_LISTER_CALL ListCloseWindow(void* listWindow) {
  brontel::Shield::Run("ListCloseWindow",
                       [&] { brontel::ModulePlugin().ListCloseWindow(HandleOf(listWindow)); });
  TraceCall("ListCloseWindow", "", 0, 0);
}

BRONTEL_MODULE_EXPORT int BRONTEL_LISTER_CALL ListSearchText(void* listWindow,
                                                             const char* searchString,
                                                             int searchParameter) {
  const int found = brontel::Shield::Value("ListSearchText", brontel::kSearchNotFound, [&] {
    return brontel::ModulePlugin().ListSearchText(HandleOf(listWindow), searchString,
                                                  searchParameter);
  });
  TraceCall("ListSearchText", searchString, searchParameter, found);
  return found;
}

static_assert(
    std::is_same_v<decltype(&ListSetDefaultParams), brontel::ListSetDefaultParamsFunction>);
static_assert(std::is_same_v<decltype(&ListLoad), brontel::ListLoadFunction>);
static_assert(std::is_same_v<decltype(&ListCloseWindow), brontel::ListCloseWindowFunction>);
static_assert(std::is_same_v<decltype(&ListSearchText), brontel::ListSearchTextFunction>);
