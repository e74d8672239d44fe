#include "tests/reliability/support/ViewCheck.h"

#include <algorithm>
#include <fstream>

#include "tests/support/LiteralTail.h"
#include "ui/LineStore.h"
#include "viewer/TForm1.h"
#include "viewer/TailText.h"

namespace brontel::reliability {

using testing::LiteralLines;
using testing::LiteralTailLines;

namespace {

std::size_t HistoryCount(TForm1& form) {
  return form.viewerState().history.Count();
}

// A line as the view keeps it (tabs widened).
std::string Shown(std::string_view line) {
  return ui::LineStore::ExpandTabs(line);
}

}  // namespace

Lines ShownTailLines(TForm1& form) {
  return testing::ShownTailLines(form.editor(), HistoryCount(form));
}

::testing::AssertionResult ViewIsWellFormed(TForm1& form) {
  const ui::TRAHLEditor& view = form.editor();
  const LineHistory& history = form.viewerState().history;
  const std::size_t h = history.Count();
  if (view.LineCount() < h + 3)
    return ::testing::AssertionFailure()
           << "view of " << view.LineCount() << " lines for a history of " << h;
  for (std::size_t i = 0; i < h; ++i) {
    if (view.Line(i) != Shown(history.Line(i)))
      return ::testing::AssertionFailure() << "history line " << i << " shows \"" << view.Line(i)
                                           << "\" instead of \"" << history.Line(i) << "\"";
  }
  const std::string counts = form.messageTypes().MsgTypeCountsText();
  if (view.Line(h) != Shown(HistorySeparatorLine(counts, h)))
    return ::testing::AssertionFailure() << "separator \"" << view.Line(h) << "\"";
  const std::size_t tail = view.LineCount() - h - 2;
  const std::string_view footer = view.Line(view.LineCount() - 1);
  if (footer != Shown(TailFooterLine(counts, tail)))
    return ::testing::AssertionFailure()
           << "footer \"" << footer << "\" for " << tail << " tail lines";
  return ::testing::AssertionSuccess();
}

namespace {

::testing::AssertionResult ShowsTailLines(TForm1& form, Lines expected, std::size_t bytes) {
  ::testing::AssertionResult formed = ViewIsWellFormed(form);
  if (!formed)
    return formed;
  for (std::string& line : expected)
    line = Shown(line);
  const Lines shown = ShownTailLines(form);
  if (shown == expected)
    return ::testing::AssertionSuccess();
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << shown.size() << " tail lines shown, " << expected.size() << " expected for " << bytes
          << " bytes";
  const auto differ = std::mismatch(shown.begin(), shown.end(), expected.begin(), expected.end());
  if (differ.first != shown.end() && differ.second != expected.end()) {
    failure << "; line " << (differ.first - shown.begin()) << " shows \""
            << differ.first->substr(0, 120) << "\" instead of \"" << differ.second->substr(0, 120)
            << "\"";
  }
  return failure;
}

}  // namespace

::testing::AssertionResult ViewMatchesFile(TForm1& form, std::string_view bytes) {
  return ShowsTailLines(form, LiteralTailLines(bytes, form.viewerState().bufferSize), bytes.size());
}

::testing::AssertionResult ViewMatchesWhatTheLoadRead(TForm1& form, const std::string& path,
                                                      std::uint64_t& readEnd) {
  const TailViewerState& state = form.viewerState();
  const std::uint64_t start = TailStartOffset(state.currentInfo.Size(), state.bufferSize);
  readEnd = state.counted.To();
  if (readEnd < start)
    return ::testing::AssertionFailure() << "read ended at " << readEnd << " before " << start;
  std::ifstream file(path, std::ios::binary);
  file.seekg(static_cast<std::streamoff>(start));
  std::string read(readEnd - start, '\0');
  file.read(read.data(), static_cast<std::streamsize>(read.size()));
  if (static_cast<std::uint64_t>(file.gcount()) != read.size())
    return ::testing::AssertionFailure() << "the file is shorter than what was read";
  return ShowsTailLines(form, LiteralLines(read, state.bufferSize), read.size());
}

void HistoryWitness::Saw(TForm1& form) {
  for (const std::string& line : ShownTailLines(form)) {
    const int type = form.messageTypes().FindMsgType(line);
    if (type >= 0 && type < kCountedMsgTypes)
      seen_.insert(line);
  }
}

::testing::AssertionResult HistoryWitness::NothingLost(TForm1& form) const {
  const LineHistory& history = form.viewerState().history;
  for (const std::string& line : seen_) {
    if (!history.Contains(line))
      return ::testing::AssertionFailure() << "history lost \"" << line << "\"";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace brontel::reliability
