#include "viewer/TailReader.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/PlatformError.h"
#include "platform/ReadOnlyFile.h"
#include "viewer/TailText.h"

namespace brontel {

bool TailReader::Load(const std::string& path, std::uint64_t size, std::int32_t bufferSize) {
  std::unique_ptr<platform::ReadOnlyFile> file;
  try {
    file = platform::OpenReadOnlyFile(path);
  } catch (const platform::PlatformError&) {
    return false;
  }
  pieceLimit_ = TailPieceLimit(bufferSize);
  encoding_ = platform::DetectFileEncoding(*file);
  incomplete_ = false;
  limited_ = false;
  const std::uint64_t start = TailStartOffset(size, bufferSize);
  switch (encoding_) {
    case platform::FileEncoding::kBytes:
    case platform::FileEncoding::kUtf8Mark:
      reader_.ReadFrom(*file, std::max<std::uint64_t>(start, EncodingMarkSize(encoding_)));
      break;
    case platform::FileEncoding::kUtf16Le:
    case platform::FileEncoding::kUtf16Be:
      reader_.ReadUtf16From(*file, start, encoding_ == platform::FileEncoding::kUtf16Be);
      break;
    case platform::FileEncoding::kGzip:
      ReadCompressedTail(std::move(file));
      break;
  }
  const std::string_view text = reader_.Text();
  holdsNul_ = !text.empty() && std::memchr(text.data(), '\0', text.size()) != nullptr;
  return true;
}

namespace {

constexpr std::size_t kStartBytes = 4096;
// Text decompressed on the UI thread in one load: a few frames' time at most.
constexpr std::uint64_t kTextAtOnce = std::uint64_t{16} << 20;
// Text decompressed in the background between two looks at whether to stop.
constexpr std::uint64_t kTextPerStep = std::uint64_t{4} << 20;

}  // namespace

std::unique_ptr<platform::DecodedFile>& TailReader::KeptTextOf(
    std::unique_ptr<platform::ReadOnlyFile> file) {
  const std::uint64_t size = file->Size();
  const std::uint64_t sizeBefore = compressedSize_;
  std::string start = platform::ReadBytesAt(*file, 0, kStartBytes);
  const bool sameFile = compressed_ && compressed_->Path() == file->Path() && size >= sizeBefore &&
                        start.starts_with(compressedStart_);
  compressedStart_ = std::move(start);
  compressedSize_ = size;
  if (sameFile) {
    compressed_->Attach(std::move(file));
    // The text up to the limit does not change when the file grows.
    if (size == sizeBefore || compressed_->Limited() || compressed_->Resume())
      return compressed_;
    file = compressed_->Detach();
  }
  compressed_ = std::make_unique<platform::DecodedFile>(
      std::move(file), platform::FileEncoding::kGzip, platform::kGunzipTextLimit,
      platform::DecodedFile::EndLines{});
  return compressed_;
}

void TailReader::ReadCompressedTail(std::unique_ptr<platform::ReadOnlyFile> file) {
  if (decompressing_) {
    if (!decompressing_->Finished()) {
      reader_.Clear();  // the text is the worker's until it is done
      return;
    }
    decompressing_.reset();
  }
  const std::uint64_t encodedSize = file->Size();
  platform::DecodedFile& text = *KeptTextOf(std::move(file));
  if (text.DecodeSome(kTextAtOnce)) {
    // A small file may stand for a text of a gigabyte, which the host's UI thread must not
    // wait for.
    decompressing_ = std::make_unique<WorkerThread>(
        "decompressing", [&text] { return text.DecodeSome(kTextPerStep); },
        [&text, encodedSize = std::max<std::uint64_t>(encodedSize, 1)] {
          return static_cast<int>(std::min(text.FileOffset(), encodedSize) * 1000 / encodedSize);
        });
    reader_.Clear();
    return;
  }
  // Closed until the next load, however this one ends.
  struct Closing {
    platform::DecodedFile& text;
    ~Closing() { text.Detach(); }
  } closing{text};
  const std::uint64_t size = text.Size();
  const std::uint64_t keep = pieceLimit_ + 1;
  reader_.ReadFrom(text, size > keep ? size - keep : 0);
  incomplete_ = text.CutShort() || text.Limited();
  limited_ = text.Limited();
}

bool TailReader::NextLine(Line& line) {
  platform::TextPiece piece;
  if (!reader_.NextPiece(pieceLimit_, piece))
    return false;
  // One search of the whole text spares most loads a search for a NUL byte in every line.
  line.text = piece.text;
  if (holdsNul_)
    line.text = TailLineFromPiece(piece.text, shownLine_);
  else if (line.text.ends_with('\n'))
    line.text.remove_suffix(1);
  line.fileEnd = piece.fileEnd;
  return true;
}

}  // namespace brontel
