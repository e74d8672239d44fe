#include "apps/brontel/TypePresets.h"

#include <gtest/gtest.h>

#include "tests/support/ScratchFolder.h"

namespace brontel::app {
namespace {

constexpr const char* kOneType =
    "[MsgTypes]\nDescription=one type\nCount=1\nItem0=A\n[MsgTypes.A]\nName=A\nExprCount=1\n"
    "Expr0=\"^A \"\n";

TEST(TypePresetsTest, PresetsAreFoundByNameFirstFolderFirstAndFilesAsNamed) {
  testing::ScratchFolder folder;
  const auto first = folder.Path() / "first";
  const auto second = folder.Path() / "second";
  std::filesystem::create_directories(first);
  std::filesystem::create_directories(second);
  folder.Write(first / "b.ini", kOneType);
  folder.Write(second / "b.ini", "[MsgTypes]\nDescription=shadowed\n");
  folder.Write(second / "a.ini", "[MsgTypes]\nDescription=second a\n");
  folder.Write(second / "notes.txt", "not a preset");
  const std::vector<std::string> folders = {first.string(), second.string(), "/no/such/folder"};

  const std::vector<TypePreset> presets = ListPresets(folders);
  ASSERT_EQ(presets.size(), 2U);
  EXPECT_EQ(presets[0].name + "=" + presets[0].description, "a=second a");
  EXPECT_EQ(presets[1].name + "=" + presets[1].description, "b=one type");

  EXPECT_EQ(ResolveTypesFile("b", folders), (first / "b.ini").string());
  const std::string file = (second / "notes.txt").string();
  EXPECT_EQ(ResolveTypesFile(file, folders), file);
  EXPECT_EQ(ResolveTypesFile("c", folders), "");
  EXPECT_EQ(ResolveTypesFile("", folders), "");
}

TEST(TypePresetsTest, TheInstalledFolderComesBeforeTheKnownOnes) {
  EXPECT_EQ(PresetFolders("/opt/b/bin/brontel", {"", "/src/types"}),
            (std::vector<std::string>{"/opt/b/share/brontel/types", "/src/types"}));
  EXPECT_EQ(PresetFolders("", {"/src/types"}), std::vector<std::string>{"/src/types"});
}

// A file that would silently fall back to the built-in types, or types that never match,
// is refused with the reason.
TEST(TypePresetsTest, FilesThatDoNotGiveWorkingTypesAreRefused) {
  testing::ScratchFolder folder;
  const auto path = folder.Path() / "t.ini";
  EXPECT_EQ(TypesFileProblem(path.string()), "not a readable file");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {kOneType, ""},
      {"[MsgTypes]\nCount=0\n", "no message types"},
      {"[Other]\nCount=2\n", "no message types"},
      {"[MsgTypes]\nCount=1\n", "no message types (every MsgTypes Item is empty)"},
      {"[MsgTypes]\nCount=1\nItem0=A\n[MsgTypes.A]\nName=A\n", "the type A has no expressions"},
      {"[MsgTypes]\nCount=1\nItem0=A\n[MsgTypes.A]\nName=A\nExprCount=2\nExpr0=x\nExpr1=a(b\n",
       "the expression a(b of A does not compile: unmatched ()"},
  };
  for (const auto& [text, problem] : cases) {
    folder.Write(path, text);
    const std::string found = TypesFileProblem(path.string());
    EXPECT_EQ(problem.empty() ? found : found.substr(0, problem.size()), problem) << text;
  }
}

}  // namespace
}  // namespace brontel::app
