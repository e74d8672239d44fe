/** @file LineShapes.h: which log format a line is written in, by its layout alone. */
#pragma once

#include <string_view>

namespace brontel {

// The format families that the presets are made for, most specific first. Builtin: the
// built-in types' own format (a marker letter or "|", then a tab). Generic: a time stamp with a
// level word in the first columns, and nothing more specific.
enum class LogFamily {
  Unknown,
  Builtin,
  Glog,
  Monolog,
  Json,
  Postgresql,
  Mysql,
  Web,
  Windows,
  Syslog,
  Python,
  Log4j,
  Logfmt,
  Generic,
};

// The family whose layout `line` has, trying them in the order above; Unknown when none fits.
// Looks at the line's first columns only (a few hundred characters at most), so that a long
// line costs no more than a short one. Allocates nothing.
LogFamily ShapeOf(std::string_view line);

// The preset of a family ("syslog", "web", ...); empty for Unknown and Builtin.
std::string_view PresetNameOf(LogFamily family);

}  // namespace brontel
