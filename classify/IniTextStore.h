/** @file IniTextStore.h: a read-only settings store over an ini text held in memory. */
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/ExtMgr.h"

namespace brontel {

// Reads key paths from an ini text with the rules of the settings file (names without regard to
// ASCII letter case, blanks around names and values ignored, matching quotes dropped, ";"
// comments, the first matching section and key win, values cut to 2047 characters). Used for
// the compiled-in presets, which no file backs. Writes are not for it: nothing writes message
// types, and nothing else reads from it.
class IniTextStore : public ExtMgr {
 public:
  explicit IniTextStore(std::string_view text);

  std::string ReadPathString(const std::vector<std::string>& components,
                             const std::string& defaultValue) override;

 private:
  struct Entry {
    std::string section;  // lower case
    std::string key;      // lower case
    std::string value;
  };
  std::vector<Entry> entries_;
};

}  // namespace brontel
