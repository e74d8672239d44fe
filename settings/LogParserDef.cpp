#include "settings/LogParserDef.h"

namespace brontel {
namespace {

// A count read from the file, or 0 when it lies outside 0..limit.
std::int32_t BoundedCount(std::int32_t count, std::int32_t limit) {
  return count < 0 || count > limit ? 0 : count;
}

LogParserDef::ColParserDef ReadColumn(ExtManager& store, const std::string& prefix) {
  LogParserDef::ColParserDef column;
  column.Name = store.ReadString(prefix + "Name", "");
  column.Type = store.ReadInteger(prefix + "Type", 0);
  column.Width = store.ReadInteger(prefix + "Width", 0);
  return column;
}

void ReadSet(ExtManager& store, const std::string& id, std::int32_t& columnBudget,
             LogParserDef::ColParserDefSet& set) {
  const std::string prefix = id + "\\";
  set.Name = store.ReadString(prefix + "Name", "");
  set.Delimiter = store.ReadString(prefix + "Delimiter", "");
  set.StaticWidth = store.ReadInteger(prefix + "StaticWidth", 0) != 0;
  set.ColumnCount =
      BoundedCount(store.ReadInteger(prefix + "ColumnCount", 0), LogParserDef::kMaxColumnsPerSet);
  if (set.ColumnCount > columnBudget)
    set.ColumnCount = 0;
  columnBudget -= set.ColumnCount;
  set.Columns.reserve(static_cast<std::size_t>(set.ColumnCount));
  for (std::int32_t k = 0; k < set.ColumnCount; ++k) {
    set.Columns.push_back(ReadColumn(store, id + ".Column." + std::to_string(k) + "\\"));
  }
}

}  // namespace

void LogParserDef::LoadColumnSets(ExtManager& store) {
  const std::int32_t count =
      BoundedCount(store.ReadInteger("ColumnsDefs\\Count", 0), kMaxColumnSets);
  ColumnSets.assign(static_cast<std::size_t>(count), ColParserDefSet{});
  ColumnSetCount = count;
  std::int32_t columnBudget = kMaxColumnsTotal;
  for (std::int32_t j = 0; j < count; ++j) {
    const std::string id = store.ReadString("ColumnsDefs\\Item" + std::to_string(j), "");
    if (!id.empty())
      ReadSet(store, id, columnBudget, ColumnSets[static_cast<std::size_t>(j)]);
  }
}

}  // namespace brontel
