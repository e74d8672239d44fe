#include "templates/Templatehelpers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/ScratchFolder.h"

namespace brontel {
namespace {

TEST(BuiltInTemplates, NineInOrderWithTheirMarks) {
  const TPLV& builtIn = BuiltInTemplates();
  ASSERT_EQ(builtIn.size(), 9u);
  std::vector<std::string> keys;
  for (const TplHelper& tpl : builtIn)
    keys.push_back(tpl.Key);
  EXPECT_EQ(keys, (std::vector<std::string>{"sw", "if", "ife", "ifee", "for", "fori", "map", "set",
                                            "vector"}));
  EXPECT_EQ(builtIn[0].Body, "switch(|) {/ncase :/n    break;/ndefault:/n    break;/n}/n");
  EXPECT_EQ(builtIn[3].Body, "if( | ) {/n}/nelse if(  ) {/n}/nelse {/n}/n");
  EXPECT_EQ(builtIn[5].Description, "for with int i");
}

TEST(TemplatesToText, BuiltInTableIsOneLineOfTwentySevenFields) {
  const std::string text = TemplatesToText(TPLMAP{{2, BuiltInTemplates()}});
  ASSERT_GE(text.size(), 4u);
  EXPECT_EQ(text.substr(0, 2), "2|");
  EXPECT_EQ(text.substr(text.size() - 3), "\t\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 27);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
  EXPECT_EQ(TemplatesToText({}), "");
}

TEST(TemplatesToText, GroupOrderAndIncompleteTemplates) {
  const TPLMAP map{
      {7, {{"k", "", "b"}, {"", "d", "b"}, {"x", "d", ""}}}, {-1, {{"a", "b", "c"}}}, {3, {}}};
  EXPECT_EQ(TemplatesToText(map), "-1|a\tb\tc\t\r\n7|k\t\tb\t\r\n");
}

TEST(TemplatesFromText, RoundTripsTheTextForm) {
  const TPLMAP original{{0, {{"a", "first", "x|y/n"}}}, {2, BuiltInTemplates()}};
  TPLMAP parsed{{9, {{"old", "", "gone"}}}};
  ASSERT_TRUE(TemplatesFromText(TemplatesToText(original), parsed));
  EXPECT_EQ(parsed, original);
}

TEST(TemplatesFromText, StopsALineAtAMissingTab) {
  TPLMAP map;
  ASSERT_TRUE(TemplatesFromText("5|k1\td1\tb1\tk2\td2\n6|\t\tb\tk\t\t\tk3\td3\tb3\t\r", map));
  EXPECT_EQ(map, (TPLMAP{{5, {{"k1", "d1", "b1"}}}, {6, {{"k3", "d3", "b3"}}}}));
}

TEST(TemplatesFromText, LinesAndGroupNumbers) {
  TPLMAP map;
  EXPECT_TRUE(TemplatesFromText("", map));
  EXPECT_TRUE(map.empty());
  EXPECT_TRUE(TemplatesFromText("4\r\n$A|k\td\tb\t", map));  // a group line without "|"
  EXPECT_EQ(map, (TPLMAP{{10, {{"k", "d", "b"}}}}));
  // A bad group number ends the parse; what came before stays.
  EXPECT_FALSE(TemplatesFromText("1|a\tb\tc\t\r\n\r\n2|d\te\tf\t", map));
  EXPECT_EQ(map, (TPLMAP{{1, {{"a", "b", "c"}}}}));
  EXPECT_FALSE(TemplatesFromText("x|a\tb\tc\t", map));
  EXPECT_TRUE(map.empty());
}

class TemplateFileTest : public ::testing::Test {
 protected:
  void Put(const std::string& bytes) const { folder_.Write(path_, bytes); }
  std::string Bytes() const { return folder_.Read(path_); }

  testing::ScratchFolder folder_;
  std::string path_ = folder_.File("brontel.ini");
};

TEST_F(TemplateFileTest, MissingFileLoadsNothing) {
  TPLMAP map{{1, {{"a", "b", "c"}}}};
  LoadTemplates(path_, map);
  EXPECT_TRUE(map.empty());
}

TEST_F(TemplateFileTest, FileWithoutTemplatesGetsTheBuiltInOnes) {
  Put("[EXT]\r\n.log=10\r\n");
  TPLMAP map;
  LoadTemplates(path_, map);
  EXPECT_EQ(map, (TPLMAP{{2, BuiltInTemplates()}}));
}

TEST_F(TemplateFileTest, ValuesWithoutSeparatorDoNotCountAsLoaded) {
  Put("[TPL0]\r\nx=abc\r\nempty=\r\n[TPL2]\r\nmine=only body\r\n");
  TPLMAP map;
  LoadTemplates(path_, map);
  ASSERT_EQ(map.size(), 2u);
  EXPECT_EQ(map[0], (TPLV{{"x", "", "abc"}}));
  ASSERT_EQ(map[2].size(), 10u);
  EXPECT_EQ(map[2][0], (TplHelper{"mine", "", "only body"}));
  EXPECT_EQ(map[2][1].Key, "sw");
}

TEST_F(TemplateFileTest, SplitsAtTheFirstSeparatorAndReadsOnlyGroupsZeroToNine) {
  Put("[TPL3]\r\nk=a<$(SEP)>b<$(SEP)>c\r\nK=second<$(SEP)>dup\r\n[TPL10]\r\nz=d<$(SEP)>e\r\n");
  TPLMAP map;
  LoadTemplates(path_, map);
  EXPECT_EQ(map, (TPLMAP{{3, {{"k", "a", "b<$(SEP)>c"}, {"K", "second", "dup"}}}}));
}

TEST_F(TemplateFileTest, SaveRewritesOnlyTheMappedGroups) {
  Put("[TPL1]\r\nold=x<$(SEP)>y\r\n[TPL4]\r\nkeep=p<$(SEP)>q\r\n");
  const TPLMAP map{{1, {{"n", "desc", "body|/n"}, {"skip", "d", ""}}}, {12, {{"hi", "", "b"}}}};
  SaveTemplates(path_, map);
  EXPECT_EQ(Bytes(),
            "[TPL4]\r\nkeep=p<$(SEP)>q\r\n[TPL1]\r\nn=desc<$(SEP)>body|/n\r\n"
            "[TPL12]\r\nhi=<$(SEP)>b\r\n");
  TPLMAP loaded;
  LoadTemplates(path_, loaded);  // group 12 is written but not read back
  EXPECT_EQ(loaded, (TPLMAP{{1, {{"n", "desc", "body|/n"}}}, {4, {{"keep", "p", "q"}}}}));
}

}  // namespace
}  // namespace brontel
