#include "plugin/ListerPlugin.h"

#include <cstring>
#include <utility>

#include "diagnostics/Shield.h"
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

void ListerPlugin::CreateDefaultSettingsFile(const std::string& path) {
  platform::IniWriteString(path, "EXT", ".log", "10");
  platform::IniWriteString(path, "EXT", ".", "10");
  extManager_().Load();
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
  if (viewer == nullptr || searchString == nullptr)
    return kSearchNotFound;
  int answer = kSearchNotFound;
  if (!Shield::Run("ListSearchText", [&] {
        answer =
            viewer->FindText(searchString, 0, searchFlags) >= 0 ? kSearchFound : kSearchNotFound;
      }))
    registry_.Remove(handle);
  return answer;
}

}  // namespace brontel
