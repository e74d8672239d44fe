/** @file TextFileReader.h: text-mode reading of a file's end, split into size-limited lines. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/GzipText.h"
#include "platform/ReadOnlyFile.h"

namespace brontel::platform {

// Converts bytes to text-mode text in place: every carriage return is dropped, and a Ctrl-Z
// (0x1A) ends the text as the end of the file would. Returns the text's new length.
std::size_t ConvertToTextMode(char* data, std::size_t size);

// One piece of text as a line read with a byte limit returns it.
struct TextPiece {
  std::string_view text;      // the piece, its line feed (if it has one) included
  std::uint64_t fileEnd = 0;  // file offset just past the piece's last byte in the file
};

// Reads a file from a position to its end in text mode with one large read, then hands out the
// text as pieces the way a line read with a byte limit returns them: a piece ends after a line
// feed (which it keeps) or after `maxPieceBytes` bytes, whichever comes first, so a longer line
// arrives as several pieces. Sizes count the text after the carriage returns are dropped.
//
// Typical use, the last B bytes as pieces of at most B-1 bytes:
//   TextFileReader reader;
//   reader.ReadFrom(file, size > B ? size - B : 0);
//   for (TextPiece piece; reader.NextPiece(B - 1, piece);) ...
//
// The reader keeps its buffer between reads (of the same or other files), so one reader reused
// for every reload allocates only when the amount read grows. Pieces stay valid until the next
// ReadFrom. Not thread-safe.
// How far one read follows a file beyond the size it had when the read began. A writer faster
// than the reader (or one that extends its file by millions of bytes at once) would otherwise
// keep a read going, and its buffer growing, without end; the next read goes on from there.
inline constexpr std::uint64_t kTextFileGrowthLimit = 16 * 1024 * 1024;

class TextFileReader {
 public:
  // Reads everything from `offset` to the end of `file` as it is now (also beyond the size
  // the caller saw before, when the file has grown since, by up to kTextFileGrowthLimit bytes
  // past the size at the start of the read) and starts the pieces at its beginning. An offset at or
  // beyond the end reads nothing. Throws PlatformError on a failed read; the text read so far is
  // then dropped.
  void ReadFrom(ReadOnlyFile& file, std::uint64_t offset);
  // No text: the pieces end at once (a reader that has nothing to show for now).
  void Clear() { Restart(0); }

  // As ReadFrom, for a file of UTF-16 code units (after a two-byte mark) that becomes the
  // platform's 8-bit text (see Utf16ToText). The read starts at the first whole character
  // at or after `offset` (an even offset past the mark, not the second half of a surrogate
  // pair) and ends before a last character the writer has not finished. U+000D is dropped and
  // U+001A ends the text, as in text mode. A piece that ends inside a line ends on a whole
  // character; pieces' file offsets are those of the UTF-16 units.
  void ReadUtf16From(ReadOnlyFile& file, std::uint64_t offset, bool bigEndian);

  // As ReadFrom, for the last `keepBytes` bytes of the decompressed text of a gzip file (see
  // GunzipTail); offsets count decompressed bytes.
  GunzipOutcome ReadGzipTail(ReadOnlyFile& file, std::size_t keepBytes);

  // The next piece of at most `maxPieceBytes` (at least 1) bytes; false when the text is used up.
  bool NextPiece(std::size_t maxPieceBytes, TextPiece& piece);

  // The whole text of the last ReadFrom, after the text-mode conversion.
  std::string_view Text() const { return std::string_view(buffer_.data(), textSize_); }

  // File offset just past the last byte the last ReadFrom took as text (a Ctrl-Z and what
  // follows it are not taken).
  std::uint64_t EndOffset() const { return endOffset_; }
  // File offset of the first byte the last read took as text.
  std::uint64_t StartOffset() const { return startOffset_; }

 private:
  void Restart(std::uint64_t offset);
  // Reads from `offset` to the end (bounded as ReadFrom says) into `into`; returns the bytes.
  static std::size_t ReadRaw(ReadOnlyFile& file, std::uint64_t offset, std::string& into);
  void ConvertKeepingPositions(std::size_t filled);
  void DecodeUtf16(std::size_t first, std::size_t units, bool bigEndian);
  // How many file bytes a stretch of the text stands for (two a unit for decoded UTF-16).
  std::uint64_t FileBytesOf(std::string_view text) const;
  // The file bytes that the text before `textPosition` stands for (positions ascending).
  std::uint64_t FileBytesBefore(std::size_t textPosition);

  std::string raw_;               // UTF-16 bytes before decoding
  bool decoded_ = false;          // the text was decoded from UTF-16
  std::size_t unitsCounted_ = 0;  // UTF-16 units that the text before countedTo_ stands for
  std::size_t countedTo_ = 0;

  std::string buffer_;
  // Text positions of the dropped carriage returns, ascending: they map text back to the file.
  std::vector<std::size_t> droppedReturns_;
  std::uint64_t startOffset_ = 0;
  std::uint64_t endOffset_ = 0;
  std::size_t textSize_ = 0;
  std::size_t next_ = 0;
  std::size_t nextReturn_ = 0;
};

}  // namespace brontel::platform
