#include "apps/brontel/HeadlessViewer.h"

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "apps/brontel/DefaultParamsRecord.h"
#include "platform/ProgramDirectory.h"
#include "settings/ExtMgr.h"

namespace brontel::app {
namespace {

// The viewer's parent as the headless toolkit knows it: a window with a parent, so Esc and the
// handed-back keys stay inside it.
constexpr std::uintptr_t kHostWindow = 1;
constexpr std::uint64_t kFirstTickMs = 50;
constexpr int kMaxStepsToFirstTick = 200;
constexpr std::uint64_t kIndexPollMs = 20;

}  // namespace

HeadlessViewer::HeadlessViewer()
    : factory_(toolkit_), plugin_(factory_, []() -> ExtManager& { return GetExtMgr(); }) {}

HeadlessViewer::~HeadlessViewer() {
  // Freed without its close, which would save the options.
  delete viewer_;
}

OpenResult HeadlessViewer::Open(const std::string& file, const std::string& settingsFolder,
                                bool force) {
  if (!platform::EnsureDirectory(settingsFolder))
    return OpenResult::NoSettingsFolder;
  const std::vector<char> record = DefaultParamsRecord(HostSettingsFileIn(settingsFolder));
  plugin_.ListSetDefaultParams(record.data());

  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(file, error);
  const std::string fullName = error ? file : absolute.string();
  std::int32_t association = 0;
  if (!force && !GetExtMgr().IsAssociated(fullName, association))
    return OpenResult::NotAssociated;

  const std::uintptr_t handle =
      plugin_.ListLoad(kHostWindow, fullName.c_str(), force ? kForceShow : 0);
  viewer_ = handle == 0 ? nullptr : dynamic_cast<TForm1*>(plugin_.registry().Find(handle));
  return viewer_ != nullptr ? OpenResult::Shown : OpenResult::Declined;
}

void HeadlessViewer::Advance(std::uint64_t milliseconds) {
  toolkit_.queuedPoster().RunPending();
  toolkit_.clock().Advance(milliseconds);
}

bool HeadlessViewer::RunUntilFirstTick() {
  for (int step = 0; viewer_->firstTick() && step < kMaxStepsToFirstTick; ++step)
    Advance(kFirstTickMs);
  // A compressed log's tail follows once it is decompressed.
  while (viewer_->Decompressing()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kIndexPollMs));
    Advance(kIndexPollMs);
  }
  return !viewer_->firstTick();
}

void HeadlessViewer::LoadComplete() {
  viewer_->controls().chkComplete.SetChecked(true);
  // A large file is indexed in the background: its whole view follows once it is complete.
  while (viewer_->Indexing()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kIndexPollMs));
    Advance(kIndexPollMs);
  }
}

}  // namespace brontel::app
