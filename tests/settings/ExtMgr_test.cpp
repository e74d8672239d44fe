#include "settings/ExtMgr.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/PlatformError.h"
#include "tests/settings/SettingsFileTest.h"
#include "tests/support/ScopedVariable.h"

namespace brontel {
namespace {

using Map = std::map<std::string, std::int32_t>;

// An empty value counts as unset, which is all Windows can do with one.
void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  ::_putenv_s(name, value.c_str());
#else
  ::setenv(name, value.c_str(), 1);
#endif
}

class ExtMgrTest : public testing::SettingsFileTest {
 protected:
  ExtMgr LoadedFrom(const std::string& bytes) {
    Put(bytes);
    ExtMgr store;
    store.Load();
    return store;
  }
};

TEST_F(ExtMgrTest, DefaultAssociationsAcceptLogFilesAndNamesEndingInADot) {
  ExtMgr store = LoadedFrom("[EXT]\r\n.log=10\r\n.=10\r\n");
  std::int32_t number = -7;
  EXPECT_TRUE(store.IsAssociated("/var/log/trace.log", number));
  EXPECT_EQ(number, 10);
  EXPECT_TRUE(store.IsAssociated("TRACE.LOG", number));
  EXPECT_TRUE(store.IsAssociated("trace.", number));
  number = -7;
  EXPECT_FALSE(store.IsAssociated("trace.txt", number));
  EXPECT_FALSE(store.IsAssociated("trace", number));
  EXPECT_FALSE(store.IsAssociated("app.log.1", number));
  EXPECT_FALSE(store.IsAssociated("", number));
  EXPECT_EQ(number, -7);  // untouched when not associated
}

TEST_F(ExtMgrTest, TheExtensionStartsAfterTheLastSeparatorOrColon) {
  ExtMgr store = LoadedFrom("[EXT]\r\n.1=3\r\n.d=4\r\n");
  std::int32_t number = 0;
  EXPECT_TRUE(store.IsAssociated("app.log.1", number));
  EXPECT_EQ(number, 3);
  EXPECT_FALSE(store.IsAssociated("/srv/logs.d/README", number));
  EXPECT_FALSE(store.IsAssociated("c.d:stream", number));
  EXPECT_TRUE(store.IsAssociated("/srv/logs.d/x.D", number));
}

TEST_F(ExtMgrTest, LoadLowerCasesKeysAndSkipsNegativeOrBadValues) {
  ExtMgr store = LoadedFrom(
      "[EXT]\r\n.LOG=3\r\n.tmp=-1\r\n.bad=ten\r\n.none\r\n.Log=1\r\n.hex=$A\r\n.txt=0\r\n"
      "[ext]\r\n.second=1\r\n");
  EXPECT_EQ(store.Associations, (Map{{".hex", 10}, {".log", 1}, {".txt", 0}}));
  Put("[EXT]\r\n.Log=1\r\n.log=2\r\n");
  store.Load();
  EXPECT_EQ(store.Associations, (Map{{".log", 2}}));
}

TEST_F(ExtMgrTest, NoSettingsFileMeansNoAssociationsAndNoTemplates) {
  ExtMgr store;
  store.Associations[".old"] = 1;
  store.Templates[1] = {{"a", "b", "c"}};
  store.Load();
  EXPECT_TRUE(store.Associations.empty());
  EXPECT_TRUE(store.Templates.empty());
  std::int32_t number = 0;
  EXPECT_FALSE(store.IsAssociated("x.log", number));
}

TEST_F(ExtMgrTest, AssociationsTextUsesKeyOrderAndCarriageReturns) {
  ExtMgr store;
  store.Associations = {{".log", 10}, {".", 10}};
  EXPECT_EQ(store.GetAssociationsText(), ".|10\r.log|10\r");
  store.Associations.clear();
  EXPECT_EQ(store.GetAssociationsText(), "");
}

TEST_F(ExtMgrTest, SetAssociationsTextReplacesAndSaves) {
  Put("[EXT]\r\n.log=10\r\n[Keep]\r\nx=1\r\n");
  ExtMgr store;
  store.Load();
  store.SetAssociationsText(".a|7\r\n.b|12");
  EXPECT_EQ(store.Associations, (Map{{".a", 7}}));
  // The save writes the associations, then the templates (here the built-in ones).
  std::string templates;
  for (const TplHelper& tpl : BuiltInTemplates()) {
    templates += tpl.Key + "=" + tpl.Description + "<$(SEP)>" + tpl.Body + "\r\n";
  }
  EXPECT_EQ(Bytes(), "[Keep]\r\nx=1\r\n[EXT]\r\n.a=7\r\n[TPL2]\r\n" + templates);
}

TEST_F(ExtMgrTest, SetAssociationsTextNumberRules) {
  Put("");
  ExtMgr store;
  store.SetAssociationsText(".A|105\n.b|-1\r.c|-5\r\n.d|0\n.e|10");
  EXPECT_EQ(store.Associations, (Map{{".A", 10}, {".d", 0}, {".e", 10}}));
}

TEST_F(ExtMgrTest, SetAssociationsTextThatChangesNothing) {
  Put("[EXT]\r\n.log=10\r\n");
  ExtMgr store;
  store.Load();
  const std::string before = Bytes();
  store.SetAssociationsText("editor|5");  // only the skipped name: empty map
  store.SetAssociationsText("editor|xx");
  store.SetAssociationsText(".a|7\r\n.b|x");  // one bad number cancels the whole call
  store.SetAssociationsText(".a|7\r\nno bar");
  store.SetAssociationsText(".a|7\r\n\r\n.b|1");  // an empty line has no number either
  store.SetAssociationsText("");
  EXPECT_EQ(store.Associations, (Map{{".log", 10}}));
  EXPECT_EQ(Bytes(), before);
}

TEST_F(ExtMgrTest, MruListReadsNonEmptyValuesAndIsWrittenOnlyIntoAnExistingFile) {
  ExtMgr store;
  store.SetMruText("a\r\nb");
  EXPECT_FALSE(store.SettingsFileExists());
  EXPECT_EQ(store.GetMruText(), "");
  Put("[MRU]\r\nItem0=old\r\nItem1=\r\nother=x\r\nItem0=dup\r\n");
  EXPECT_EQ(store.GetMruText(), "old\r\nx\r\ndup\r\n");
  store.SetMruText("first\nsecond\r\n\r\nfourth");
  EXPECT_EQ(Bytes(), "[MRU]\r\nItem0=first\r\nItem1=second\r\nItem2=\r\nItem3=fourth\r\n");
  EXPECT_EQ(store.GetMruText(), "first\r\nsecond\r\nfourth\r\n");
}

TEST_F(ExtMgrTest, KeyPathValuesRoundTrip) {
  ExtMgr store;
  store.WriteString("Options.LastFolder", "/var/log");
  store.WriteInteger("MsgTypes\\Count", -3);
  store.WriteFloat("A\\B\\C", 0.25);
  store.WriteBool("Options.Active", true);
  EXPECT_EQ(Bytes(),
            "[Preferences]\r\nOptions.LastFolder=/var/log\r\nOptions.Active=1\r\n"
            "[MsgTypes]\r\nCount=-3\r\n[A]\r\nB.C=0.25\r\n");
  EXPECT_EQ(store.ReadString("options.lastfolder", "x"), "/var/log");
  EXPECT_EQ(store.ReadInteger("MSGTYPES\\count", 0), -3);
  EXPECT_EQ(store.ReadFloat("A\\B\\C", 0), 0.25);
  EXPECT_EQ(store.ReadPathString({"A", "B", "C"}, ""), "0.25");
  EXPECT_TRUE(store.ReadBool("Options.Active", false));
  EXPECT_EQ(store.ListKeys("preferences"),
            (std::vector<std::string>{"Options.LastFolder", "Options.Active"}));
  store.EraseSection("MsgTypes");
  EXPECT_EQ(store.ReadInteger("MsgTypes\\Count", 42), 42);
}

TEST_F(ExtMgrTest, APresetFileTakesThePlaceOfTheMessageTypesOnlyWhileItIsNamed) {
  Put("[MsgTypes]\r\nCount=1\r\n[MsgTypes.Own]\r\nName=own\r\n[Preferences]\r\nx=ini\r\n");
  const std::string preset = folder_.Write("brontel.ini.preset",
                                           "[MsgTypes]\nCount=3\n[msgtypes.Own]\nName=preset\n"
                                           "[Preferences]\nx=preset\n[MsgTypesX]\nk=preset\n");
  ExtMgr store;
  SetVariable(kMsgTypesFileVariable, preset);
  EXPECT_EQ(store.ReadInteger("MsgTypes\\Count", 0), 3);
  EXPECT_EQ(store.ReadString("MSGTYPES.Own\\Name", ""), "preset");
  EXPECT_EQ(store.ReadString("x", ""), "ini");
  EXPECT_EQ(store.ReadString("MsgTypesX\\k", "none"), "none");
  store.WriteString("Options.Active", "1");
  SetVariable(kMsgTypesFileVariable, "");
  EXPECT_EQ(store.ReadInteger("MsgTypes\\Count", 0), 1);
  EXPECT_EQ(store.ReadString("MsgTypes.Own\\Name", ""), "own");
  EXPECT_EQ(store.ReadString("Options.Active", ""), "1");
}

TEST_F(ExtMgrTest, ReadsFallBackToTheirDefaults) {
  ExtMgr store;
  EXPECT_EQ(store.ReadString("Options.Missing", "def"), "def");
  Put("[Preferences]\r\nhex=0x10\r\ndollar=$ff\r\nbad=12x\r\nfloat=1.5e3\r\nempty=\r\n"
      "big=99999999999\r\nnonzero=7\r\n");
  EXPECT_EQ(store.ReadInteger("hex", 0), 16);
  EXPECT_EQ(store.ReadInteger("dollar", 0), 255);
  EXPECT_EQ(store.ReadInteger("bad", -1), -1);
  EXPECT_EQ(store.ReadInteger("empty", 5), 5);
  EXPECT_EQ(store.ReadInteger("big", 5), 5);
  EXPECT_EQ(store.ReadFloat("float", 0), 1500.0);
  EXPECT_EQ(store.ReadFloat("bad", 2.5), 2.5);
  EXPECT_EQ(store.ReadString("empty", "def"), "");
  EXPECT_TRUE(store.ReadBool("nonzero", false));
}

TEST_F(ExtMgrTest, TemplatesTextRoundTripsThroughTheFile) {
  Put("[EXT]\r\n.log=10\r\n");
  ExtMgr store;
  store.Load();
  EXPECT_EQ(store.Templates, (TPLMAP{{2, BuiltInTemplates()}}));
  store.SetTemplatesText("4|k\tdesc\tbody\t\r\nnot a group");
  EXPECT_EQ(store.GetTemplatesText(), "4|k\tdesc\tbody\t\r\n");
  ExtMgr reloaded;
  reloaded.Load();
  EXPECT_EQ(reloaded.Templates, (TPLMAP{{4, {{"k", "desc", "body"}}}}));
  EXPECT_EQ(reloaded.Associations, (Map{{".log", 10}}));
}

TEST_F(ExtMgrTest, WritesWithoutAUsableLocationRaise) {
  ExtMgr store;
  SettingsFilePath() = (folder_.Path() / "missing" / "brontel.ini").string();
  EXPECT_THROW(store.WriteInteger("Options.Active", 1), platform::PlatformError);
  EXPECT_EQ(store.ReadInteger("Options.Active", 9), 9);
  store.Associations[".log"] = 10;
  EXPECT_THROW(store.Save(), platform::PlatformError);
}

TEST_F(ExtMgrTest, TheFallbackLocationIsCreatedOnTheFirstWrite) {
  const testing::ScopedVariable xdg("XDG_CONFIG_HOME", (folder_.Path() / "config").c_str());
  SettingsFilePath().clear();
  ExtMgr store;
  store.WriteInteger("Options.WindowState", 2);
  EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "config" / "brontel" / "brontel.ini"));
  EXPECT_EQ(store.ReadInteger("Options.WindowState", 0), 2);
}

TEST_F(ExtMgrTest, GetExtMgrIsCreatedOnceAndLoaded) {
  Put("[EXT]\r\n.Log=4\r\n");
  ExtMgr& first = GetExtMgr();
  EXPECT_EQ(&first, &GetExtMgr());
  first.Load();
  std::int32_t number = 0;
  EXPECT_TRUE(first.IsAssociated("a.LOG", number));
  EXPECT_EQ(number, 4);
}

}  // namespace
}  // namespace brontel
