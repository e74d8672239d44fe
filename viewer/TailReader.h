/** @file TailReader.h: reading the last bytes of a log file as the lines of a tail view. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/DecodedFile.h"
#include "platform/FileEncoding.h"
#include "platform/TextFileReader.h"
#include "viewer/WorkerThread.h"

namespace brontel {

// Reads "the last B bytes of a file as lines of at most B-1 bytes": one read-only, shared,
// non-blocking open, one read from max(0, size - B) to the end of the file as it is then (also
// past `size` when the file has grown since the snapshot), in text mode (CR dropped, Ctrl-Z
// ends), split into lines. A file whose first bytes are a byte-order mark is decoded: a UTF-8
// mark is skipped, UTF-16 becomes the platform's 8-bit text; a gzip file gives the last B bytes
// of its decompressed text (offsets then count decompressed bytes; what was decompressed is kept
// from one load to the next, so a compressed log that is unchanged, or only grew, is not
// decompressed again from its start; a text too long to decompress at once is decompressed on a
// worker thread meanwhile, see Decompressing). Each line comes without its
// line feed, each NUL byte shown as ui::ShowNulBytes does. The file is closed before Read returns.
// Keep one TailReader per viewer: its buffer is reused by every load. Not thread-safe.
class TailReader {
 public:
  struct Line {
    std::string_view text;      // valid during the callback only
    std::uint64_t fileEnd = 0;  // file offset just past the line (tells old lines from new)
  };

  // Reads the tail of `path`, whose size the caller's snapshot gave as `size`, with a buffer of
  // `bufferSize` bytes, and calls onLine(const Line&) for every line in file order. False when
  // the file cannot be opened (missing, not a regular file, no permission): nothing is read.
  // A failed read throws platform::PlatformError before any line is handed over.
  template <typename OnLine>
  bool Read(const std::string& path, std::uint64_t size, std::int32_t bufferSize, OnLine&& onLine);

  // File offset just past the text the last successful Read took.
  std::uint64_t EndOffset() const { return reader_.EndOffset(); }
  // File offset of the first byte of the text the last successful Read took.
  std::uint64_t StartOffset() const { return reader_.StartOffset(); }
  // How the file of the last successful Read was encoded.
  platform::FileEncoding Encoding() const { return encoding_; }
  // Whether the text of the last successful Read ends before the file does (a corrupt or
  // truncated compressed stream).
  bool Incomplete() const { return incomplete_; }
  // The compressed text was longer than the limit: what was read is its start, not its end.
  bool Limited() const { return limited_; }
  // A compressed text too long to decompress at once is being decompressed in the background:
  // the last Read gave no lines, a later one gives the tail. How far it got, per mille.
  bool Decompressing() const { return decompressing_ != nullptr; }
  int DecompressedPerMille() const { return decompressing_ ? decompressing_->Progress() : 0; }

 private:
  // Opens the file and reads its tail into the buffer; false when it cannot be opened.
  bool Load(const std::string& path, std::uint64_t size, std::int32_t bufferSize);
  bool NextLine(Line& line);
  void ReadCompressedTail(std::unique_ptr<platform::ReadOnlyFile> file);
  // The text of the compressed file last read, kept for the next load of the same file.
  std::unique_ptr<platform::DecodedFile>& KeptTextOf(std::unique_ptr<platform::ReadOnlyFile> file);

  platform::TextFileReader reader_;
  std::size_t pieceLimit_ = 1;
  platform::FileEncoding encoding_ = platform::FileEncoding::kBytes;
  bool incomplete_ = false;
  bool limited_ = false;
  bool holdsNul_ = false;  // whether the text read holds a NUL byte
  std::string shownLine_;  // the line last handed over, when it held NUL bytes
  std::unique_ptr<platform::DecodedFile> compressed_;
  std::string compressedStart_;  // the compressed file's first bytes when it was last read
  std::uint64_t compressedSize_ = 0;
  std::unique_ptr<WorkerThread> decompressing_;  // declared last: stops first
};

template <typename OnLine>
bool TailReader::Read(const std::string& path, std::uint64_t size, std::int32_t bufferSize,
                      OnLine&& onLine) {
  if (!Load(path, size, bufferSize))
    return false;
  for (Line line; NextLine(line);)
    onLine(static_cast<const Line&>(line));
  return true;
}

}  // namespace brontel
