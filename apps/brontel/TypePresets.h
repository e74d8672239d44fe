/** @file TypePresets.h: the message-type presets that brontel --types names, and their files. */
#pragma once

#include <string>
#include <vector>

#include "settings/ExtMgr.h"

namespace brontel::app {

// A preset: an ini file of message types in the form of brontel.ini's "MsgTypes" sections, with
// a one-line "Description" in its "MsgTypes" section.
struct TypePreset {
  std::string name;  // the file name without ".ini"
  std::string path;
  std::string description;
};

// The settings store on a file of message types: every read goes to `path` (brontel.ini is not
// looked at). Reading only; nothing writes message types.
class TypesFileStore : public ExtMgr {
 public:
  explicit TypesFileStore(std::string path) : path_(std::move(path)) {}
  std::string ReadPathString(const std::vector<std::string>& components,
                             const std::string& defaultValue) override;

 private:
  std::string path_;
};

// Where presets are looked for, best first: share/brontel/types beside an installed program
// (../share/brontel/types from its folder), then the folders this build knows. Empty entries of
// `knownFolders` are skipped.
std::vector<std::string> PresetFolders(const std::string& executablePath,
                                       const std::vector<std::string>& knownFolders);

// Every preset of the folders, by name; a name met again in a later folder is passed over.
std::vector<TypePreset> ListPresets(const std::vector<std::string>& folders);

// The file that `nameOrFile` stands for: an existing file as it is named, else the preset of
// that name; empty when it is neither.
std::string ResolveTypesFile(const std::string& nameOrFile,
                             const std::vector<std::string>& folders);

// Why the file cannot serve as message types, or empty when it can: it must configure at least
// one type (a "MsgTypes" Count of 1 or more with items), each type with expressions, each of
// which compiles.
std::string TypesFileProblem(const std::string& path);

// Has this process, and the modules it loads, read message types from `path` (an absolute path)
// instead of from brontel.ini.
void UseTypesFile(const std::string& path);

}  // namespace brontel::app
