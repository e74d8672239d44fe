// Loads the tail of a file with random content three times (the first part of the content, all
// of it after the rest was appended, then the file truncated) with a random buffer size, and
// checks every view against the one built the literal way from the file's bytes: history block,
// separator, the last B bytes read in text mode as pieces of at most B-1 bytes, footer. Every
// shown line of a counted type must be in the history while the history is below its limit.
//
// Input: buffer choice, split point, truncation point, then the content.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "classify/LineClassifier.h"
#include "settings/ExtManager.h"
#include "ui/LineStore.h"
#include "ui/TRAHLEditor.h"
#include "viewer/OptionTables.h"
#include "viewer/TailLoader.h"
#include "viewer/TailText.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Every value at its default: the built-in message types.
class DefaultsStore : public brontel::ExtManager {
 public:
  bool IsAssociated(const std::string&, std::int32_t&) override { return false; }
  std::string GetAssociationsText() override { return {}; }
  void Load() override {}
  std::string GetMruText() override { return {}; }
  void SetMruText(const std::string&) override {}
  void Save() override {}
  void WriteString(const std::string&, const std::string&) override {}
  void WriteInteger(const std::string&, std::int32_t) override {}
  void WriteFloat(const std::string&, double) override {}
  void SetTemplatesText(const std::string&) override {}
  void SetAssociationsText(const std::string&) override {}
  std::string ReadString(const std::string&, const std::string& fallback) override {
    return fallback;
  }
  std::int32_t ReadInteger(const std::string&, std::int32_t fallback) override { return fallback; }
  double ReadFloat(const std::string&, double fallback) override { return fallback; }
  std::string GetTemplatesText() override { return {}; }
};

const fs::path& ScratchDirectory() {
  static const fs::path dir =
      fs::temp_directory_path() / ("brontel-fuzz-tail-" + std::to_string(::getpid()));
  return dir;
}

void Check(bool promise) {
  if (!promise)
    std::abort();
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The tail lines of a file holding `bytes`, read the literal way.
Lines LiteralTail(std::string_view bytes, std::int32_t bufferSize) {
  std::string_view rest = bytes.substr(brontel::TailStartOffset(bytes.size(), bufferSize));
  rest = rest.substr(0, std::min(rest.size(), rest.find('\x1A')));
  std::string text;
  for (char c : rest) {
    if (c != '\r')
      text += c;
  }
  const std::size_t limit = brontel::TailPieceLimit(bufferSize);
  Lines lines;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = std::min(text.size(), at + limit);
    const std::size_t feed = text.find('\n', at);
    if (feed != std::string::npos && feed < end)
      end = feed + 1;
    std::string piece = text.substr(at, end - at);
    if (!piece.empty() && piece.back() == '\n')
      piece.pop_back();
    lines.push_back(piece.substr(0, piece.find('\0')));
    at = end;
  }
  if (lines.empty())
    lines.emplace_back(brontel::kNotFoundLine);
  return lines;
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
  fs::create_directories(ScratchDirectory());
  ::setenv("XDG_CONFIG_HOME", ScratchDirectory().c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3)
    return 0;
  const std::string_view content(reinterpret_cast<const char*>(data) + 3, size - 3);
  const std::size_t grown = content.size() * data[1] / 255;
  const std::size_t truncated = content.size() * data[2] / 255;
  const std::string path = (ScratchDirectory() / "fuzz.log").string();

  DefaultsStore store;
  brontel::LineClassifier types(store);
  brontel::ui::TRAHLEditor view("_editor");
  brontel::TailViewerState state;
  brontel::TailLoader loader;
  state.path = path;
  state.bufferSize = BufferSize(data[0]);

  for (const std::size_t length : {grown, content.size(), truncated}) {
    WriteFile(path, content.substr(0, length));
    loader.LoadTail(state, types, view);
    CheckView(state, types, view, LiteralTail(content.substr(0, length), state.bufferSize));
  }
  return 0;
}
