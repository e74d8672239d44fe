// The program's windows on Qt: one module for the process, a window per file or for the demo.
#include <QApplication>
#include <QTimer>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "apps/brontel/DefaultParamsRecord.h"
#include "apps/brontel/DemoLog.h"
#include "apps/brontel/Display.h"
#include "apps/brontel/ModuleLocation.h"
#include "apps/brontel/WindowMode.h"
#include "apps/brontel/qt/QtListerModule.h"
#include "apps/brontel/qt/ViewerWindow.h"
#include "platform/ProgramDirectory.h"

namespace brontel::app {
namespace {

constexpr int kDemoWriterPeriodMs = 400;

std::vector<std::string> KnownModulePaths() {
  return {BRONTEL_BUILT_MODULE_PATH, BRONTEL_INSTALLED_MODULE_PATH};
}

std::optional<QtListerModule*> LoadModule(const std::string& explicitPath) {
  const std::string path = FirstExistingFile(
      ModuleCandidates(explicitPath, platform::HostExecutablePath(), KnownModulePaths()));
  if (path.empty()) {
    std::cerr << "brontel: cannot find brontel.wlx"
              << (explicitPath.empty() ? " beside the program or in its lib folder"
                                       : " at " + explicitPath)
              << '\n';
    return std::nullopt;
  }
  // Kept for the whole process: viewer widgets run the module's code until the very end.
  static QtListerModule module;
  if (!module.Load(QString::fromStdString(path))) {
    std::cerr << "brontel: cannot load " << path << ": " << module.errorText().toStdString()
              << '\n';
    return std::nullopt;
  }
  return &module;
}

// As a host does right after loading the module: the settings file it names lies in
// `folder`, which is created when missing.
void SetDefaultParams(const ListerEntryPoints& module, std::string folder) {
  if (folder.empty())
    folder = platform::WritableProgramDirectory();
  platform::EnsureDirectory(folder);
  const std::vector<char> record = DefaultParamsRecord(HostSettingsFileIn(folder));
  module.setDefaultParams(record.data());
}

bool OpenWindow(const ListerEntryPoints& module, int showFlags, const std::string& file) {
  auto* window = new ViewerWindow(module, showFlags);
  if (!window->Open(QString::fromStdString(file))) {
    std::cerr << "brontel: " << file
              << ": no viewer for this file (not associated, or not readable); "
                 "--force shows it anyway\n";
    delete window;
    return false;
  }
  window->show();
  return true;
}

void CloseEverythingAfter(int seconds) {
  if (seconds > 0)
    QTimer::singleShot(seconds * 1000, qApp, [] { QApplication::closeAllWindows(); });
}

int RunDemo(const ListerEntryPoints& module, const WindowRequest& request) {
  const DemoFolder demo;
  SetDefaultParams(module, demo.folder().string());
  const DemoWriter writer(demo.log(), kDemoWriterPeriodMs, DemoFolder::kFirstLines);
  if (!OpenWindow(module, 0, demo.log().string()))
    return 1;
  CloseEverythingAfter(request.seconds);
  return QApplication::exec();
}

int RunFiles(const ListerEntryPoints& module, const WindowRequest& request) {
  SetDefaultParams(module, request.settingsFolder);
  const int showFlags = request.force ? kForceShow : 0;
  int opened = 0;
  for (const std::string& file : request.files)
    opened += OpenWindow(module, showFlags, file) ? 1 : 0;
  if (opened == 0)
    return 2;
  CloseEverythingAfter(request.seconds);
  const int result = QApplication::exec();
  return opened == static_cast<int>(request.files.size()) ? result : 2;
}

}  // namespace

bool WindowModeAvailable() {
  return HasDisplay();
}

int RunWindows(const WindowRequest& request, int& argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("brontel"));
  const std::optional<QtListerModule*> module = LoadModule(request.modulePath);
  if (!module)
    return 1;
  const ListerEntryPoints& entryPoints = (*module)->entryPoints();
  return request.demo ? RunDemo(entryPoints, request) : RunFiles(entryPoints, request);
}

}  // namespace brontel::app
