/** @file Utf16Decoder.h: a UTF-16 file's text, decoded a piece at a time. */
#pragma once

#include <cstdint>
#include <vector>

#include "platform/TextDecoder.h"

namespace brontel::platform {

// Decodes UTF-16 into the platform's 8-bit text (Utf16ToText), a piece of whole characters at a
// time: a surrogate pair is never split between pieces, and an odd last byte or a high
// surrogate at the end of the file waits for what follows (it is not taken, so decoding can go
// on there once the file grew). Any unit boundary is a place to restart.
class Utf16Decoder : public TextDecoder {
 public:
  Utf16Decoder(ReadOnlyFile& file, bool bigEndian, std::uint64_t from);

  DecodeStep Next(std::string& out) override;
  bool TakePoint(DecodePoint& point) const override;
  std::uint64_t FileOffset() const override { return offset_; }

 private:
  ReadOnlyFile& file_;
  bool bigEndian_;
  std::uint64_t offset_;
  std::vector<char> raw_;
};

}  // namespace brontel::platform
