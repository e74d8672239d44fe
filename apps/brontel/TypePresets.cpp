#include "apps/brontel/TypePresets.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>

#include "classify/MsgTypeLoader.h"
#include "platform/IniFile.h"
#include "settings/SettingsFile.h"

namespace brontel::app {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPresetExtension = ".ini";

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::vector<fs::path> PresetFilesOf(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().extension() == kPresetExtension && IsFile(it->path()))
      files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ExpressionProblem(const MsgTypeMatcherInfo& type) {
  if (type.compiled.empty())
    return "the type " + type.name + " has no expressions";
  for (std::size_t j = 0; j < type.compiled.size(); ++j) {
    const RegExpr& expr = *type.compiled[j];
    if (expr.program() == nullptr)
      return "the expression " + type.exprTexts[j] + " of " + type.name +
             " does not compile: " + expr.lastError();
  }
  return {};
}

}  // namespace

std::string TypesFileStore::ReadPathString(const std::vector<std::string>& components,
                                           const std::string& defaultValue) {
  const SettingsKey target = MapKeyPath(components);
  return platform::IniReadString(path_, target.section, target.key, defaultValue);
}

std::vector<std::string> PresetFolders(const std::string& executablePath,
                                       const std::vector<std::string>& knownFolders) {
  std::vector<std::string> folders;
  if (!executablePath.empty()) {
    const fs::path installed =
        fs::path(executablePath).parent_path() / ".." / "share" / "brontel" / "types";
    folders.push_back(installed.lexically_normal().string());
  }
  for (const std::string& known : knownFolders) {
    if (!known.empty())
      folders.push_back(known);
  }
  return folders;
}

std::vector<TypePreset> ListPresets(const std::vector<std::string>& folders) {
  std::vector<TypePreset> presets;
  std::set<std::string> seen;
  for (const std::string& folder : folders) {
    for (const fs::path& file : PresetFilesOf(folder)) {
      if (!seen.insert(file.stem().string()).second)
        continue;
      TypesFileStore store(file.string());
      presets.push_back(
          {file.stem().string(), file.string(), store.ReadString("MsgTypes\\Description", "")});
    }
  }
  std::sort(presets.begin(), presets.end(),
            [](const TypePreset& a, const TypePreset& b) { return a.name < b.name; });
  return presets;
}

std::string ResolveTypesFile(const std::string& nameOrFile,
                             const std::vector<std::string>& folders) {
  if (nameOrFile.empty())
    return {};
  if (IsFile(nameOrFile))
    return nameOrFile;
  for (const TypePreset& preset : ListPresets(folders)) {
    if (preset.name == nameOrFile)
      return preset.path;
  }
  return {};
}

std::string TypesFileProblem(const std::string& path) {
  if (!IsFile(path))
    return "not a readable file";
  TypesFileStore store(path);
  if (store.ReadInteger("MsgTypes\\Count", 0) < 1)
    return "no message types (the MsgTypes section needs a Count of 1 or more)";
  std::vector<MsgTypeMatcherInfo> types;
  LoadMsgTypes(store, types);
  // The loader closes every configured list with the Summary type of its own.
  if (types.size() < 2)
    return "no message types (every MsgTypes Item is empty)";
  for (std::size_t i = 0; i + 1 < types.size(); ++i) {
    std::string problem = ExpressionProblem(types[i]);
    if (!problem.empty())
      return problem;
  }
  return {};
}

void UseTypesFile(const std::string& path) {
#ifdef _WIN32
  ::_putenv_s(kMsgTypesFileVariable, path.c_str());
#else
  ::setenv(kMsgTypesFileVariable, path.c_str(), 1);
#endif
}

}  // namespace brontel::app
