/** @file DecodedFile.h: the text of a UTF-16 or compressed file, read by position. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileEncoding.h"
#include "platform/ReadOnlyFile.h"
#include "platform/TextDecoder.h"

namespace brontel::platform {

// A UTF-16 or gzip file seen as the plain file of its text: positioned reads of the text, as
// of any ReadOnlyFile, with only a little of it held. The text is decoded front to back as it is
// first read; on the way, places to restart are kept every so often (for gzip with the 32 KiB
// of text before each, at most kMaxPoints of them: the spacing doubles when they would be more),
// so a later read decodes from the nearest place before it. Reading on from where the last
// read ended costs no more than decoding that much.
//
// A text that cannot be decoded to the file's end (a corrupt or cut-short compressed stream) or
// that passes `textLimit` ends there, followed by a line of its own (`cutShortLine` or
// `limitLine`), as if the file held it.
//
// Size() is the text found so far: it grows while the first reader goes on, and is final once
// Ended(). Readers made by Reader() share what the first found and never decode past it.
// Threads: the first reader and those it made share their places: one thread at a time.
class DecodedFile : public ReadOnlyFile {
 public:
  static constexpr std::size_t kMaxPoints = 512;

  struct EndLines {
    std::string cutShort;
    std::string limit;
  };

  DecodedFile(std::unique_ptr<ReadOnlyFile> file, FileEncoding encoding, std::uint64_t textLimit,
              EndLines endLines);
  ~DecodedFile() override;

  // Another reader of the same text, reading through `file` (the same file opened again).
  std::unique_ptr<DecodedFile> Reader(std::unique_ptr<ReadOnlyFile> file) const;

  const std::string& Path() const override;
  std::uint64_t Size() const override;
  std::size_t ReadAt(std::uint64_t offset, char* buffer, std::size_t count) override;

  // The whole text is known: Size() is final.
  bool Ended() const;
  bool CutShort() const;
  bool Limited() const;
  // How far into the encoded file decoding got.
  std::uint64_t FileOffset() const;
  // Decodes the rest of the text (the first reader): Size() is then final, unless the file
  // changed under it.
  void DecodeAll() { DecodeSome(~std::uint64_t{0}); }
  // Decodes about `textBytes` more of the text (the first reader); false once there is no more
  // to decode. Throws PlatformError when a read fails.
  bool DecodeSome(std::uint64_t textBytes);
  // The encoded file is let go (closed, say, between the loads of a view that keeps what it
  // decoded), and reads find nothing until a file is attached again: the same one, opened
  // again.
  std::unique_ptr<ReadOnlyFile> Detach();
  void Attach(std::unique_ptr<ReadOnlyFile> file);
  // The file grew after a sound end, or after a compressed member cut short by the file's end:
  // decoding goes on from there with the next read (the line saying the text ended short is
  // gone again). False when it cannot (corrupt, at the limit, or the file did not grow).
  bool Resume();

  std::size_t PointsHeld() const;

 private:
  struct Shared;
  class Attached;

  DecodedFile(std::unique_ptr<ReadOnlyFile> file, std::shared_ptr<Shared> shared, bool first);
  // The last place kept at or before `offset`.
  const DecodePoint& PointBefore(std::uint64_t offset) const;
  // Starts decoding there.
  void StartBefore(std::uint64_t offset);
  // Decodes the next piece into piece_; false when no more text comes from the decoder.
  bool NextPiece();
  void KeepPoint();
  void EndText(DecodeStep how);
  std::size_t CopyEndLine(std::uint64_t offset, char* buffer, std::size_t count) const;

  std::unique_ptr<Attached> file_;  // where the decoders read: stays while files come and go
  std::shared_ptr<Shared> shared_;
  bool first_;  // the reader that finds the text
  std::unique_ptr<TextDecoder> decoder_;
  std::unique_ptr<TextDecoder> waiting_;  // stopped at the file's end inside a member
  std::uint64_t decoderText_ = 0;         // the text offset where the decoder's next piece starts
  std::string piece_;
  std::uint64_t pieceStart_ = 0;
};

}  // namespace brontel::platform
