// brontel: a log viewer of its own, hosting brontel.wlx through the plug-in entry points.
//
//   brontel FILE...      a viewer window per file
//   brontel --demo       a window on a demo log that a writer keeps growing
//   brontel --print FILE the view after the first reload, on standard output
//   brontel --types list the message-type presets; --types NAME|FILE uses one for the run
//
// Without a display the first two run the viewer in the terminal and print its view.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "apps/brontel/CommandLine.h"
#include "apps/brontel/DemoLog.h"
#include "apps/brontel/PrintCommand.h"
#include "apps/brontel/TypePresets.h"
#include "apps/brontel/WindowMode.h"
#include "platform/ProgramDirectory.h"
#include "platform/Terminal.h"

namespace {

using namespace brontel::app;

constexpr int kDemoSeconds = 6;
constexpr int kDemoWriterPeriodMs = 700;
constexpr std::size_t kDemoShownLines = 30;

PrintRequest PrintRequestOf(const CommandLine& line, const std::string& file) {
  PrintRequest request;
  request.file = file;
  request.settingsFolder = line.settingsDir;
  request.ansi = line.ansi;
  request.status = line.status;
  request.complete = line.complete;
  request.force = line.force;
  request.follow = line.follow;
  request.seconds = line.seconds;
  if (line.HasFilter()) {
    brontel::ViewFilter filter;
    filter.expression = line.filterExpression;
    filter.hideMatching = line.filterOut;
    filter.types = brontel::SplitTypeNames(line.onlyTypes);
    filter.context = line.context < 0 ? 0 : line.context;
    request.filter = filter;
  }
  return request;
}

// The view of each file in the terminal, as a window would show it at first.
int PrintFiles(const CommandLine& line) {
  const bool terminal = brontel::platform::StandardOutputIsTerminal();
  int result = kExitOk;
  for (const std::string& file : line.files) {
    if (line.files.size() > 1)
      std::cout << "==> " << file << " <==\n";
    PrintRequest request = PrintRequestOf(line, file);
    request.ansi = terminal;
    request.status = true;
    const int fileResult = RunPrint(request, std::cout, std::cerr);
    if (fileResult != kExitOk)
      result = fileResult;
  }
  return result;
}

// The demo in the terminal: the view after every reload for a few seconds.
int PrintDemo(const CommandLine& line) {
  const DemoFolder demo;
  const DemoWriter writer(demo.log(), kDemoWriterPeriodMs, DemoFolder::kFirstLines);
  PrintRequest request;
  request.file = demo.log().string();
  request.settingsFolder = demo.folder().string();
  request.ansi = brontel::platform::StandardOutputIsTerminal();
  request.redraw = request.ansi;
  request.status = true;
  request.follow = true;
  request.seconds = line.seconds != 0 ? line.seconds : kDemoSeconds;
  request.lastLines = kDemoShownLines;
  const int result = RunPrint(request, std::cout, std::cerr);
  std::cout << "\nThe demo log was " << request.file << " (now removed).\n";
  return result;
}

WindowRequest WindowRequestOf(const CommandLine& line) {
  WindowRequest request;
  request.files = line.files;
  request.demo = line.mode == RunMode::Demo;
  request.force = line.force;
  request.settingsFolder = line.settingsDir;
  request.modulePath = line.modulePath;
  request.seconds = line.seconds;
  return request;
}

std::vector<std::string> Presets() {
  return PresetFolders(brontel::platform::HostExecutablePath(), {BRONTEL_SOURCE_TYPES_DIR});
}

int ListTypes() {
  const std::vector<TypePreset> presets = ListPresets(Presets());
  if (presets.empty()) {
    std::cerr << "brontel: no message-type presets found\n";
    return kExitFailure;
  }
  for (const TypePreset& preset : presets)
    std::cout << preset.name
              << std::string(preset.name.size() < 10 ? 10 - preset.name.size() : 1, ' ')
              << preset.description << '\n';
  return kExitOk;
}

// The preset or file of --types, checked before any viewer runs: types that do not load must
// not pass unnoticed as the built-in ones.
// The result is an exit code: kExitOk when the types are in use.
int UseTypes(const std::string& nameOrFile) {
  const std::string file = ResolveTypesFile(nameOrFile, Presets());
  if (file.empty()) {
    std::cerr << "brontel: --types " << nameOrFile
              << ": no such preset or file (brontel --types list shows the presets)\n";
    return kExitUsage;
  }
  const std::string problem = TypesFileProblem(file);
  if (!problem.empty()) {
    std::cerr << "brontel: --types " << file << ": " << problem << '\n';
    return kExitFailure;
  }
  UseTypesFile(std::filesystem::absolute(file).string());
  return kExitOk;
}

int Run(const CommandLine& line, int& argc, char** argv) {
  if (line.mode == RunMode::Version) {
    std::cout << "brontel " << BRONTEL_VERSION << '\n';
    return kExitOk;
  }
  if (line.mode == RunMode::ListTypes)
    return ListTypes();
  if (!line.types.empty()) {
    const int used = UseTypes(line.types);
    if (used != kExitOk)
      return used;
  }
  if (line.mode == RunMode::Print)
    return RunPrint(PrintRequestOf(line, line.files.front()), std::cout, std::cerr);
  if (WindowModeAvailable())
    return RunWindows(WindowRequestOf(line), argc, argv);
  return line.mode == RunMode::Demo ? PrintDemo(line) : PrintFiles(line);
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<CommandLine> line =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!line) {
    std::cerr << UsageText();
    return kExitUsage;
  }
  try {
    return Run(*line, argc, argv);
  } catch (const std::exception& failure) {
    std::cerr << "brontel: " << failure.what() << '\n';
    return kExitFailure;
  }
}
