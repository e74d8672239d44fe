#include "apps/brontel/CommandLine.h"

#include <charconv>
#include <string_view>

namespace brontel::app {
namespace {

std::optional<int> PositiveNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1)
    return std::nullopt;
  return value;
}

// A context count: 0 .. 9 lines.
std::optional<int> ContextCount(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > 9)
    return std::nullopt;
  return value;
}

// --filter and --filter-out name one expression between them, and it must not be empty.
bool SetFilterExpression(const std::string& expression, bool out, CommandLine& line) {
  if (expression.empty() || !line.filterExpression.empty())
    return false;
  line.filterExpression = expression;
  line.filterOut = out;
  return true;
}

bool SetFlag(std::string_view argument, CommandLine& line) {
  if (argument == "--demo")
    line.mode = RunMode::Demo;
  else if (argument == "--print")
    line.mode = RunMode::Print;
  else if (argument == "--ansi")
    line.ansi = true;
  else if (argument == "--status")
    line.status = true;
  else if (argument == "--complete")
    line.complete = true;
  else if (argument == "--force")
    line.force = true;
  else if (argument == "--follow")
    line.follow = true;
  else if (argument == "--version")
    line.mode = RunMode::Version;
  else
    return false;
  return true;
}

// Options that only make sense with --print.
bool UsesPrintOptions(const CommandLine& line) {
  return line.ansi || line.status || line.complete || line.follow || line.HasFilter();
}

// --types list and --version stand alone.
bool Alone(const CommandLine& line, std::size_t argumentCount, std::size_t ownArguments) {
  return argumentCount == ownArguments && line.files.empty();
}

bool Consistent(const CommandLine& line, bool sawPrint, bool sawDemo, std::size_t arguments) {
  if (sawPrint && sawDemo)
    return false;
  switch (line.mode) {
    case RunMode::ListTypes:
      return Alone(line, arguments, 2);
    case RunMode::Version:
      return Alone(line, arguments, 1);
    case RunMode::Demo:
      return line.files.empty() && !UsesPrintOptions(line) && !line.force;
    case RunMode::Print:
      return line.files.size() == 1 && !(line.complete && line.follow);
    case RunMode::Windows:
      return !line.files.empty() && !UsesPrintOptions(line);
  }
  return false;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  bool sawPrint = false;
  bool sawDemo = false;
  bool onlyFilesFollow = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    const bool isOption = !onlyFilesFollow && argument.size() > 1 && argument[0] == '-';
    if (!isOption) {
      line.files.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      onlyFilesFollow = true;
      continue;
    }
    if (SetFlag(argument, line)) {
      sawPrint |= argument == "--print";
      sawDemo |= argument == "--demo";
      continue;
    }
    const bool hasValue = i + 1 < arguments.size();
    if (!hasValue)
      return std::nullopt;
    if (argument == "--settings") {
      line.settingsDir = arguments[++i];
    } else if (argument == "--module") {
      line.modulePath = arguments[++i];
    } else if (argument == "--types") {
      line.types = arguments[++i];
      if (line.types.empty())
        return std::nullopt;
    } else if (argument == "--filter" || argument == "--filter-out") {
      if (!SetFilterExpression(arguments[++i], argument == "--filter-out", line))
        return std::nullopt;
    } else if (argument == "--only") {
      line.onlyTypes = arguments[++i];
      if (line.onlyTypes.empty())
        return std::nullopt;
    } else if (argument == "--context") {
      const std::optional<int> context = ContextCount(arguments[++i]);
      if (!context)
        return std::nullopt;
      line.context = *context;
    } else if (argument == "--seconds") {
      const std::optional<int> seconds = PositiveNumber(arguments[++i]);
      if (!seconds)
        return std::nullopt;
      line.seconds = *seconds;
    } else {
      return std::nullopt;
    }
  }
  if (line.types == kListTypes && line.mode != RunMode::Version)
    line.mode = RunMode::ListTypes;
  if (!Consistent(line, sawPrint, sawDemo, arguments.size()))
    return std::nullopt;
  return line;
}

std::string UsageText() {
  return "usage: brontel [--settings DIR] [--module PATH] [--types NAME|FILE] FILE...\n"
         "       brontel --demo [--seconds N] [--module PATH]\n"
         "       brontel --print [--ansi] [--status] [--complete | --follow] [--force]\n"
         "               [--filter EXPR | --filter-out EXPR] [--only TYPE[,TYPE...]]\n"
         "               [--context N] [--settings DIR] [--types NAME|FILE] FILE\n"
         "       brontel --types list\n"
         "       brontel --version\n"
         "\n"
         "--types uses a preset (or an ini file) of message types for this run instead of\n"
         "those of brontel.ini; --types list shows the presets.\n"
         "Without a display (no DISPLAY and no WAYLAND_DISPLAY) the viewer runs in the\n"
         "terminal and prints its view instead of opening windows.\n";
}

}  // namespace brontel::app
