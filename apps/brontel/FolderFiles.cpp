#include "apps/brontel/FolderFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "diagnostics/TraceLog.h"

namespace brontel::app {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> RegularFileNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    std::error_code typeError;
    if (entries->is_regular_file(typeError))
      names.push_back(entries->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::string NeighbourFile(const std::string& file, FolderStep step) {
  try {
    const fs::path path(file);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string name = path.filename().string();
    const std::vector<std::string> names = RegularFileNames(folder);
    if (step == FolderStep::Next) {
      const auto next = std::upper_bound(names.begin(), names.end(), name);
      return next == names.end() ? std::string() : (folder / *next).string();
    }
    const auto here = std::lower_bound(names.begin(), names.end(), name);
    return here == names.begin() ? std::string() : (folder / *std::prev(here)).string();
  } catch (const std::exception& failure) {
    TraceLine("NeighbourFile", failure.what());  // no neighbour to step to, and why
    return {};
  }
}

}  // namespace brontel::app
