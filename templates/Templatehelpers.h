/** @file Templatehelpers.h: the code templates table, its text form and its settings sections. */
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"

namespace brontel {

// One code template. The body keeps the completion marks as they are: "|" for the caret and
// "/n" for a line break.
struct TplHelper {
  std::string Key;
  std::string Description;
  std::string Body;

  bool operator==(const TplHelper&) const = default;
};

// The templates of one group, in insertion order; duplicates allowed.
using TPLV = std::vector<TplHelper>;
// Template groups by group number.
using TPLMAP = std::map<std::int32_t, TPLV>;

// Separates a template's description from its body in a settings value.
inline constexpr std::string_view kTemplateSeparator = "<$(SEP)>";

// The nine templates added to group kBuiltInTemplateGroup when the settings file holds none.
inline constexpr std::int32_t kBuiltInTemplateGroup = 2;
const TPLV& BuiltInTemplates();

// Text form: one line per group that holds a template, in group order: the group number, "|",
// then Key TAB Description TAB Body TAB for each template with a non-empty Key and Body, and
// CR LF. Empty text for an empty map.
std::string TemplatesToText(const TPLMAP& map);

// Replaces the content of `map` with the templates of a text form (lines may end in CR, LF or
// CR LF). A template whose three fields are not all TAB-terminated ends its line; one with an
// empty Key or Body is skipped. Returns false, keeping the templates parsed so far, when a
// group number is not an integer (every line needs one, an empty line included).
bool TemplatesFromText(std::string_view text, TPLMAP& map);

// Fills `map` from the "TPL0" to "TPL9" sections of the settings file at `path`: each non-empty
// value becomes a template of its section's group, split at the first separator (no separator:
// the whole value is the body). When no value holds a separator, the built-in templates are
// appended to their group. A missing file leaves `map` empty. Never throws for file reasons.
void LoadTemplates(const std::string& path, TPLMAP& map);

// Writes each group of `map` as section "TPL" + group: the section is erased, then each
// template with a non-empty Key and Body is written as Key = Description + separator + Body.
// Sections of groups absent from `map` stay. Throws what the ini-file writes throw
// (platform/IniFile.h); all of it is one rewrite of the file, so a failure writes nothing.
void SaveTemplates(const std::string& path, const TPLMAP& map);

// The changes SaveTemplates makes, appended to `changes`, for a save of more than templates.
void AppendTemplateChanges(const TPLMAP& map, std::vector<platform::IniChange>& changes);

}  // namespace brontel
