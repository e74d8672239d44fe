// Treats the input as a settings file and loads from it what a viewer and the entry points load:
// associations and templates, the options record with its layouts and column sets, and the
// message types, which then classify the file's own lines. Checks the invariants the loaders
// promise: bounded counts, exclusive modes, the Summary type closing the list.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "classify/LineClassifier.h"
#include "classify/MsgTypeLoader.h"
#include "platform/PlatformError.h"
#include "settings/ConfigData.h"
#include "settings/ExtMgr.h"
#include "settings/SettingsFile.h"
#include "tests/support/ScratchFolder.h"

namespace {

using brontel::ConfigData;

// Holds the fuzzed settings file; removed when the process ends.
const brontel::testing::ScratchFolder& Scratch() {
  static const brontel::testing::ScratchFolder folder;
  return folder;
}

void Check(bool promise) {
  if (!promise)
    std::abort();
}

void CheckOptions(const ConfigData& options) {
  Check(!(options.Active && options.LoadCompleteFile));
  Check(options.LayoutCount >= 0 && options.LayoutCount <= ConfigData::kMaxLayouts);
  Check(options.Layouts.size() >= static_cast<std::size_t>(options.LayoutCount));
  Check(options.ColumnSetCount == static_cast<std::int32_t>(options.ColumnSets.size()));
  Check(options.ColumnSets.size() <= ConfigData::kMaxColumnSets);
  std::size_t columns = 0;
  for (const auto& set : options.ColumnSets) {
    Check(set.ColumnCount == static_cast<std::int32_t>(set.Columns.size()));
    columns += set.Columns.size();
  }
  Check(columns <= ConfigData::kMaxColumnsTotal);
}

void CheckMsgTypes(brontel::ExtManager& store) {
  std::vector<brontel::MsgTypeMatcherInfo> types;
  brontel::LoadMsgTypes(store, types);
  Check(!types.empty());
  Check(types.back().name == brontel::kSummaryTypeName);
}

void ClassifyLines(brontel::ExtManager& store, std::string_view text) {
  brontel::LineClassifier classifier(store);
  std::size_t begin = 0;
  for (int line = 0; line < 64 && begin <= text.size(); ++line) {
    const std::size_t end = std::min(text.size(), text.find('\n', begin));
    const int type = classifier.FindMsgType(text.substr(begin, end - begin));
    Check(type >= brontel::kUnclassified && type < static_cast<int>(classifier.Types().size()));
    begin = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string path = Scratch().Write("brontel.ini", text);
  brontel::SettingsFilePath() = path;

  brontel::ExtMgr store;
  store.Load();
  std::int32_t number = -1;
  store.IsAssociated("/var/log/app.log", number);
  store.IsAssociated("README", number);
  store.IsAssociated(".hidden.TXT", number);
  const std::string associations = store.GetAssociationsText();
  store.GetTemplatesText();
  store.GetMruText();

  ConfigData options;
  options.LoadFromSettings(store);
  CheckOptions(options);
  CheckMsgTypes(store);
  ClassifyLines(store, text);

  // What the entry points write back must be accepted again. Every write replaces the file
  // and flushes it to disk, so only one input in eight takes this slower path.
  if (size % 8 != 0)
    return 0;
  try {
    store.SetAssociationsText(associations);
    options.SaveToSettings(store);
  } catch (const brontel::platform::PlatformError&) {
  }
  ConfigData again;
  again.LoadFromSettings(store);
  CheckOptions(again);
  return 0;
}
