#include "apps/brontel/PrintCommand.h"

#include <chrono>
#include <thread>

#include "apps/brontel/HeadlessViewer.h"
#include "apps/brontel/TerminalView.h"
#include "platform/ProgramDirectory.h"

namespace brontel::app {
namespace {

constexpr std::uint64_t kFollowStepMs = 50;

std::string SettingsFolderOf(const PrintRequest& request) {
  return request.settingsFolder.empty() ? platform::WritableProgramDirectory()
                                        : request.settingsFolder;
}

int ReportFailure(OpenResult result, const PrintRequest& request, const std::string& folder,
                  std::ostream& err) {
  switch (result) {
    case OpenResult::NotAssociated:
      err << "brontel: " << request.file
          << ": no viewer for this kind of file (its extension is not associated in " << folder
          << "brontel.ini); --force shows it anyway\n";
      return kExitNotAssociated;
    case OpenResult::NoSettingsFolder:
      err << "brontel: cannot create the settings folder " << folder << '\n';
      return kExitFailure;
    case OpenResult::Declined:
    case OpenResult::Shown:
      break;
  }
  err << "brontel: " << request.file << ": the viewer could not be opened\n";
  return kExitFailure;
}

void WriteFrame(HeadlessViewer& viewer, const PrintRequest& request, bool first,
                std::ostream& out) {
  if (request.redraw)
    out << "\x1b[H\x1b[2J";
  else if (!first)
    out << "\f\n";
  WriteView(viewer.viewer(), {request.ansi, request.status, request.lastLines}, out);
  out.flush();
}

void Follow(HeadlessViewer& viewer, const PrintRequest& request, std::ostream& out) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::seconds(request.seconds);
  std::uint64_t shownLoads = viewer.TailLoads();
  while (request.seconds == 0 || Clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kFollowStepMs));
    viewer.Advance(kFollowStepMs);
    if (viewer.TailLoads() != shownLoads) {
      shownLoads = viewer.TailLoads();
      WriteFrame(viewer, request, false, out);
    }
  }
}

}  // namespace

int RunPrint(const PrintRequest& request, std::ostream& out, std::ostream& err) {
  std::string folder = SettingsFolderOf(request);
  if (!folder.empty() && folder.back() != platform::PathSeparator())
    folder += platform::PathSeparator();
  HeadlessViewer viewer;
  const OpenResult opened = viewer.Open(request.file, folder, request.force);
  if (opened != OpenResult::Shown)
    return ReportFailure(opened, request, folder, err);
  std::string refused;
  if (request.filter && !viewer.viewer().ApplyFilter(*request.filter, refused)) {
    err << "brontel: the filter is refused: " << refused << '\n';
    return kExitNotAssociated;
  }
  if (request.complete) {
    viewer.LoadComplete();
  } else if (!viewer.RunUntilFirstTick()) {
    err << "brontel: " << request.file << ": the viewer's reload timer never ran\n";
    return kExitFailure;
  }
  WriteFrame(viewer, request, true, out);
  if (request.follow)
    Follow(viewer, request, out);
  return kExitOk;
}

}  // namespace brontel::app
