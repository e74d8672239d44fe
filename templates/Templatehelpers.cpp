#include "templates/Templatehelpers.h"

#include <optional>

#include "platform/IniFile.h"
#include "platform/IniFileNumbers.h"
#include "platform/WholeFile.h"

namespace brontel {
namespace {

constexpr std::int32_t kFirstStoredGroup = 0;
constexpr std::int32_t kLastStoredGroup = 9;

std::string SectionOf(std::int32_t group) {
  return "TPL" + std::to_string(group);
}

bool IsComplete(const TplHelper& tpl) {
  return !tpl.Key.empty() && !tpl.Body.empty();
}

// Takes the text up to the next TAB out of `rest`; empty optional when there is no TAB.
std::optional<std::string_view> TakeField(std::string_view& rest) {
  const std::size_t tab = rest.find('\t');
  if (tab == std::string_view::npos)
    return std::nullopt;
  const std::string_view field = rest.substr(0, tab);
  rest.remove_prefix(tab + 1);
  return field;
}

void ParseTemplates(std::string_view rest, std::int32_t group, TPLMAP& map) {
  while (!rest.empty()) {
    const auto key = TakeField(rest);
    const auto description = key ? TakeField(rest) : std::nullopt;
    const auto body = description ? TakeField(rest) : std::nullopt;
    if (!body)
      return;
    TplHelper tpl{std::string(*key), std::string(*description), std::string(*body)};
    if (IsComplete(tpl))
      map[group].push_back(std::move(tpl));
  }
}

TplHelper TemplateFromValue(std::string key, std::string_view value, bool& withSeparator) {
  const std::size_t separator = value.find(kTemplateSeparator);
  withSeparator = separator != std::string_view::npos;
  if (!withSeparator)
    return TplHelper{std::move(key), "", std::string(value)};
  return TplHelper{std::move(key), std::string(value.substr(0, separator)),
                   std::string(value.substr(separator + kTemplateSeparator.size()))};
}

}  // namespace

const TPLV& BuiltInTemplates() {
  static const TPLV templates = {
      {"sw", "switch statement", "switch(|) {/ncase :/n    break;/ndefault:/n    break;/n}/n"},
      {"if", "if statement", "if( | ) {/n}/n"},
      {"ife", "if else", "if( | ) {/n}/nelse {/n}/n"},
      {"ifee", "if elseif else", "if( | ) {/n}/nelse if(  ) {/n}/nelse {/n}/n"},
      {"for", "for statement", "for( |; ; ) {/n}"},
      {"fori", "for with int i", "for( int i = 0; i < | ; i++ ) {/n}"},
      {"map", "map template", "map< | > ;"},
      {"set", "set template", "set< | > ;"},
      {"vector", "vector template", "vector< | > ;"},
  };
  return templates;
}

std::string TemplatesToText(const TPLMAP& map) {
  std::string text;
  for (const auto& [group, templates] : map) {
    if (templates.empty())
      continue;
    text += std::to_string(group) + "|";
    for (const TplHelper& tpl : templates) {
      if (!IsComplete(tpl))
        continue;
      text += tpl.Key + '\t' + tpl.Description + '\t' + tpl.Body + '\t';
    }
    text += "\r\n";
  }
  return text;
}

bool TemplatesFromText(std::string_view text, TPLMAP& map) {
  map.clear();
  for (const std::string_view line : platform::LineViewsOf(text)) {
    const std::size_t bar = line.find('|');
    const auto group = platform::ParseIniInteger(line.substr(0, bar));
    if (!group)
      return false;
    if (bar != std::string_view::npos)
      ParseTemplates(line.substr(bar + 1), *group, map);
  }
  return true;
}

void LoadTemplates(const std::string& path, TPLMAP& map) {
  map.clear();
  if (!platform::IniFileExists(path))
    return;
  int loaded = 0;
  for (std::int32_t group = kFirstStoredGroup; group <= kLastStoredGroup; ++group) {
    for (platform::IniEntry& entry : platform::IniReadEntries(path, SectionOf(group))) {
      if (!entry.value || entry.value->empty())
        continue;
      bool withSeparator = false;
      map[group].push_back(TemplateFromValue(std::move(entry.key), *entry.value, withSeparator));
      if (withSeparator)
        ++loaded;
    }
  }
  if (loaded > 0)
    return;
  TPLV& builtInGroup = map[kBuiltInTemplateGroup];
  builtInGroup.insert(builtInGroup.end(), BuiltInTemplates().begin(), BuiltInTemplates().end());
}

void AppendTemplateChanges(const TPLMAP& map, std::vector<platform::IniChange>& changes) {
  for (const auto& [group, templates] : map) {
    const std::string section = SectionOf(group);
    changes.push_back(platform::IniChange{section, "", "", true});
    for (const TplHelper& tpl : templates) {
      if (!IsComplete(tpl))
        continue;
      changes.push_back(platform::IniChange{
          section, tpl.Key, tpl.Description + std::string(kTemplateSeparator) + tpl.Body});
    }
  }
}

void SaveTemplates(const std::string& path, const TPLMAP& map) {
  std::vector<platform::IniChange> changes;
  AppendTemplateChanges(map, changes);
  platform::IniWriteChanges(path, changes);
}

}  // namespace brontel
