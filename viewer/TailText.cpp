#include "viewer/TailText.h"

#include <cstring>

#include "platform/DateTime.h"
#include "platform/FileFacts.h"
#include "platform/LocaleTexts.h"
#include "platform/ProgramDirectory.h"
#include "ui/NulBytes.h"
#include "viewer/FileSizeText.h"

namespace brontel {

std::string DecompressingLine(int perMille) {
  return "|\tDECOMPRESSING THE FILE: " + std::to_string(perMille / 10) + " %";
}

std::string TextLimitLine(std::uint64_t limit) {
  constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
  const bool inGb = limit >= kMiB << 10;
  const std::string size =
      inGb ? std::to_string(limit >> 30) + " GB" : std::to_string(limit / kMiB) + " MB";
  return "|\tTHE DECOMPRESSED TEXT GOES ON: ONLY ITS FIRST " + size +
         " IS SHOWN, NOT THE FILE'S END";
}

std::string DisplayNameOf(const std::string& path) {
  const std::size_t separator = path.find_last_of(std::string{platform::PathSeparator(), '/'});
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::optional<std::string> TailStatusText(const std::string& displayName, const fileInfo& info,
                                          std::int32_t bufferSize) {
  if (info.path.empty())
    return std::nullopt;
  // A time outside the DOS range (a device clock at 1970) has no packed age: its last write
  // tells the time instead.
  std::optional<platform::DateTime> age = platform::LocalFromDosDateTime(info.age);
  if (!age)
    age = platform::LocalFromFileTime(info.LastWrite());
  if (!age)
    return std::nullopt;
  return displayName + "  [" + FormatFileSize(static_cast<double>(info.Size())) + "] [" +
         platform::DateTimeText(*age) + "] [Buffer:" + std::to_string(bufferSize / 1024) + " KB]";
}

std::string HistorySeparatorLine(const std::string& counts, std::size_t historyLines) {
  return std::string(kMarkerPrefix) + counts + ", History:" + std::to_string(historyLines);
}

std::string TailFooterLine(const std::string& counts, std::size_t tailLines) {
  return std::string(kMarkerPrefix) + counts + ", Lines:" + std::to_string(tailLines);
}

std::uint64_t TailStartOffset(std::uint64_t size, std::int32_t bufferSize) {
  const std::uint64_t bytes = bufferSize > 0 ? static_cast<std::uint64_t>(bufferSize) : 0;
  return size > bytes ? size - bytes : 0;
}

std::size_t TailPieceLimit(std::int32_t bufferSize) {
  return bufferSize > 1 ? static_cast<std::size_t>(bufferSize) - 1 : 1;
}

std::string_view TailLineFromPiece(std::string_view piece, std::string& shown) {
  if (!piece.empty() && piece.back() == '\n')
    piece.remove_suffix(1);
  return ui::ShownText(piece, shown);
}

std::size_t FollowTopRow(std::size_t rowCount, std::size_t visibleRows) {
  return rowCount > visibleRows ? rowCount - visibleRows : 0;
}

}  // namespace brontel
