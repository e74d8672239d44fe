/** @file TailText.h: the status text, marker lines and line pieces of a tail load. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "viewer/FileInfo.h"

namespace brontel {

// Lines the viewer adds itself start with this, so the summary type colours them and the
// marker search finds them.
inline constexpr std::string_view kMarkerPrefix = "|\t";

// The one line a tail view shows in place of the tail when nothing could be read.
inline constexpr std::string_view kNotFoundLine = "|\tFILE IS EMPTY OR FILE NOT FOUND!";

// The line after the text of a compressed file whose stream is corrupt or truncated.
inline constexpr std::string_view kUnreadableRestLine =
    "|\tTHE REST OF THE FILE COULD NOT BE DECOMPRESSED!";

// The line after the text of a compressed file whose text is longer than a load decompresses:
// what is shown is sound, but it is not the file's end.
inline constexpr std::string_view kTextLimitLine =
    "|\tTHE DECOMPRESSED TEXT GOES ON: ONLY ITS FIRST 1 GB IS SHOWN, NOT THE FILE'S END";
// The line a tail view shows while a compressed log is decompressed in the background.
std::string DecompressingLine(int perMille);
// The same line for a text cut at `limit` bytes (kTextLimitLine for 1 GiB).
std::string TextLimitLine(std::uint64_t limit);

// The file-name part of `path`: what follows its last directory separator.
std::string DisplayNameOf(const std::string& path);

// The status text of a tail load:
//   displayName + "  [" + size text + "] [" + date-time text + "] [Buffer:" +
//   bufferSize / 1024 + " KB]"
// with the file's whole 64-bit size and its time in the user's short date and long time
// formats: info.age, or the last-write time when the age has no DOS form (before 1980, after
// 2107). nullopt before any snapshot (an empty info.path) or when neither time converts: the
// status text then stays as it was.
std::optional<std::string> TailStatusText(const std::string& displayName, const fileInfo& info,
                                          std::int32_t bufferSize);

// "|\t" + counts + ", History:" + historyLines: the line between history block and tail lines.
std::string HistorySeparatorLine(const std::string& counts, std::size_t historyLines);

// "|\t" + counts + ", Lines:" + tailLines: the last line of a tail view.
std::string TailFooterLine(const std::string& counts, std::size_t tailLines);

// Where the last `bufferSize` bytes of a file of `size` bytes begin: size - bufferSize, or 0 for
// a smaller file. Exact for files of any size (2 GiB and more included).
std::uint64_t TailStartOffset(std::uint64_t size, std::int32_t bufferSize);

// The longest piece a tail load reads as one line: bufferSize - 1 bytes (at least 1).
std::size_t TailPieceLimit(std::int32_t bufferSize);

// The line a read piece stands for: without its trailing line feed, each NUL byte shown as
// ui::ShowNulBytes does (then in a copy held by `shown`). A view into `piece` or `shown`.
std::string_view TailLineFromPiece(std::string_view piece, std::string& shown);

// The top row that keeps the end of a view of `rowCount` rows in sight when `visibleRows` rows
// fit on screen: rowCount - visibleRows, or 0 when everything fits.
std::size_t FollowTopRow(std::size_t rowCount, std::size_t visibleRows);

}  // namespace brontel
