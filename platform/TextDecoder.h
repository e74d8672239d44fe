/** @file TextDecoder.h: one pass through an encoded file's text, from a place it can restart. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileEncoding.h"

namespace brontel::platform {

class ReadOnlyFile;

// A place in an encoded file where decoding can start again without what came before.
struct DecodePoint {
  std::uint64_t text = 0;             // the text's offset there
  std::uint64_t file = 0;             // the first encoded byte not yet taken
  int bits = 0;                       // compressed: bits of the byte before `file` not yet taken
  bool memberStart = false;           // compressed: a member's header begins at `file`
  std::vector<unsigned char> window;  // compressed: the text before, up to 32 KiB
};

// How a piece of decoding ended.
enum class DecodeStep {
  kMore,   // a piece was decoded (possibly empty): ask again
  kEnd,    // the encoded bytes are all taken, the text sound to its end
  kFault,  // corrupt: no more text can come
  kShort,  // the file ends inside a compressed member: more may come once it grew
};

// Decodes a file's text a piece at a time from a DecodePoint. Not thread-safe.
class TextDecoder {
 public:
  virtual ~TextDecoder() = default;
  // Appends the next piece of text (at most about 64 KiB) to `out`.
  virtual DecodeStep Next(std::string& out) = 0;
  // Fills in where the next piece starts (not `text`), if decoding can restart there.
  virtual bool TakePoint(DecodePoint& point) const = 0;
  // How far into the encoded file the decoder has taken its bytes.
  virtual std::uint64_t FileOffset() const = 0;
};

// A decoder of `file` (which must outlive it) in `encoding` (UTF-16 or gzip), from `from`; the
// first point of a file is {text 0, file just past its byte-order mark}.
std::unique_ptr<TextDecoder> MakeTextDecoder(ReadOnlyFile& file, FileEncoding encoding,
                                             const DecodePoint& from);
// The first point of a file in `encoding`.
DecodePoint FirstDecodePoint(FileEncoding encoding);

}  // namespace brontel::platform
