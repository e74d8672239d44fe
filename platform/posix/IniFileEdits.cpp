#include "platform/posix/IniFileEdits.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/PlatformError.h"
#include "platform/posix/IniFileLines.h"

namespace brontel::platform::ini_lines {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Joins texts by appending: GCC 12 at -O3 reports a false -Wrestrict overlap for chains of
// operator+ on short literals.
std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts)
    text.append(part);
  return text;
}

// What a batch does to one section name, in the order the batch first names it.
struct SectionChange {
  std::string name;
  bool erased = false;  // every section of the name goes; the writes then make a new one
  std::vector<std::pair<std::string, std::string>> writes;  // key -> value, first write's place
};

std::vector<SectionChange> SectionChanges(const std::vector<IniChange>& changes) {
  std::vector<SectionChange> sections;
  for (const IniChange& change : changes) {
    auto section = std::find_if(sections.begin(), sections.end(), [&](const SectionChange& s) {
      return NamesEqual(s.name, change.section);
    });
    if (section == sections.end())
      section = sections.insert(sections.end(), SectionChange{change.section, false, {}});
    if (change.eraseSection) {
      section->erased = true;
      section->writes.clear();
      continue;
    }
    auto write = std::find_if(section->writes.begin(), section->writes.end(),
                              [&](const auto& w) { return NamesEqual(w.first, change.key); });
    if (write == section->writes.end())
      section->writes.emplace_back(change.key, change.value);
    else
      write->second = change.value;
  }
  return sections;
}

// What the scan found of the first section of a name that is written to.
struct SectionFound {
  bool found = false;
  Line last;                                    // the header or its last key line; offsets only
  std::vector<std::optional<StoredLine>> keys;  // the line of each write's key, when present
};

Line OffsetsOf(Line line) {
  line.head = {};
  return line;
}

// The edit of an existing key line; none when the value stays as it is.
std::optional<Edit> EditOfKeyLine(const Line& line, std::string_view value) {
  const Parsed parsed = ParseLine(line);
  if (!parsed.hasValue) {
    const std::size_t keep = line.head.find_last_not_of(" \t") + 1;
    return Edit{line.begin + keep, line.contentEnd, Joined({"=", value})};
  }
  const std::size_t keep = parsed.valueStart;
  if (!line.truncated && std::string_view(line.head).substr(keep) == value)
    return std::nullopt;
  return Edit{line.begin + keep, line.contentEnd, std::string(value)};
}

std::string KeyLines(const std::vector<std::pair<std::string, std::string>>& writes,
                     const SectionFound* found) {
  std::string text;
  for (std::size_t i = 0; i < writes.size(); ++i) {
    if (found == nullptr || !found->keys[i])
      text += Joined({writes[i].first, "=", writes[i].second, kLineEnd});
  }
  return text;
}

class Scan {
 public:
  Scan(const std::vector<SectionChange>& sections, std::vector<Edit>& edits)
      : sections_(sections), found_(sections.size()), edits_(edits) {
    for (std::size_t i = 0; i < sections.size(); ++i)
      found_[i].keys.resize(sections[i].writes.size());
  }

  void Run(int fd, const std::string& path) {
    LineReader reader(fd);
    Line line;
    while (reader.Next(line)) {
      fileEnd_ = line.end;
      fileEndsWithLineEnd_ = line.HasLineEnd();
      if (current_ == kNone && !IsSectionHeader(line))
        continue;
      const Parsed parsed = ParseLine(line);
      if (parsed.kind == LineKind::kSection)
        EnterSection(line, parsed);
      else if (erasing_)
        edits_.back().end = line.end;
      else if (parsed.kind == LineKind::kKey || parsed.kind == LineKind::kUnknown)
        KeyLine(line, parsed);
    }
    if (reader.failed())
      throw PlatformError(path, "read error");
  }

  const SectionFound& Found(std::size_t i) const { return found_[i]; }
  std::uint64_t fileEnd() const { return fileEnd_; }
  bool fileEndsWithLineEnd() const { return fileEndsWithLineEnd_; }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  void EnterSection(const Line& line, const Parsed& parsed) {
    current_ = kNone;
    erasing_ = false;
    if (!parsed.nameKnown)
      return;
    const auto named = std::find_if(sections_.begin(), sections_.end(),
                                    [&](const auto& s) { return NamesEqual(s.name, parsed.name); });
    if (named == sections_.end())
      return;
    const std::size_t index = static_cast<std::size_t>(named - sections_.begin());
    if (named->erased) {
      erasing_ = true;
      current_ = index;
      edits_.push_back(Edit{line.begin, line.end, "", true});
    } else if (!found_[index].found) {  // later sections of the name are left alone
      found_[index].found = true;
      found_[index].last = OffsetsOf(line);
      current_ = index;
    }
  }

  void KeyLine(const Line& line, const Parsed& parsed) {
    SectionFound& found = found_[current_];
    found.last = OffsetsOf(line);
    if (parsed.kind != LineKind::kKey)
      return;
    const auto& writes = sections_[current_].writes;
    for (std::size_t i = 0; i < writes.size(); ++i) {
      if (!found.keys[i] && NamesEqual(parsed.name, writes[i].first)) {
        found.keys[i] = StoredLine(line);
        return;
      }
    }
  }

  const std::vector<SectionChange>& sections_;
  std::vector<SectionFound> found_;
  std::vector<Edit>& edits_;
  std::size_t current_ = kNone;
  bool erasing_ = false;
  std::uint64_t fileEnd_ = 0;
  bool fileEndsWithLineEnd_ = true;
};

// Whether the text before an insertion at the file's end, after `edits`, ends with a line end
// (or is empty).
bool EndsWithLineEnd(const std::vector<Edit>& edits, const Scan& scan) {
  for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
    if (edit->end != scan.fileEnd())
      continue;
    if (!edit->text.empty())
      return edit->text.back() == '\n';
    if (edit->removesLines)
      return true;  // what stays before them ends with a line end, or is nothing
    if (edit->begin != edit->end)
      return false;  // a value made empty on a last line without a line end
  }
  return scan.fileEndsWithLineEnd();
}

}  // namespace

std::vector<Edit> EditsForChanges(int fd, const std::string& path,
                                  const std::vector<IniChange>& changes) {
  const std::vector<SectionChange> sections = SectionChanges(changes);
  std::vector<Edit> edits;
  Scan scan(sections, edits);
  if (fd >= 0)
    scan.Run(fd, path);
  std::string newSections;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const SectionChange& section = sections[i];
    if (section.writes.empty())
      continue;
    const SectionFound& found = scan.Found(i);
    if (section.erased || !found.found) {
      newSections += Joined({"[", section.name, "]", kLineEnd, KeyLines(section.writes, nullptr)});
      continue;
    }
    for (std::size_t k = 0; k < section.writes.size(); ++k) {
      if (found.keys[k]) {
        if (std::optional<Edit> edit =
                EditOfKeyLine(found.keys[k]->line(), section.writes[k].second))
          edits.push_back(std::move(*edit));
      }
    }
    const std::string added = KeyLines(section.writes, &found);
    if (!added.empty()) {
      const Line& after = found.last;
      edits.push_back(
          Edit{after.end, after.end, Joined({after.HasLineEnd() ? "" : kLineEnd, added})});
    }
  }
  // Insertions come before a removal that starts where they stand; equal places keep the order
  // they were made in.
  std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
    return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
  });
  if (!newSections.empty()) {
    const std::string_view separator = EndsWithLineEnd(edits, scan) ? "" : kLineEnd;
    edits.push_back(Edit{scan.fileEnd(), scan.fileEnd(), Joined({separator, newSections})});
  }
  return edits;
}

}  // namespace brontel::platform::ini_lines
