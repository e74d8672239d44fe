/** @file CommandLine.h: what the brontel program was asked to do. */
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brontel::app {

enum class RunMode {
  Windows,    // brontel FILE...: a viewer window per file
  Demo,       // brontel --demo: a growing demo log in a viewer
  Print,      // brontel --print FILE: the view written to standard output
  ListTypes,  // brontel --types list: the message-type presets
  Version,    // brontel --version
};

struct CommandLine {
  RunMode mode = RunMode::Windows;
  bool ansi = false;        // --ansi: colour the printed lines
  bool status = false;      // --status: the status text first
  bool complete = false;    // --complete: the complete view instead of the tail
  bool force = false;       // --force: show the file whatever its extension
  bool follow = false;      // --follow: print again after every reload
  int seconds = 0;          // --seconds N: stop after N seconds; 0 = the mode's own default
  std::string settingsDir;  // --settings DIR; empty = the configuration folder
  std::string modulePath;   // --module PATH; empty = look for brontel.wlx
  std::string types;        // --types NAME|FILE: message types for this run; empty = brontel.ini's
  // --filter EXPR / --filter-out EXPR, --only TYPE[,TYPE...], --context N: the view's filter
  // for a print run (empty expression and types: the filter brontel.ini keeps).
  std::string filterExpression;
  bool filterOut = false;
  std::string onlyTypes;
  int context = -1;  // -1: not given
  std::vector<std::string> files;

  bool HasFilter() const { return !filterExpression.empty() || !onlyTypes.empty() || context >= 0; }
};

// The value of --types that lists the presets instead of naming one.
inline constexpr const char* kListTypes = "list";

// The exit code for arguments that make no sense.
inline constexpr int kExitUsage = 2;

// The parsed arguments (without the program name), or nothing when they make no sense
// together: an unknown option, a missing value, no file for the window or print mode, more
// than one file to print, a file given to --demo, anything beside --types list or --version.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments);

// The usage text, for standard error.
std::string UsageText();

}  // namespace brontel::app
