#include "settings/ConfigData.h"

#include "platform/IniFileNumbers.h"
#include "settings/ExtMgr.h"

namespace brontel {
namespace {

constexpr const char* kLayoutCountKey = "Layouts\\Count";

std::string LayoutKey(std::int32_t index) {
  return "Layouts\\Layout" + std::to_string(index);
}

// Stores `value` in `field`; true when that changed it.
template <typename T>
bool Assign(T& field, const T& value) {
  if (field == value)
    return false;
  field = value;
  return true;
}

}  // namespace

std::string FormatLayout(const Layout& layout) {
  std::string text;
  for (const std::int32_t value : layout.Values)
    text += std::to_string(value) + "|";
  return text;
}

void ParseLayout(const std::string& text, Layout& layout) {
  std::string_view rest = text;
  for (std::int32_t& value : layout.Values) {
    const std::size_t bar = rest.find('|');
    if (bar == std::string_view::npos)
      break;
    value = platform::ParseIniInteger(rest.substr(0, bar)).value_or(0);
    rest.remove_prefix(bar + 1);
  }
}

void ConfigData::Changed() {
  if (OnChange)
    OnChange();
}

void ConfigData::SetLoadCompleteFile(bool value) {
  if (!Assign(LoadCompleteFile, value))
    return;
  if (value)
    Active = false;
  Changed();
}

void ConfigData::SetActive(bool value) {
  if (!Assign(Active, value))
    return;
  if (value)
    LoadCompleteFile = false;
  Changed();
}

void ConfigData::SetAutoFollowMode(bool value) {
  if (Assign(AutoFollowMode, value))
    Changed();
}

void ConfigData::SetAutoCycle(bool value) {
  if (Assign(AutoCycle, value))
    Changed();
}

void ConfigData::SetLastBufferSizeIndex(std::int32_t value) {
  if (Assign(LastBufferSizeIndex, value))
    Changed();
}

void ConfigData::SetLastHistMaxLinesIndex(std::int32_t value) {
  if (Assign(LastHistMaxLinesIndex, value))
    Changed();
}

void ConfigData::SetLastCycleName(const std::string& value) {
  if (Assign(LastCycleName, value))
    Changed();
}

void ConfigData::RequestOptions(std::int32_t code) {
  if (OnOptionsRequest)
    OnOptionsRequest(code);
}

void ConfigData::LoadFromSettings() {
  LoadFromSettings(GetExtMgr());
}

void ConfigData::LoadFromSettings(ExtManager& store) {
  AutoFollowMode = store.ReadInteger("Options.AutoFollowMode", 1) != 0;
  LastCycleName = store.ReadString("Options.LastCycleName", "");
  AutoCycle = store.ReadInteger("Options.AutoCycle", 0) != 0;
  LoadCompleteFile = store.ReadInteger("Options.LoadCompleteFile", 0) != 0;
  Active = LoadCompleteFile ? false : store.ReadInteger("Options.Active", 1) != 0;
  LastBufferSizeIndex = store.ReadInteger("Options.LastBufferSizeIndex", 2);
  LastHistMaxLinesIndex = store.ReadInteger("Options.LastHistMaxLinesIndex", 1);
  LastFolder = store.ReadString("Options.LastFolder", "");
  StayOnTop = store.ReadInteger("Options.StayOnTop", 0) != 0;
  WindowState = store.ReadInteger("Options.WindowState", 0);
  AssociatedExts = store.ReadString("Options.AssociatedExts", ".logs");
  const std::int32_t count = store.ReadInteger(kLayoutCountKey, 0);
  LayoutCount = count < 0 || count > kMaxLayouts ? 0 : count;
  LoadLayouts(store);
  LoadColumnSets(store);
}

void ConfigData::LoadLayouts(ExtManager& store) {
  if (LayoutCount == 0)
    return;
  Layouts.assign(static_cast<std::size_t>(LayoutCount), Layout{});
  for (std::int32_t i = 0; i < LayoutCount; ++i) {
    const std::string text = store.ReadString(LayoutKey(i), "");
    if (!text.empty())
      ParseLayout(text, Layouts[static_cast<std::size_t>(i)]);
  }
}

void ConfigData::SaveToSettings() const {
  SaveToSettings(GetExtMgr());
}

void ConfigData::SaveToSettings(ExtManager& store) const {
  store.WriteStrings(SettingsValues());
}

std::vector<std::pair<std::string, std::string>> ConfigData::SettingsValues() const {
  std::vector<std::pair<std::string, std::string>> values;
  const auto integer = [&](const char* keyPath, std::int32_t value) {
    values.emplace_back(keyPath, std::to_string(value));
  };
  const auto text = [&](const char* keyPath, const std::string& value) {
    values.emplace_back(keyPath, value);
  };
  integer("Options.AutoFollowMode", AutoFollowMode ? 1 : 0);
  text("Options.LastCycleName", LastCycleName);
  integer("Options.AutoCycle", AutoCycle ? 1 : 0);
  integer("Options.LoadCompleteFile", LoadCompleteFile ? 1 : 0);
  integer("Options.Active", Active ? 1 : 0);
  integer("Options.LastBufferSizeIndex", LastBufferSizeIndex);
  integer("Options.LastHistMaxLinesIndex", LastHistMaxLinesIndex);
  text("Options.LastFolder", LastFolder);
  integer("Options.StayOnTop", StayOnTop ? 1 : 0);
  integer("Options.WindowState", WindowState);
  text("Options.AssociatedExts", AssociatedExts);
  integer(kLayoutCountKey, LayoutCount);
  for (std::int32_t i = 0; i < LayoutCount; ++i) {
    const std::size_t index = static_cast<std::size_t>(i);
    values.emplace_back(LayoutKey(i),
                        FormatLayout(index < Layouts.size() ? Layouts[index] : Layout{}));
  }
  return values;
}

}  // namespace brontel
