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
    case platform::FileEncoding::kGzip: {
      const platform::GunzipOutcome outcome = reader_.ReadGzipTail(*file, pieceLimit_ + 1);
      incomplete_ = outcome.incomplete;
      limited_ = outcome.limited;
    } break;
  }
  const std::string_view text = reader_.Text();
  holdsNul_ = !text.empty() && std::memchr(text.data(), '\0', text.size()) != nullptr;
  return true;
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
