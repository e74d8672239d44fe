// Loads the tail of a file with random content three times (the first part of the content, all
// of it after the rest was appended, then the file truncated) with a random buffer size, and
// checks every view against the one built the literal way from the file's bytes: history block,
// separator, the last B bytes read in text mode as pieces of at most B-1 bytes, footer. Every
// shown line of a counted type must be in the history while the history is below its limit.
//
// Input: buffer choice, split point, truncation point, then the content (plain bytes: a log
// that starts with a byte-order mark or the gzip magic is left to the decoding target).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "classify/LineClassifier.h"
#include "platform/FileEncoding.h"
#include "tests/support/LiteralTail.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "ui/LineStore.h"
#include "ui/TRAHLEditor.h"
#include "viewer/OptionTables.h"
#include "viewer/TailLoader.h"
#include "viewer/TailText.h"

namespace {

using Lines = std::vector<std::string>;

// The fuzzed log and the timing log, removed when the process ends.
const brontel::testing::ScratchFolder& Scratch() {
  static const brontel::testing::ScratchFolder folder;
  return folder;
}

void Check(bool promise) {
  if (!promise)
    std::abort();
}

// A line as the view keeps it (tabs widened).
std::string Shown(std::string_view line) {
  return brontel::ui::LineStore::ExpandTabs(line);
}

void CheckView(const brontel::TailViewerState& state, brontel::LineClassifier& types,
               const brontel::ui::TRAHLEditor& view, const Lines& tail) {
  const std::size_t h = state.history.Count();
  const std::string counts = types.MsgTypeCountsText();
  Check(view.LineCount() == h + 2 + tail.size());
  for (std::size_t i = 0; i < h; ++i)
    Check(view.Line(i) == Shown(state.history.Line(i)));
  Check(view.Line(h) == Shown(brontel::HistorySeparatorLine(counts, h)));
  for (std::size_t i = 0; i < tail.size(); ++i)
    Check(view.Line(h + 1 + i) == Shown(tail[i]));
  Check(view.Line(h + 1 + tail.size()) == Shown(brontel::TailFooterLine(counts, tail.size())));
  const bool belowLimit = h <= static_cast<std::size_t>(state.history.MaxLines());
  for (const std::string& line : tail) {
    if (belowLimit && line != brontel::kNotFoundLine) {
      const int type = types.FindMsgType(line);
      Check(type < 0 || type >= brontel::kCountedMsgTypes || state.history.Contains(line));
    }
  }
}

std::int32_t BufferSize(std::uint8_t choice) {
  const auto count = static_cast<std::uint8_t>(std::size(brontel::BufferSizes));
  if (choice < count)
    return brontel::BufferSizes[choice].value;
  return 1 + choice % 40;  // tiny buffers cut lines into many pieces
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ::setenv("XDG_CONFIG_HOME", Scratch().Path().c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3)
    return 0;
  const std::string_view content(reinterpret_cast<const char*>(data) + 3, size - 3);
  // The literal model reads bytes; marked and compressed logs are decoded first (fuzz/decode).
  if (brontel::platform::EncodingOfStart(content) != brontel::platform::FileEncoding::kBytes)
    return 0;
  const std::size_t grown = content.size() * data[1] / 255;
  const std::size_t truncated = content.size() * data[2] / 255;
  const std::string path = Scratch().File("fuzz.log");

  brontel::testing::MemorySettings store;  // every value at its default: the built-in types
  brontel::LineClassifier types(store);
  brontel::ui::TRAHLEditor view("_editor");
  brontel::TailViewerState state;
  brontel::TailLoader loader;
  state.path = path;
  state.bufferSize = BufferSize(data[0]);

  for (const std::size_t length : {grown, content.size(), truncated}) {
    Scratch().Write(path, content.substr(0, length));
    loader.LoadTail(state, types, view);
    CheckView(state, types, view,
              brontel::testing::LiteralTailLines(content.substr(0, length), state.bufferSize));
  }
  return 0;
}
