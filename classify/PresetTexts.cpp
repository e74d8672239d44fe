#include "classify/PresetTexts.h"

namespace brontel {

const PresetText* FindEmbeddedPreset(std::string_view name) {
  for (const PresetText& preset : EmbeddedPresets()) {
    if (preset.name == name)
      return &preset;
  }
  return nullptr;
}

}  // namespace brontel
