#include "viewer/TailReader.h"

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
  reader_.ReadFrom(*file, TailStartOffset(size, bufferSize));
  return true;
}

bool TailReader::NextLine(Line& line) {
  platform::TextPiece piece;
  if (!reader_.NextPiece(pieceLimit_, piece))
    return false;
  line.text = TailLineFromPiece(piece.text);
  line.fileEnd = piece.fileEnd;
  return true;
}

}  // namespace brontel
