/** @file ProgramDirectory.h: where the host program lives and where Brontel may write beside it. */
#pragma once

#include <string>

namespace brontel::platform {

// Full path of the executable that started this process (the host, not the plug-in module);
// empty when it cannot be obtained.
std::string HostExecutablePath();

// The directory that stands in for "the directory of the host's executable" wherever Brontel
// writes a file of its own there (settings fallback, timing log). Ends with the path separator;
// empty when it cannot be determined. On Windows it is the host executable's directory; on POSIX,
// where program directories are not writable, it is $XDG_CONFIG_HOME/brontel/ (default
// ~/.config/brontel/). The directory is not created here.
std::string WritableProgramDirectory();

// Creates `directory` and its missing parents; true when it exists afterwards.
bool EnsureDirectory(const std::string& directory);

// The platform's path separator: '/' on POSIX, '\\' on Windows.
char PathSeparator();

}  // namespace brontel::platform
