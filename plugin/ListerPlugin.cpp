#include "plugin/ListerPlugin.h"

#include <cstring>
#include <exception>
#include <utility>

#include "diagnostics/Shield.h"
#include "diagnostics/TraceLog.h"
#include "platform/IniFile.h"
#include "platform/ProgramDirectory.h"
#include "settings/SettingsFile.h"

namespace brontel {

namespace {

// The name inside the record, never read beyond the room the record gives it: a longer name is
// cut there.
std::string DefaultIniNameOf(const void* record) {
  const char* name = static_cast<const ListerDefaultParams*>(record)->defaultIniName;
  return std::string(name, ::strnlen(name, kListerMaxPath));
}

}  // namespace

std::string SettingsPathBeside(const std::string& hostSettingsFile) {
  const std::size_t lastSeparator =
      hostSettingsFile.find_last_of(std::string{'/', platform::PathSeparator(), ':'});
  std::string path;
  if (lastSeparator != std::string::npos)
    path = hostSettingsFile.substr(0, lastSeparator + 1);
  path += kSettingsFileName;
  return path;
}

ListerPlugin::ListerPlugin(ViewerFactory& factory, ExtManagerAccess extManager)
    : factory_(factory), extManager_(std::move(extManager)) {}

void ListerPlugin::ListSetDefaultParams(const void* record) noexcept {
  // The host has no way to hear of a failure; the path, once set, stays set.
  Shield::Run("ListSetDefaultParams", [&] {
    if (record == nullptr)
      return;
    const std::string hostSettingsFile = DefaultIniNameOf(record);
    if (hostSettingsFile.empty())
      return;
    SettingsFilePath() = SettingsPathBeside(hostSettingsFile);
    const std::string path = SettingsFilePath();
    if (platform::IniFileExists(path))
      return;
    CreateDefaultSettingsFile(path);
  });
}

// Made in one step, so that a host starting at the same moment finds no file or all of it; in a
// folder that cannot be written the associations live in memory, and .log files still open.
void ListerPlugin::CreateDefaultSettingsFile(const std::string& path) {
  try {
    platform::IniCreateFile(
        path, {platform::IniChange{"EXT", ".log", "10"}, platform::IniChange{"EXT", ".", "10"}});
  } catch (const std::exception& failure) {
    TraceLine("settings", std::string("cannot create the settings file: ") + failure.what());
  }
  ExtManager& store = extManager_();
  store.Load();
  if (!platform::IniFileExists(path))
    store.UseAssociations({{".log", 10}, {".", 10}});
}

std::uintptr_t ListerPlugin::ListLoad(std::uintptr_t parentWindow, const char* fileName,
                                      std::int32_t showFlags) noexcept {
  return Shield::Value("ListLoad", std::uintptr_t{0}, [&]() -> std::uintptr_t {
    if (fileName == nullptr)
      return 0;
    return LoadViewer(parentWindow, fileName, showFlags);
  });
}

std::uintptr_t ListerPlugin::LoadViewer(std::uintptr_t parentWindow, const std::string& fileName,
                                        std::int32_t showFlags) {
  if ((showFlags & kForceShow) == 0) {
    std::int32_t association = 0;
    if (!extManager_().IsAssociated(fileName, association))
      return 0;
  }
  TListWindowIntf& viewer = factory_.CreateViewer(parentWindow, fileName);
  const std::uintptr_t handle = viewer.NativeHandle();
  // Unregistered, the viewer could never be closed through the entry points again.
  if (!Shield::Run("ListLoad: registering the viewer",
                   [&] { registry_.Register(handle, viewer); })) {
    factory_.CloseViewer(viewer);
    return 0;
  }
  return handle;
}

void ListerPlugin::ListCloseWindow(std::uintptr_t handle) noexcept {
  TListWindowIntf* viewer = registry_.Find(handle);
  if (viewer == nullptr)
    return;
  // A viewer that refused to close is still forgotten below.
  Shield::Run("ListCloseWindow", [&] { factory_.CloseViewer(*viewer); });
  registry_.Remove(handle);
}

int ListerPlugin::ListSearchText(std::uintptr_t handle, const char* searchString,
                                 std::int32_t searchFlags) noexcept {
  TListWindowIntf* viewer = registry_.Find(handle);
  if (viewer == nullptr || searchString == nullptr || *searchString == '\0')
    return kSearchNotFound;  // an empty text is found nowhere
  int answer = kSearchNotFound;
  if (!Shield::Run("ListSearchText", [&] {
        answer = viewer->FindMatch(searchString, 0, searchFlags).offset >= 0 ? kSearchFound
                                                                             : kSearchNotFound;
      }))
    registry_.Remove(handle);
  return answer;
}

}  // namespace brontel
