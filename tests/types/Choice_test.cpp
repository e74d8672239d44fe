// The viewer's own choice of message types: by the file's name, by the layout of its first
// lines (every sample of tests/types/samples), and never where the user chose types.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "classify/AutoTypes.h"
#include "classify/LineClassifier.h"
#include "classify/TypeChoice.h"
#include "settings/SettingsFile.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = fs::path(BRONTEL_TYPES_SAMPLES_DIR);

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// BRONTEL_TYPES as a test needs it, and unset again afterwards.
class TypesVariable {
 public:
  explicit TypesVariable(const char* value) {
    if (value != nullptr)
      ::setenv(kMsgTypesFileVariable, value, 1);
    else
      ::unsetenv(kMsgTypesFileVariable);
  }
  ~TypesVariable() { ::unsetenv(kMsgTypesFileVariable); }
};

TEST(TypeChoice, EverySampleIsRecognisedByItsLinesAlone) {
  int samples = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(kSamples)) {
    if (entry.path().extension() != ".log")
      continue;
    ++samples;
    EXPECT_EQ(PresetForText(Contents(entry.path())), entry.path().stem().string()) << entry.path();
  }
  EXPECT_EQ(samples, 12);
}

TEST(TypeChoice, NamesComeFirstWithRotationAndCompressionIgnored) {
  EXPECT_EQ(PresetForFileName("/var/log/syslog"), "syslog");
  EXPECT_EQ(PresetForFileName("/var/log/syslog.2.gz"), "syslog");
  EXPECT_EQ(PresetForFileName("/var/log/messages-20261210"), "syslog");
  EXPECT_EQ(PresetForFileName("/var/log/Kern.log.1"), "syslog");
  EXPECT_EQ(PresetForFileName("/var/log/nginx/error.log"), "web");
  EXPECT_EQ(PresetForFileName("/var/log/apache2/shop-access.log.3"), "web");
  EXPECT_EQ(PresetForFileName("/var/log/mysql/error.log"), "mysql");
  EXPECT_EQ(PresetForFileName("/opt/tomcat/logs/catalina.out"), "log4j");
  EXPECT_EQ(PresetForFileName("/var/log/postgresql/postgresql-16-main.log"), "postgresql");
  EXPECT_EQ(PresetForFileName("/srv/shop/storage/logs/laravel-2026-12-10.log"), "monolog");
  EXPECT_EQ(PresetForFileName("C:\\Windows\\Logs\\CBS\\CBS.log"), "windows");
  EXPECT_EQ(PresetForFileName("C:\\Windows\\INF\\setupapi.dev.log"), "windows");
  EXPECT_EQ(PresetForFileName("/tmp/events.ndjson"), "json");
  EXPECT_EQ(PresetForFileName("/srv/app/app.log"), "");
  EXPECT_EQ(PresetForFileName("/srv/app/syslog-reader.log"), "");
  // The name wins over the lines: a syslog file that begins with odd lines stays syslog.
  EXPECT_EQ(ChoosePreset("/var/log/syslog", "E\tnot really\n"), "syslog");
}

TEST(TypeChoice, OwnFormatUnknownTextAndCutLinesKeepTheBuiltInTypes) {
  EXPECT_EQ(PresetForText("I\t10:00:01 started\nE\t10:00:02 db lost\nW\t10:00:03 slow\n"), "");
  EXPECT_EQ(PresetForText("hello\nworld\n"), "");
  EXPECT_EQ(PresetForText(""), "");
  EXPECT_EQ(PresetForText(std::string(70000, '\0')), "");
  // The line the read cut off does not count; a whole one does.
  EXPECT_EQ(PresetForText("hello\nE1210 09:12:01.101234    4711 server.cc:88] x"), "");
  EXPECT_EQ(PresetForText("E1210 09:12:01.101234    4711 server.cc:88] x"), "glog");
}

class ChosenTypes : public ::testing::Test {
 protected:
  std::string ChosenFor(const std::string& path) {
    LineClassifier types(settings);
    types.SetFilePath(path);
    return types.ChosenPreset();
  }
  testing::MemorySettings settings;
  testing::ScratchFolder folder;
  TypesVariable noVariable{nullptr};
};

TEST_F(ChosenTypes, ThroughTheLoaderTheChosenPresetColoursCountsAndNamesItsLines) {
  const std::string path = folder.Write("syslog", Contents(kSamples / "syslog.log"));
  LineClassifier types(settings);
  types.SetFilePath(path);
  EXPECT_EQ(types.ChosenPresetLabel(), " [types: syslog]");
  EXPECT_TRUE(types.CountLine("May 17 12:00:02 web1 sshd[812]: error: kex_exchange"));
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:1");
  // The viewer's own separator stays Summary although its text says "Warning:".
  EXPECT_EQ(types
                .Types()[static_cast<std::size_t>(
                    types.FindMsgType("|\tError:14, Warning:7, HistoryCount:21"))]
                .name,
            "Summary");
}

TEST_F(ChosenTypes, TheUsersOwnTypesAndTheSwitchAreNeverOverruled) {
  const std::string path = folder.Write("app.log", Contents(kSamples / "glog.log"));
  EXPECT_EQ(ChosenFor(path), "glog");
  // brontel.ini spelling the built-in types out is still no choice.
  settings.values = {{"MsgTypes\\Count", "3"},         {"MsgTypes\\Item0", "E"},
                     {"MsgTypes\\Item1", "W"},         {"MsgTypes\\Item2", "U"},
                     {"MsgTypes.E\\Name", "Error"},    {"MsgTypes.E\\ExprCount", "2"},
                     {"MsgTypes.E\\Expr0", "^E   .+"}, {"MsgTypes.E\\Expr1", "^E\t.+"}};
  EXPECT_EQ(ChosenFor(path), "") << "an own Error type differs from the built-in one";
  settings.values = {{"MsgTypes\\Count", "1"}, {"MsgTypes\\Item0", "Own"}};
  EXPECT_EQ(ChosenFor(path), "");
  {
    TypesVariable explicitChoice("auto");
    EXPECT_EQ(ChosenFor(path), "glog");
  }
  settings.values = {{kAutoMsgTypesKey, "0"}};
  EXPECT_EQ(ChosenFor(path), "");
  settings.values.clear();
  {
    TypesVariable builtin("builtin");
    LineClassifier types(settings);
    types.SetFilePath(path);
    EXPECT_EQ(types.ChosenPreset(), "");
    EXPECT_EQ(types.Types().size(), 4U);
    EXPECT_EQ(types.Types()[0].exprTexts.front(), "^E   .+");
  }
  {
    TypesVariable file(folder.File("mine.ini").c_str());
    EXPECT_EQ(ChosenFor(path), "");
  }
  EXPECT_EQ(ChosenFor(folder.File("syslog")), "") << "a missing file's name promises nothing";
  EXPECT_EQ(ChosenFor(folder.Write("messages", "")), "syslog") << "an empty one's does";
  EXPECT_EQ(ChosenFor(folder.Path().string()), "") << "a folder has no lines";
}

}  // namespace
}  // namespace brontel
