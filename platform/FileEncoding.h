/** @file FileEncoding.h: how a log file's bytes stand for its text, told by its first bytes. */
#pragma once

#include <cstddef>
#include <string_view>

namespace brontel::platform {

class ReadOnlyFile;

// A file without a byte-order mark or the gzip magic is read byte for byte, and so is one with
// a UTF-32 mark (FF FE 00 00 or 00 00 FE FF).
enum class FileEncoding {
  kBytes,
  kUtf8Mark,  // EF BB BF, then UTF-8: the mark is dropped
  kUtf16Le,   // FF FE, then little-endian UTF-16
  kUtf16Be,   // FE FF, then big-endian UTF-16
  kGzip,      // 1F 8B: gzip-compressed text
};

// The encoding that the file's first bytes announce.
FileEncoding DetectFileEncoding(ReadOnlyFile& file);
// The same for the first bytes of a file's content.
FileEncoding EncodingOfStart(std::string_view start);

// How many leading bytes are the mark (0 for plain bytes and for gzip).
std::size_t EncodingMarkSize(FileEncoding encoding);

// What the status text adds for the encoding, e.g. " [UTF-16 LE]"; empty for plain bytes.
std::string_view EncodingLabel(FileEncoding encoding);

}  // namespace brontel::platform
