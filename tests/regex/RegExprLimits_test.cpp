#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "regex/RegExpr.h"

namespace brontel {
namespace {

std::string Repeat(const std::string& unit, std::size_t times) {
  std::string text;
  text.reserve(unit.size() * times);
  for (std::size_t i = 0; i < times; ++i)
    text += unit;
  return text;
}

RegProgram::Owner MakeProgram(const std::vector<std::uint8_t>& bytes) {
  RegProgram::Owner program = RegProgram::Allocate(static_cast<std::int32_t>(bytes.size()));
  std::memcpy(program->code(), bytes.data(), bytes.size());
  return program;
}

TEST(RegExprDepth, RepeatedGroupOverAMegabyteLineFindsNothing) {
  const std::string line = Repeat("ab", 512 * 1024);
  for (const char* pattern : {"(a|b)*", "(a|b)+", "x*(ab)+", "(a|b)*$"}) {
    RegExpr re(pattern);
    int length = -7;
    EXPECT_EQ(re.Match(line.c_str(), length), -1) << pattern;
    EXPECT_EQ(length, -7);
    EXPECT_EQ(re.lastError(), "recursion too deep") << pattern;
  }
}

TEST(RegExprDepth, RepeatedGroupWithinTheLimitStillMatches) {
  const std::string line = Repeat("ab", 300);
  RegExpr re("(a|b)*");
  int length = 0;
  EXPECT_EQ(re.Match(line.c_str(), length), 0);
  EXPECT_EQ(length, 600);
  EXPECT_TRUE(re.lastError().empty());
}

TEST(RegExprDepth, NextSearchAfterAnAbortIsNormal) {
  RegExpr re("(a|b)+");
  const std::string longLine = Repeat("ab", 100000);
  int length = 0;
  ASSERT_EQ(re.Match(longLine.c_str(), length), -1);
  EXPECT_EQ(re.Match("xxab", length), 2);
  EXPECT_EQ(length, 2);
}

TEST(RegExprDepth, SimpleRepetitionsNeedNoDepthOnLongLines) {
  const std::string tail = Repeat("x", 1024 * 1024);
  const std::string failed = "a" + tail + "FAILED" + tail;
  RegExpr urgent(".+FAILED.+");
  int length = 0;
  EXPECT_EQ(urgent.Match(failed.c_str(), length), 0);
  EXPECT_EQ(length, static_cast<int>(failed.size()));

  const std::string marker = "E   " + tail;
  RegExpr error("^E   .+");
  EXPECT_EQ(error.Match(marker.c_str(), length), 0);
  EXPECT_EQ(length, static_cast<int>(marker.size()));

  RegExpr set("[a-z]*y");
  EXPECT_EQ(set.Match((tail + "y").c_str(), length), 0);
  EXPECT_TRUE(set.lastError().empty());
}

TEST(RegExprBudget, RunawayBacktrackingGivesUp) {
  // Every a can be taken by either branch: 2^40 ways to fail before the c.
  const std::string text = Repeat("a", 40) + "cb";
  RegExpr re("(a|a)+b");
  int length = 0;
  EXPECT_EQ(re.Match(text.c_str(), length), -1);
  EXPECT_EQ(re.lastError(), "backtracking limit reached");
}

TEST(RegExprDamagedProgram, WrongSignature) {
  RegExpr re("abc");
  re.program()->code()[0] = 0x9D;
  int length = 0;
  EXPECT_EQ(re.Match("abc", length), -1);
  EXPECT_EQ(re.lastError(), "corrupted program");
  RegProgram::Owner empty = RegProgram::Allocate(0);
  EXPECT_EQ(re.Execute(empty.get(), "abc"), 0);
  EXPECT_EQ(re.lastError(), "corrupted program");
}

TEST(RegExprDamagedProgram, UnknownNodeCode) {
  RegExpr re("x");
  for (std::uint8_t code : {12, 20, 30, 40, 255}) {
    RegProgram::Owner program = MakeProgram({0x9C, code, 0x00, 0x03, 0x00, 0x00, 0x00});
    EXPECT_EQ(re.Execute(program.get(), "abc"), 0) << int{code};
    EXPECT_EQ(re.lastError(), "memory corruption") << int{code};
  }
}

TEST(RegExprDamagedProgram, ChainWithoutEnd) {
  RegExpr re("x");
  RegProgram::Owner program = MakeProgram({0x9C, 0x09, 0x00, 0x00});
  EXPECT_EQ(re.Execute(program.get(), "abc"), 0);
  EXPECT_EQ(re.lastError(), "corrupted pointers");
}

TEST(RegExprDamagedProgram, LinksLeadingOutOfTheBlock) {
  RegExpr re("x");
  // Forward far past the end, back before the start, and a head cut off by the block's end.
  for (const auto& bytes : {std::vector<std::uint8_t>{0x9C, 0x09, 0x7F, 0xFF},
                            std::vector<std::uint8_t>{0x9C, 0x07, 0x00, 0x10},
                            std::vector<std::uint8_t>{0x9C, 0x09, 0x00, 0x03, 0x09}}) {
    RegProgram::Owner program = MakeProgram(bytes);
    EXPECT_EQ(re.Execute(program.get(), "abc"), 0);
    EXPECT_EQ(re.lastError(), "corrupted pointers");
  }
  // A literal operand that runs into the end of the block stops at the zeros that follow it.
  RegProgram::Owner cut = MakeProgram({0x9C, 0x08, 0x00, 0x00, 'a', 'b'});
  EXPECT_EQ(re.Execute(cut.get(), "ab"), 0);
}

TEST(RegExprDamagedProgram, RepetitionOverANodeThatIsNotSimple) {
  RegExpr re("x");
  RegProgram::Owner plus =
      MakeProgram({0x9C, 0x0B, 0x00, 0x06, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00});
  EXPECT_EQ(re.Execute(plus.get(), "abc"), 0);
  EXPECT_EQ(re.lastError(), "internal foulup");
  // With no minimum the zero count still lets the rest match.
  RegProgram::Owner star =
      MakeProgram({0x9C, 0x0A, 0x00, 0x06, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00});
  EXPECT_EQ(re.Execute(star.get(), "abc"), 1);
  EXPECT_EQ(re.lastError(), "internal foulup");
}

TEST(RegExprDamagedProgram, EndlessLoopIsCutOff) {
  RegExpr re("x");
  // Empty -> LoopBack -> Empty -> ... with no choice in between, so no recursion either.
  RegProgram::Owner program = MakeProgram({0x9C, 0x09, 0x00, 0x03, 0x07, 0x00, 0x03});
  EXPECT_EQ(re.Execute(program.get(), "abc"), 0);
  EXPECT_EQ(re.lastError(), "backtracking limit reached");
}

TEST(RegExprOffset, OutsideTheTextFindsNothing) {
  RegExpr re("a*");
  int length = 5;
  EXPECT_EQ(re.Match("abc", length, -1), -1);
  EXPECT_EQ(re.lastError(), "offset outside the text");
  EXPECT_EQ(re.Match("abc", length, 4), -1);
  EXPECT_EQ(length, 5);
  EXPECT_EQ(re.Match("abc", length, 3), 0);
  EXPECT_EQ(length, 0);
}

}  // namespace
}  // namespace brontel
