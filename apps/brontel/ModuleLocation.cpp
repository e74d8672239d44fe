#include "apps/brontel/ModuleLocation.h"

#include <filesystem>
#include <system_error>

namespace brontel::app {
namespace {

namespace fs = std::filesystem;

constexpr const char* kModuleName = "brontel.wlx";

}  // namespace

std::vector<std::string> ModuleCandidates(const std::string& explicitPath,
                                          const std::string& executablePath,
                                          const std::vector<std::string>& knownPaths) {
  if (!explicitPath.empty())
    return {explicitPath};
  std::vector<std::string> candidates;
  if (!executablePath.empty()) {
    const fs::path folder = fs::path(executablePath).parent_path();
    candidates.push_back((folder / kModuleName).string());
    candidates.push_back(
        (folder / ".." / "lib" / "brontel" / kModuleName).lexically_normal().string());
  }
  for (const std::string& known : knownPaths) {
    if (!known.empty())
      candidates.push_back(known);
  }
  return candidates;
}

std::string FirstExistingFile(const std::vector<std::string>& candidates) {
  for (const std::string& candidate : candidates) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error))
      return candidate;
  }
  return {};
}

}  // namespace brontel::app
