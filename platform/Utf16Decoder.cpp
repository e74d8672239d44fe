#include "platform/Utf16Decoder.h"

#include "platform/ReadOnlyFile.h"
#include "platform/Utf16Text.h"

namespace brontel::platform {

namespace {

constexpr std::size_t kPieceBytes = 64 * 1024;

}  // namespace

Utf16Decoder::Utf16Decoder(ReadOnlyFile& file, bool bigEndian, std::uint64_t from)
    : file_(file), bigEndian_(bigEndian), offset_(from), raw_(kPieceBytes) {}

DecodeStep Utf16Decoder::Next(std::string& out) {
  const std::size_t got = ReadFullyAt(file_, offset_, raw_.data(), raw_.size());
  std::size_t units = got / 2;
  // A high surrogate's partner is in the next piece, or not written yet.
  if (units > 0 && IsHighSurrogate(Utf16UnitAt(raw_.data(), units - 1, bigEndian_)))
    --units;
  if (units == 0)
    return DecodeStep::kEnd;
  const std::size_t filled = out.size();
  out.resize(filled + units * kTextBytesPerUtf16Unit);
  out.resize(filled + Utf16ToText(raw_.data(), units, bigEndian_, out.data() + filled));
  offset_ += 2 * units;
  return DecodeStep::kMore;
}

bool Utf16Decoder::TakePoint(DecodePoint& point) const {
  point.file = offset_;
  return true;
}

}  // namespace brontel::platform
