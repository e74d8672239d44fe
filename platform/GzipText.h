/** @file GzipText.h: the text of a gzip-compressed file, streamed with bounded memory. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace brontel::platform {

class ReadOnlyFile;

// How much text one read decompresses at most. A small file can stand for an enormous text (a
// "gzip bomb"); beyond this much the rest is treated as unreadable, so a read always ends soon.
inline constexpr std::uint64_t kGunzipTextLimit = std::uint64_t{1} << 30;

// What a decompressing read found.
struct GunzipOutcome {
  std::uint64_t textSize = 0;  // bytes of text decompressed, also those not kept
  // The text ends before the file's end: the stream is corrupt or truncated, or the text passed
  // the limit. What came before is the text as it was compressed.
  bool incomplete = false;
  // The text went on past the limit (the stream itself was sound as far as it was read).
  bool limited = false;
};

// Decompresses every gzip member of `file` and keeps the last `keepBytes` bytes of the text in
// `tail` (its storage reused; at most twice `keepBytes`, or 64 KiB, held while streaming).
GunzipOutcome GunzipTail(ReadOnlyFile& file, std::size_t keepBytes, std::string& tail,
                         std::uint64_t textLimit = kGunzipTextLimit);

// Decompresses every gzip member of `file` and appends the text to `text`.
GunzipOutcome GunzipAll(ReadOnlyFile& file, std::string& text,
                        std::uint64_t textLimit = kGunzipTextLimit);

}  // namespace brontel::platform
