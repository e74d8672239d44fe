// Reads random files as compressed and as UTF-16 logs and checks the readers against each
// other: the tail kept while streaming is the end of the whole decompressed text, both agree on
// its size and on whether the stream is damaged, and the tail's pieces are that text in text
// mode; a UTF-16 tail read from the start is the whole decoded text in text mode, with file
// offsets that only grow and stay inside the file.
//
// Input: a byte choosing the tail size, then the file's content.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/FileEncoding.h"
#include "platform/GzipText.h"
#include "platform/MemoryFile.h"
#include "platform/TextFileReader.h"
#include "platform/WholeFile.h"

namespace {

using namespace brontel::platform;

constexpr std::uint64_t kTextLimit = 1 << 20;

void Require(bool condition) {
  if (!condition)
    std::abort();
}

std::string TextMode(std::string text) {
  text.resize(ConvertToTextMode(text.data(), text.size()));
  return text;
}

std::string JoinedPieces(TextFileReader& reader, std::size_t limit, std::uint64_t fileSize,
                         bool offsetsInFile) {
  std::string joined;
  std::uint64_t lastEnd = reader.StartOffset();
  for (TextPiece piece; reader.NextPiece(limit, piece);) {
    Require(!piece.text.empty());
    Require(piece.fileEnd > lastEnd);
    Require(!offsetsInFile || piece.fileEnd <= fileSize);
    lastEnd = piece.fileEnd;
    joined += piece.text;
  }
  Require(lastEnd <= reader.EndOffset());
  return joined;
}

void CheckGzip(const std::string& content, std::size_t keep) {
  MemoryFile file(content);
  std::string all;
  const GunzipOutcome whole = GunzipAll(file, all, kTextLimit);
  std::string tail;
  const GunzipOutcome streamed = GunzipTail(file, keep, tail, kTextLimit);
  Require(whole.textSize == all.size() && streamed.textSize == whole.textSize);
  Require(whole.incomplete == streamed.incomplete);
  Require(tail == all.substr(all.size() - std::min(keep, all.size())));
  Require(tail.capacity() <= std::max<std::size_t>(4 * keep, 256 * 1024));

  if (whole.textSize >= kTextLimit)
    return;  // the reader's own limit is far larger
  TextFileReader reader;
  reader.ReadGzipTail(file, keep);
  Require(JoinedPieces(reader, keep + 1, whole.textSize, true) == TextMode(tail));
}

void CheckUtf16(std::string content, std::size_t limit) {
  content.insert(0, "\xFF\xFE");
  if (EncodingOfStart(content) != FileEncoding::kUtf16Le)
    return;  // FF FE 00 00 is a UTF-32 mark, which is read as bytes
  MemoryFile file(content);
  TextFileReader reader;
  reader.ReadUtf16From(file, 0, false);
  const std::string pieces = JoinedPieces(reader, limit, content.size(), true);
  Require(pieces == TextMode(ReadWholeText(file).text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1)
    return 0;
  const std::size_t choice = data[0];
  const std::string content(reinterpret_cast<const char*>(data) + 1, size - 1);
  CheckGzip(content, choice * 37);
  CheckUtf16(content, choice % 16 + 1);
  return 0;
}
