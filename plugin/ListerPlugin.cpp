#include "plugin/ListerPlugin.h"

#include <cstring>
#include <utility>

#include "platform/IniFile.h"
#include "platform/ProgramDirectory.h"
#include "settings/SettingsFile.h"

namespace brontel {

namespace {

// The name inside the record, never read beyond the room the record gives it.
std::string DefaultIniNameOf(const void* record) {
  const char* name = static_cast<const char*>(record) + kDefaultIniNameOffset;
  return std::string(name, ::strnlen(name, kDefaultIniNameCapacity));
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
  try {
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
  } catch (...) {
    // The host has no way to hear of it; the path, once set, stays set.
  }
}

void ListerPlugin::CreateDefaultSettingsFile(const std::string& path) {
  platform::IniWriteString(path, "EXT", ".log", "10");
  platform::IniWriteString(path, "EXT", ".", "10");
  extManager_().Load();
}

std::uintptr_t ListerPlugin::ListLoad(std::uintptr_t parentWindow, const char* fileName,
                                      std::int32_t showFlags) noexcept {
  try {
    if (fileName == nullptr)
      return 0;
    return LoadViewer(parentWindow, fileName, showFlags);
  } catch (...) {
    return 0;
  }
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
  try {
    registry_.Register(handle, viewer);
  } catch (...) {
    // Unregistered, the viewer could never be closed through the entry points again.
    factory_.CloseViewer(viewer);
    throw;
  }
  return handle;
}

void ListerPlugin::ListCloseWindow(std::uintptr_t handle) noexcept {
  TListWindowIntf* viewer = registry_.Find(handle);
  if (viewer == nullptr)
    return;
  try {
    factory_.CloseViewer(*viewer);
  } catch (...) {
    // A viewer that refused to close is still forgotten below.
  }
  registry_.Remove(handle);
}

int ListerPlugin::ListSearchText(std::uintptr_t handle, const char* searchString,
                                 std::int32_t searchFlags) noexcept {
  TListWindowIntf* viewer = registry_.Find(handle);
  if (viewer == nullptr || searchString == nullptr)
    return 1;
  try {
    return viewer->FindMatch(searchString, 0, searchFlags).offset >= 0 ? 0 : 1;
  } catch (...) {
    registry_.Remove(handle);
    return 1;
  }
}

}  // namespace brontel
