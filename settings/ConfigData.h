/** @file ConfigData.h: one viewer window's options record, loaded from and saved to brontel.ini. */
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "settings/ExtManager.h"
#include "settings/LogParserDef.h"

namespace brontel {

// Seven integers the system keeps and writes back unchanged, stored as "%d|%d|...|%d|".
struct Layout {
  std::array<std::int32_t, 7> Values{};

  bool operator==(const Layout&) const = default;
};

// The options of one viewer window. Owned by the window; not locked (the window says under which
// lock it is used). The column parser definitions come first, as the base class.
//
// Setters store a changed value and then raise OnChange; an equal value does nothing.
// LoadCompleteFile and Active exclude each other: the setters and the loader never leave both
// true. The other fields are read and written directly.
class ConfigData : public LogParserDef {
 public:
  // A "Layouts\Count" outside 0..kMaxLayouts counts as 0, so a corrupt file cannot cause
  // unbounded reads or allocations.
  static constexpr std::int32_t kMaxLayouts = 256;

  std::vector<Layout> Layouts;
  // The records in use. A load leaves Layouts at least this long; a save writes records that
  // Layouts lacks as zeros.
  std::int32_t LayoutCount = 0;
  bool LoadCompleteFile = false;
  bool AutoFollowMode = true;
  bool Active = true;
  bool AutoCycle = false;
  bool StayOnTop = false;
  std::int32_t LastBufferSizeIndex = 2;
  std::int32_t LastHistMaxLinesIndex = 1;
  std::int32_t WindowState = 0;
  std::string LastCycleName;
  std::string LastFolder;
  std::string AssociatedExts;

  // Bound by the owning window; raised by the setters after a real change.
  std::function<void()> OnChange;
  // Raised by RequestOptions: 0 = show or hide the options, 1 = refresh them from the record.
  std::function<void(std::int32_t)> OnOptionsRequest;

  void SetLoadCompleteFile(bool value);  // true also clears Active
  void SetActive(bool value);            // true also clears LoadCompleteFile
  void SetAutoFollowMode(bool value);
  void SetAutoCycle(bool value);
  void SetLastBufferSizeIndex(std::int32_t value);
  void SetLastHistMaxLinesIndex(std::int32_t value);
  void SetLastCycleName(const std::string& value);  // case matters
  void RequestOptions(std::int32_t code);

  // Overwrites the record from the settings file in a fixed order of reads (the options, the
  // layouts, then the column sets), without setters or OnChange. A value that is not a number
  // reads as its default, a layout field as 0, so that no settings file keeps a viewer from
  // opening. The overload without a store uses GetExtMgr().
  void LoadFromSettings();
  void LoadFromSettings(ExtManager& store);

  // Writes the options, "Layouts\Count" and each layout, in a fixed order, as one write of the
  // store (ExtManager::WriteStrings); erases nothing and never writes the column sets. A
  // refused write raises PlatformError.
  void SaveToSettings() const;
  void SaveToSettings(ExtManager& store) const;
  // What SaveToSettings writes: (key path, text) in the order written.
  std::vector<std::pair<std::string, std::string>> SettingsValues() const;

 private:
  void Changed();
  void LoadLayouts(ExtManager& store);
};

// The stored text of a layout: each value followed by "|".
std::string FormatLayout(const Layout& layout);

// Parses a stored layout text into `layout`, value 1 first: each value is the integer before
// the next "|", 0 for a field that is not an integer (an empty one included); without a
// further "|" the remaining values are left as they are.
void ParseLayout(const std::string& text, Layout& layout);

}  // namespace brontel
