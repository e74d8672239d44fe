#include "classify/MsgTypeMatcherInfo.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace brontel {
namespace {

MsgTypeMatcherInfo TypeWith(std::initializer_list<const char*> exprs) {
  MsgTypeMatcherInfo type;
  for (const char* expr : exprs)
    type.AddExpr(expr);
  type.CompileExprs();
  return type;
}

TEST(MsgTypeMatcherInfo, StartsEmpty) {
  MsgTypeMatcherInfo type;
  EXPECT_TRUE(type.exprTexts.empty());
  EXPECT_TRUE(type.compiled.empty());
  EXPECT_TRUE(type.name.empty());
  EXPECT_TRUE(type.shortName.empty());
  EXPECT_EQ(type.color.Style, ui::FontStyle::None);
  EXPECT_FALSE(type.MatchesLine("anything at all"));
}

TEST(MsgTypeMatcherInfo, AddExprDoesNotCompile) {
  MsgTypeMatcherInfo type;
  type.AddExpr("abc");
  EXPECT_EQ(type.exprTexts, std::vector<std::string>{"abc"});
  EXPECT_TRUE(type.compiled.empty());
  EXPECT_FALSE(type.MatchesLine("abc"));
  type.CompileExprs();
  ASSERT_EQ(type.compiled.size(), 1u);
  EXPECT_TRUE(type.MatchesLine("xabcx"));
}

TEST(MsgTypeMatcherInfo, CompileExprsReplacesTheCompiledList) {
  MsgTypeMatcherInfo type = TypeWith({"one"});
  type.AddExpr("two");
  type.CompileExprs();
  ASSERT_EQ(type.compiled.size(), 2u);
  EXPECT_EQ(type.compiled[0]->pattern(), "one");
  EXPECT_EQ(type.compiled[1]->pattern(), "two");
  EXPECT_TRUE(type.MatchesLine("two"));
}

TEST(MsgTypeMatcherInfo, ABadExpressionNeverMatchesButTheNextStillDoes) {
  MsgTypeMatcherInfo type = TypeWith({"a(b", "xyz"});
  ASSERT_EQ(type.compiled.size(), 2u);
  EXPECT_EQ(type.compiled[0]->program(), nullptr);
  const std::string error = type.compiled[0]->lastError();
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(type.MatchesLine("a(b"));
  EXPECT_FALSE(type.MatchesLine("ab"));
  EXPECT_TRUE(type.MatchesLine("--xyz--"));
  // Trying the broken expression must not overwrite its compile error.
  EXPECT_EQ(type.compiled[0]->lastError(), error);
}

TEST(MsgTypeMatcherInfo, MatchesAnywhereInTheLine) {
  MsgTypeMatcherInfo type = TypeWith({".+FAILED.+"});
  EXPECT_TRUE(type.MatchesLine("step FAILED here"));
  EXPECT_FALSE(type.MatchesLine("FAILED here"));
  EXPECT_FALSE(type.MatchesLine("step FAILED"));
  EXPECT_FALSE(type.MatchesLine("step failed here"));
}

TEST(MsgTypeMatcherInfo, AnchorsMeanTheLineItself) {
  MsgTypeMatcherInfo type = TypeWith({"^E   .+", "end$"});
  EXPECT_TRUE(type.MatchesLine("E   text"));
  EXPECT_FALSE(type.MatchesLine(" E   text"));
  EXPECT_FALSE(type.MatchesLine("E   "));
  // The line is taken alone, never with what follows it in a caller's buffer.
  const std::string buffer = "the end and more";
  EXPECT_TRUE(type.MatchesLine(std::string_view(buffer).substr(0, 7)));
  EXPECT_FALSE(type.MatchesLine(std::string_view(buffer).substr(0, 8)));
}

TEST(MsgTypeMatcherInfo, TheEngineStopsAtAZeroByte) {
  MsgTypeMatcherInfo type = TypeWith({"FAILED"});
  EXPECT_FALSE(type.MatchesLine(std::string_view("ab\0FAILED", 9)));
  EXPECT_TRUE(type.MatchesLine(std::string_view("FAILED\0ab", 9)));
}

TEST(MsgTypeMatcherInfo, CopyIsDeepAndCompiledAfresh) {
  MsgTypeMatcherInfo source = TypeWith({"^E   .+", "a(b"});
  source.typeNo = 7;
  source.count = 3;
  source.name = "Error";
  source.shortName = "E";
  source.color = {ui::clWhite, ui::clRed, ui::FontStyle::Bold};

  MsgTypeMatcherInfo copy(source);
  EXPECT_EQ(copy.exprTexts, source.exprTexts);
  ASSERT_EQ(copy.compiled.size(), 2u);
  EXPECT_NE(copy.compiled[0].get(), source.compiled[0].get());
  EXPECT_EQ(copy.compiled[1]->program(), nullptr);
  EXPECT_EQ(copy.typeNo, 7);
  EXPECT_EQ(copy.count, 3);
  EXPECT_EQ(copy.name, "Error");
  EXPECT_EQ(copy.shortName, "E");
  EXPECT_EQ(copy.color, source.color);

  source = MsgTypeMatcherInfo();  // the copy must not lean on anything of the source
  EXPECT_TRUE(copy.MatchesLine("E   text"));
}

TEST(MsgTypeMatcherInfo, CopyCompilesTextsThatWereNeverCompiled) {
  MsgTypeMatcherInfo source;
  source.AddExpr("abc");
  MsgTypeMatcherInfo copy(source);
  EXPECT_EQ(copy.compiled.size(), 1u);
  EXPECT_TRUE(copy.MatchesLine("abc"));
}

TEST(MsgTypeMatcherInfo, AssignmentAndGrowingAListKeepEveryTypeWorking) {
  std::vector<MsgTypeMatcherInfo> types;
  for (int i = 0; i < 50; ++i)
    types.push_back(TypeWith({("^T" + std::to_string(i) + " .+").c_str()}));
  for (int i = 0; i < 50; ++i)
    EXPECT_TRUE(types[i].MatchesLine("T" + std::to_string(i) + " x")) << i;

  MsgTypeMatcherInfo target = TypeWith({"zzz"});
  target = types[3];
  EXPECT_TRUE(target.MatchesLine("T3 x"));
  EXPECT_FALSE(target.MatchesLine("zzz"));
  MsgTypeMatcherInfo& same = target;
  target = same;  // self-assignment keeps the type
  EXPECT_TRUE(target.MatchesLine("T3 x"));
}

TEST(MatchSubject, CopiesTheLineOnlyWhenAnExpressionRuns) {
  std::string buffer = "untouched";
  MsgTypeMatcherInfo type = TypeWith({"^E   .+"});
  MatchSubject rejected("W   text", buffer);
  EXPECT_FALSE(type.MatchesLine(rejected));
  EXPECT_EQ(buffer, "untouched");
  MatchSubject tried("E   text", buffer);
  EXPECT_TRUE(type.MatchesLine(tried));
  EXPECT_EQ(buffer, "E   text");
}

// The quick rejections must never change an answer of the engine. Every pattern is run over
// every line both ways: directly through RegExpr::Match and through MatchesLine.
TEST(MsgTypeMatcherInfo, QuickRejectionsAgreeWithTheEngine) {
  const std::vector<std::string> patterns = {
      "^E   .+",   "^E\t.+", "^[|]   .+", ".+FAILED.+", "FAILED", "^abc",  "^ab*c",  "^a?b",
      "^(ab|cd)e", "^a|b",   "x+y",       "ab*",        "^$",     "a.c",   "[ab]cd", "^ab|^cd",
      "(^E)x",     "^E+   ", "^E*x",      "b$",         "^\\^a",  "a\\.b", ".*ERR",  "^E.FAILED",
      "^[ab]cd",   "^[^a]b", "^[a-c]x",   "^[|]\t.+",   "^[x]*y"};
  const std::vector<std::string> lines = {
      "",           "E",        "E   text", "E\ttext", "|   head", "|\thead", " E   text",
      "a FAILED b", "FAILED",   "xFAILEDy", "abc",     "abbbc",    "ac",      "b",
      "ab",         "cde",      "abe",      "xxy",     "yx",       "a-c",     "bcd",
      "cd",         "Ex",       "EEE   ",   "EEx",     "ab$",      "^a",      "a.b",
      "some ERR",   "E-FAILED", "eee",      "E   ",    "acd",      "xb",      "bx",
      "dx",         "|\tz",     "y",        "xxy"};
  for (const std::string& pattern : patterns) {
    MsgTypeMatcherInfo type = TypeWith({pattern.c_str()});
    RegExpr reference(pattern);
    for (const std::string& line : lines) {
      int length = 0;
      const bool expected = reference.Match(line.c_str(), length) >= 0;
      EXPECT_EQ(type.MatchesLine(line), expected) << "pattern " << pattern << " line " << line;
    }
  }
}

// Types that hand their text searches to a shared set answer as they do alone: expressions of
// one text, of two (a needed text and a word in any letter case), with a start to test first,
// and one that does not compile. A subject that brings some other set, or a type compiled
// afresh, goes by the type's own searches.
TEST(MsgTypeMatcherInfo, SharedSearchesAnswerAsTheTypesOwn) {
  std::vector<MsgTypeMatcherInfo> types = {
      TypeWith({"rror: ", "(I/O|-fs) error", "[^0-9] [Ff]ailed", "^<3>", "a(b"}),
      TypeWith({"(warning|Warning|WARNING):", "(error|ERROR) in module [a-z]+"}),
      TypeWith({"status=[0-9]*/FAILURE", "[Oo]ut of memory: ", "x+y"})};
  std::vector<MsgTypeMatcherInfo> alone = types;
  RegLiteralSet shared;
  RegLiteralSet other;
  other.Add(" in module ");
  for (MsgTypeMatcherInfo& type : types)
    type.ShareSearches(&shared);
  ASSERT_GE(shared.size(), 6u);
  for (std::vector<MsgTypeMatcherInfo>* list : {&types, &alone}) {
    (*list)[2].AddExpr("kernel BUG at ");
    (*list)[2].CompileExprs();
  }
  const std::vector<std::string> pieces = {"rror: ",
                                           "I/O",
                                           "-fs",
                                           " error",
                                           " failed",
                                           "1 Failed",
                                           "<3>",
                                           "WARNING",
                                           "Warning",
                                           ":",
                                           "ERROR",
                                           "error",
                                           " in module ",
                                           "abc",
                                           "status=",
                                           "/FAILURE",
                                           "Out of memory: ",
                                           "x",
                                           "y",
                                           " ",
                                           "0",
                                           "kernel BUG at "};
  std::mt19937 random(11);
  std::string buffer;
  for (int round = 0; round < 3000; ++round) {
    std::string line;
    for (std::size_t count = random() % 6; count > 0; --count)
      line += pieces[random() % pieces.size()];
    for (std::size_t i = 0; i < types.size(); ++i) {
      const bool expected = alone[i].MatchesLine(line);
      MatchSubject sharing(line, buffer, &shared);
      EXPECT_EQ(types[i].MatchesLine(sharing), expected) << i << ": " << line;
      MatchSubject another(line, buffer, &other);
      EXPECT_EQ(types[i].MatchesLine(another), expected) << i << ": " << line;
    }
  }
}

}  // namespace
}  // namespace brontel
