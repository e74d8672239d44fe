/** @file DefaultParamsRecord.h: the default-parameters record a host hands to a viewer plug-in. */
#pragma once

#include <string>
#include <vector>

namespace brontel::app {

// The record's bytes: its size, the interface version (low and high word), then the host's
// settings-file name, zero-terminated, in a buffer of the interface's maximum path length. A
// longer name is cut to fit that buffer, as a host with such a buffer would have to.
std::vector<char> DefaultParamsRecord(const std::string& hostSettingsFile);

// The settings-file name this program gives as its own: "wlx.ini" in `directory`, so the
// plug-in's brontel.ini lies beside it there. An empty directory stays empty.
std::string HostSettingsFileIn(const std::string& directory);

// Why a settings folder cannot be handed over in the record: its brontel.ini path (with the
// terminating zero) does not fit the record's buffer, and a cut name would make the plug-in
// use another folder. Empty when it fits.
std::string SettingsFolderProblem(const std::string& directory);

}  // namespace brontel::app
