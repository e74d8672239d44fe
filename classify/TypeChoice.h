/** @file TypeChoice.h: the preset that suits a log, by its file name or by its first lines. */
#pragma once

#include <cstddef>
#include <string_view>

namespace brontel {

// How much of a file's start the choice looks at.
inline constexpr std::size_t kChoiceHeadBytes = 64 * 1024;

// The preset that the file name of `path` stands for ("syslog" for /var/log/syslog.2.gz,
// "web" for nginx's error.log, ...), or empty when the name says nothing. Letter case,
// rotation numbers, date suffixes and compression extensions are ignored.
std::string_view PresetForFileName(std::string_view path);

// The preset for the layout of the lines in `head` (the start of a file; a last line without
// its end is left out when there are others): the family most of its recognised lines share,
// the generic level-word preset when only that fits, and empty when the lines are in the
// built-in types' own format or in no known layout.
std::string_view PresetForText(std::string_view head);

// The file name first, then the text.
std::string_view ChoosePreset(std::string_view path, std::string_view head);

}  // namespace brontel
