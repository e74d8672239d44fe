/** @file LogParserDef.h: column parser definitions, read from the settings file. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/ExtManager.h"

namespace brontel {

// Column sets, each with a name, a delimiter, a static-width flag and its columns. Read from the
// settings file with the options and never written back; nothing interprets them yet.
//
// In the settings file: "ColumnsDefs\Count" sets, "ColumnsDefs\Item<j>" naming each set's
// identifier; a set's fields live in section <identifier> (Name, Delimiter, StaticWidth,
// ColumnCount), its column k in section <identifier>.Column.<k> (Name, Type, Width).
class LogParserDef {
 public:
  struct ColParserDef {
    std::string Name;
    std::int32_t Type = 0;
    std::int32_t Width = 0;

    bool operator==(const ColParserDef&) const = default;
  };

  struct ColParserDefSet {
    std::string Name;
    std::string Delimiter;
    bool StaticWidth = false;
    std::vector<ColParserDef> Columns;
    std::int32_t ColumnCount = 0;  // == Columns.size()

    bool operator==(const ColParserDefSet&) const = default;
  };

  // Bounds that keep a corrupt file from causing unbounded reads and allocations: a count in the
  // file outside 0..kMaxColumnSets (sets) or 0..kMaxColumnsPerSet (columns of one set) counts as
  // 0, and once kMaxColumnsTotal columns have been read, further sets get no columns.
  static constexpr std::int32_t kMaxColumnSets = 256;
  static constexpr std::int32_t kMaxColumnsPerSet = 256;
  static constexpr std::int32_t kMaxColumnsTotal = 4096;

  std::vector<ColParserDefSet> ColumnSets;
  std::int32_t ColumnSetCount = 0;  // == ColumnSets.size()

  // Replaces the column sets with those in the settings file, read through `store`. A set whose
  // identifier is missing stays new (empty). Reads never fail.
  void LoadColumnSets(ExtManager& store);
};

}  // namespace brontel
