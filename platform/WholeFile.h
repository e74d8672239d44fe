/** @file WholeFile.h: reading a whole file at once and splitting it into a list of lines. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileEncoding.h"

namespace brontel::platform {

class ReadOnlyFile;

// Reads `file` from its start to its end, bytes unchanged, into a buffer that has at least
// `capacity` bytes reserved (room for callers that expand the text in place; reserved pages
// that are never written cost no memory). A file that grows while it is read is followed by at
// most kTextFileGrowthLimit bytes past the size it had when the read began, so a writer faster
// than the reader cannot keep the read going without end. Throws PlatformError when a read
// fails.
std::string ReadAllOf(ReadOnlyFile& file, std::size_t capacity = 0);

// A whole file's text, decoded as its first bytes announce.
struct WholeText {
  std::string text;
  std::uint64_t end = 0;  // file offset just past the text (for gzip: its decompressed size)
  FileEncoding encoding = FileEncoding::kBytes;
  bool incomplete = false;  // a corrupt or truncated compressed stream: the rest is missing
  bool limited = false;     // a compressed text longer than the limit: only its start is here
};

// Reads the whole of `file` as ReadAllOf does and decodes it: plain bytes stay as they are, a
// UTF-8 mark is dropped, UTF-16 becomes the platform's 8-bit text (line ends kept; a last
// unfinished character left out), gzip is decompressed (GunzipAll). At least `capacity` bytes
// stay reserved beyond what the text needs for plain bytes, and a quarter more for decoded text.
WholeText ReadWholeText(ReadOnlyFile& file, std::size_t capacity = 0);

// Reads the whole file (bytes unchanged, as ReadAllOf) with the read-only, non-blocking open of
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
