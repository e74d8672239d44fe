# cmake -DPRESET_DIR=<types folder> -DOUTPUT=<file.cpp> -P EmbedPresets.cmake
# Writes the C++ table of every preset (*.ini) of PRESET_DIR, by name, with its whole text.
file(GLOB presets ${PRESET_DIR}/*.ini)
list(SORT presets)
set(entries "")
foreach(preset IN LISTS presets)
  get_filename_component(name ${preset} NAME_WE)
  file(READ ${preset} text)
  string(FIND "${text}" ")brontelpreset\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${preset} holds the delimiter of the embedded text")
  endif()
  string(APPEND entries "    {\"${name}\", R\"brontelpreset(${text})brontelpreset\"},\n")
endforeach()
set(content "// Made by cmake/EmbedPresets.cmake from the types folder; edit the presets there.
#include \"classify/PresetTexts.h\"

namespace brontel {

std::span<const PresetText> EmbeddedPresets() {
  static constexpr PresetText kPresets[] = {
${entries}  };
  return kPresets;
}

}  // namespace brontel
")
file(WRITE ${OUTPUT} "${content}")
