/** @file ModuleLocation.h: where this program finds the brontel.wlx it hosts. */
#pragma once

#include <string>
#include <vector>

namespace brontel::app {

// The places to look for the module, best first: an explicit path alone when one is given;
// otherwise beside the executable, in ../lib/brontel/ from there (an installed tree), then the
// paths this build knows (its own build tree and its install prefix). Empty inputs are skipped.
std::vector<std::string> ModuleCandidates(const std::string& explicitPath,
                                          const std::string& executablePath,
                                          const std::vector<std::string>& knownPaths);

// The first candidate that is a regular file, or empty.
std::string FirstExistingFile(const std::vector<std::string>& candidates);

}  // namespace brontel::app
