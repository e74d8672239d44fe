/** @file ListerPlugin.h: what the four exported entry points do, behind a viewer factory. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "plugin/ListerContract.h"
#include "plugin/ViewerFactory.h"
#include "plugin/ViewerRegistry.h"
#include "settings/ExtManager.h"

namespace brontel {

// The directory part of a host settings-file name (everything up to and including its last
// path separator ("/" and, on Windows, "\\" too) or colon, nothing when it has neither)
// followed by "brontel.ini".
std::string SettingsPathBeside(const std::string& hostSettingsFile);

// The plug-in's four operations with the host's raw arguments. One instance serves a module for
// its whole life; it keeps the viewer registry, the factory and the extension-manager accessor.
//
// Errors: nothing escapes; each operation runs inside the Shield, which records what it caught.
// ListLoad answers 0 and ListSearchText 1 on any failure; the other two return normally. Threads:
// all four on the host's UI thread, which also runs the viewers. Ownership: `factory` outlives the
// plug-in; viewers own themselves.
class ListerPlugin {
 public:
  using ExtManagerAccess = std::function<ExtManager&()>;

  // `extManager` yields the process's extension manager (GetExtMgr in a module).
  ListerPlugin(ViewerFactory& factory, ExtManagerAccess extManager);

  // Sets SettingsFilePath() beside the host's settings file named in `record` and, when no file
  // is there yet, creates it with the default associations and has the extension manager
  // reload. A null record or an empty name changes nothing.
  void ListSetDefaultParams(const void* record) noexcept;

  // The new viewer's native handle, or 0 when the file is declined (not associated and no
  // force-show bit, null name) or the viewer cannot be made.
  std::uintptr_t ListLoad(std::uintptr_t parentWindow, const char* fileName,
                          std::int32_t showFlags) noexcept;

  // Closes the viewer registered under `handle` and drops it from the registry, also when its
  // close fails. Unknown handles are ignored.
  void ListCloseWindow(std::uintptr_t handle) noexcept;

  // 0 when the viewer found and selected `searchString` (flags passed on unchanged), 1 when it
  // did not, the handle is unknown, the text is null or empty, or the search failed; a failed
  // search drops the handle from the registry without closing the viewer.
  int ListSearchText(std::uintptr_t handle, const char* searchString,
                     std::int32_t searchFlags) noexcept;

  const ViewerRegistry& registry() const { return registry_; }

 private:
  void CreateDefaultSettingsFile(const std::string& path);
  std::uintptr_t LoadViewer(std::uintptr_t parentWindow, const std::string& fileName,
                            std::int32_t showFlags);

  ViewerFactory& factory_;
  ExtManagerAccess extManager_;
  ViewerRegistry registry_;
};

}  // namespace brontel
