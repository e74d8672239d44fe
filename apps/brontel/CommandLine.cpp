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
  else
    return false;
  return true;
}

// Options that only make sense with --print.
bool UsesPrintOptions(const CommandLine& line) {
  return line.ansi || line.status || line.complete || line.follow;
}

bool Consistent(const CommandLine& line, bool sawPrint, bool sawDemo) {
  if (sawPrint && sawDemo)
    return false;
  switch (line.mode) {
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
    } else if (argument == "--seconds") {
      const std::optional<int> seconds = PositiveNumber(arguments[++i]);
      if (!seconds)
        return std::nullopt;
      line.seconds = *seconds;
    } else {
      return std::nullopt;
    }
  }
  if (!Consistent(line, sawPrint, sawDemo))
    return std::nullopt;
  return line;
}

std::string UsageText() {
  return "usage: brontel [--settings DIR] [--module PATH] FILE...\n"
         "       brontel --demo [--seconds N] [--module PATH]\n"
         "       brontel --print [--ansi] [--status] [--complete | --follow] [--force]\n"
         "               [--settings DIR] FILE\n"
         "\n"
         "Without a display (no DISPLAY and no WAYLAND_DISPLAY) the viewer runs in the\n"
         "terminal and prints its view instead of opening windows.\n";
}

}  // namespace brontel::app
