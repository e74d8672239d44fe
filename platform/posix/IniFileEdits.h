/** @file IniFileEdits.h: the byte-range edits that apply a batch of ini changes to a file. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/IniFile.h"

namespace brontel::platform::ini_lines {

// Bytes [begin, end) of the file replaced by `text`.
struct Edit {
  std::uint64_t begin = 0;
  std::uint64_t end = 0;
  std::string text;
  bool removesLines = false;  // an erase of whole lines
};

// The edits, sorted by position and not overlapping, that turn the file open at `fd` (-1: a
// file that does not exist yet) into what `changes` applied one after the other would leave:
// an existing key keeps its line and spelling, a new key follows the last key line of the first
// section of its name, a new section goes at the end, an erase removes every section of the
// name. Empty when nothing would change. Throws PlatformError (naming `path`) on a read error.
std::vector<Edit> EditsForChanges(int fd, const std::string& path,
                                  const std::vector<IniChange>& changes);

}  // namespace brontel::platform::ini_lines
