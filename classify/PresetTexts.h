/** @file PresetTexts.h: the message-type presets compiled into the module. */
#pragma once

#include <span>
#include <string_view>

namespace brontel {

// One preset: its name (the file name in types/ without ".ini") and the file's whole text.
struct PresetText {
  std::string_view name;
  std::string_view text;
};

// Every preset the build found, sorted by name. The texts live as long as the module.
std::span<const PresetText> EmbeddedPresets();

// The preset named `name` (exact spelling), or nullptr.
const PresetText* FindEmbeddedPreset(std::string_view name);

}  // namespace brontel
