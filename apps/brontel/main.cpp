// brontel: runs the viewer on a log file in the terminal.
//
//   brontel --demo [--seconds N]   a demo log that a writer keeps growing, shown live
//   brontel --print [--ansi] [--status] [--complete] [--settings DIR] FILE
//                                  the view after the first reload (or the complete load)
//
// The viewer runs on the headless toolkit: its timers follow the wall clock here, and what the
// text view holds is written to standard output.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "apps/brontel/DemoLog.h"
#include "apps/brontel/TerminalView.h"
#include "platform/IniFile.h"
#include "platform/ProgramDirectory.h"
#include "platform/Terminal.h"
#include "settings/SettingsFile.h"
#include "shells/headless/HeadlessToolkit.h"
#include "viewer/TForm1.h"

namespace {

namespace fs = std::filesystem;
using brontel::TForm1;
using brontel::headless::HeadlessToolkit;

constexpr std::uintptr_t kHostWindow = 1;
constexpr std::uint64_t kStepMs = 50;
constexpr int kDemoLogLines = 60;

struct Arguments {
  bool demo = false;
  bool print = false;
  bool ansi = false;
  bool status = false;
  bool complete = false;
  int seconds = 6;
  std::string settingsDir;
  std::string file;
};

int Usage() {
  std::cerr << "usage: brontel --demo [--seconds N]\n"
               "       brontel --print [--ansi] [--status] [--complete] [--settings DIR] FILE\n";
  return 2;
}

std::optional<Arguments> ParseArguments(int argc, char** argv) {
  Arguments args;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--demo") {
      args.demo = true;
    } else if (arg == "--print") {
      args.print = true;
    } else if (arg == "--ansi") {
      args.ansi = true;
    } else if (arg == "--status") {
      args.status = true;
    } else if (arg == "--complete") {
      args.complete = true;
    } else if (arg == "--seconds" && hasValue) {
      args.seconds = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--settings" && hasValue) {
      args.settingsDir = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && args.file.empty()) {
      args.file = std::string(arg);
    } else {
      return std::nullopt;
    }
  }
  if (args.demo == args.print || (args.print && args.file.empty()))
    return std::nullopt;
  return args;
}

// The settings file the viewer reads, as a host's default parameters would place it; a new one
// gets the two default associations.
void UseSettingsDirectory(const std::string& directory) {
  std::string& path = brontel::SettingsFilePath();
  path = directory;
  if (!path.empty() && path.back() != '/')
    path += '/';
  brontel::platform::EnsureDirectory(path);
  path += "brontel.ini";
  if (!brontel::platform::IniFileExists(path)) {
    brontel::platform::IniWriteString(path, "EXT", ".log", "10");
    brontel::platform::IniWriteString(path, "EXT", ".", "10");
  }
}

std::unique_ptr<TForm1> OpenViewer(HeadlessToolkit& toolkit, const std::string& file) {
  auto viewer = std::make_unique<TForm1>(toolkit, kHostWindow, file);
  viewer->FormCreate();
  viewer->SetVisible(true);
  viewer->FormShow();
  return viewer;
}

// One step of the message loop: posted work (watcher notifications), then due timers.
void RunMessageLoop(HeadlessToolkit& toolkit, std::uint64_t milliseconds) {
  toolkit.queuedPoster().RunPending();
  toolkit.clock().Advance(milliseconds);
}

int Print(const Arguments& args) {
  UseSettingsDirectory(args.settingsDir.empty() ? brontel::platform::WritableProgramDirectory()
                                                : args.settingsDir);
  HeadlessToolkit toolkit;
  std::unique_ptr<TForm1> viewer = OpenViewer(toolkit, fs::absolute(args.file).string());
  if (args.complete) {
    viewer->controls().chkComplete.SetChecked(true);
  } else {
    for (int step = 0; viewer->TailLoads() == 0 && step < 100; ++step) {
      RunMessageLoop(toolkit, kStepMs);
    }
  }
  brontel::app::WriteView(*viewer, {args.ansi, args.status, 0}, std::cout);
  return 0;
}

fs::path MakeDemoFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder =
        fs::temp_directory_path() / ("brontel-demo-" + std::to_string(random()));
    if (fs::create_directory(folder))
      return folder;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

void ShowFrame(TForm1& viewer, bool terminal, int frame) {
  if (terminal) {
    std::cout << "\x1b[H\x1b[2J";
  } else {
    std::cout << "\n--- reload " << frame << " ---\n";
  }
  brontel::app::WriteView(viewer, {terminal, true, 30}, std::cout);
  std::cout.flush();
}

int Demo(const Arguments& args) {
  const fs::path folder = MakeDemoFolder();
  const fs::path log = folder / "demo.log";
  brontel::app::WriteDemoLog(log, kDemoLogLines);
  UseSettingsDirectory(folder.string());
  const bool terminal = brontel::platform::StandardOutputIsTerminal();
  {
    HeadlessToolkit toolkit;
    std::unique_ptr<TForm1> viewer = OpenViewer(toolkit, log.string());
    brontel::app::DemoWriter writer(log, 700, kDemoLogLines);
    std::uint64_t shownLoads = 0;
    int frame = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(args.seconds);
    while (std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
      RunMessageLoop(toolkit, kStepMs);
      if (viewer->TailLoads() != shownLoads) {
        shownLoads = viewer->TailLoads();
        ShowFrame(*viewer, terminal, ++frame);
      }
    }
  }
  std::cout << "\nDemo log was " << log.string() << " (removed).\n";
  fs::remove_all(folder);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Arguments> args = ParseArguments(argc, argv);
  if (!args)
    return Usage();
  try {
    return args->demo ? Demo(*args) : Print(*args);
  } catch (const std::exception& failure) {
    std::cerr << "brontel: " << failure.what() << '\n';
    return 1;
  }
}
