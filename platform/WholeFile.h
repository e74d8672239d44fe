/** @file WholeFile.h: reading a whole file at once and splitting it into a list of lines. */
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brontel::platform {

// Reads the whole file (bytes unchanged) with the read-only, non-blocking open of
// OpenReadOnlyFile. Throws PlatformError when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

// Splits text into lines the way a string list loads a file: a line ends at CR LF, LF or a lone
// CR (none of them kept), a line end at the very end adds no empty line, and the text ends at
// its first NUL byte.
std::vector<std::string> SplitTextLines(std::string_view text);

// The lines of a text as views into it: CR, LF and CR LF each end a line (none kept), and text
// after the last line end is a line of its own. Unlike SplitTextLines, a NUL byte is ordinary.
std::vector<std::string_view> LineViewsOf(std::string_view text);

}  // namespace brontel::platform
