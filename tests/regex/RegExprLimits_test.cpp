#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
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

// Offsets of group n of the last search into `text`.
std::pair<long, long> Group(const RegExpr& re, const std::string& text, int n) {
  return {re.program()->groupStart[n] - text.c_str(), re.program()->groupEnd[n] - text.c_str()};
}

TEST(RegExprLongLines, RepeatedGroupsMatchAtAnyLength) {
  const std::string xy = "x" + Repeat("ab", 5000) + "y";
  RegExpr group("x(ab)*y");
  int length = 0;
  EXPECT_EQ(group.Match(xy.c_str(), length), 0);
  EXPECT_EQ(length, static_cast<int>(xy.size()));
  EXPECT_EQ(Group(group, xy, 1), std::make_pair(9999L, 10001L));

  const std::string ab = Repeat("ab", 100000);
  RegExpr whole("^(a|b)*c$");
  EXPECT_EQ(whole.Match((ab + "c").c_str(), length), 0);
  EXPECT_EQ(length, 200001);
  EXPECT_EQ(whole.Match((ab + "cc").c_str(), length), -1);
  EXPECT_TRUE(whole.lastError().empty());

  // A megabyte of repetitions, each group keeping its last one.
  const std::string line = Repeat("ab", 512 * 1024);
  RegExpr nested("((a)|(b))+$");
  EXPECT_EQ(nested.Match(line.c_str(), length), 0);
  EXPECT_EQ(length, static_cast<int>(line.size()));
  const long end = static_cast<long>(line.size());
  EXPECT_EQ(Group(nested, line, 1), std::make_pair(end - 1, end));
  EXPECT_EQ(Group(nested, line, 2), std::make_pair(end - 2, end - 1));
  EXPECT_EQ(Group(nested, line, 3), std::make_pair(end - 1, end));
  EXPECT_TRUE(nested.lastError().empty());
}

TEST(RegExprLongLines, QuadraticAndExponentialSearchesComplete) {
  const std::string as = Repeat("a", 4000);
  struct Case {
    const char* pattern;
    std::string text;
    int position;
  };
  const Case cases[] = {
      {"[ab]*[cd]", as, -1},
      {"[ab]*[cd]", as + "d", 0},
      {"(a|b)*[cd]", as + "b", -1},
      {"a+a+a+[cd]", as, -1},
      {"(a|a)+b", as + "cb", -1},
      {"(a|a)+b", as + "b", 0},
      {"(a*|b)(a|c)+[de]", as + "f", -1},
      {"x*a(b|a)*c", as + "c", 0},
  };
  for (const Case& c : cases) {
    RegExpr re(c.pattern);
    int length = -1;
    EXPECT_EQ(re.Match(c.text.c_str(), length), c.position) << c.pattern;
    EXPECT_TRUE(re.lastError().empty()) << c.pattern << ": " << re.lastError();
  }
}

// Group nodes leave nothing on the stack: nested groups in a repetition over a megabyte cost
// one choice per character, and each group keeps its last repetition.
TEST(RegExprLongLines, NestedGroupsInARepetitionOverAMegabyteMatch) {
  const std::string line = Repeat("a", 1024 * 1024);
  RegExpr re("((((a))))+$");
  int length = 0;
  EXPECT_EQ(re.Match(line.c_str(), length), 0);
  EXPECT_EQ(length, static_cast<int>(line.size()));
  EXPECT_TRUE(re.lastError().empty()) << re.lastError();
  const long end = static_cast<long>(line.size());
  for (int group = 1; group <= 4; ++group)
    EXPECT_EQ(Group(re, line, group), std::make_pair(end - 1, end)) << group;
}

TEST(RegExprLongLines, ASearchBeyondTheMemoryLimitFindsNothingAndSaysSo) {
  // Every character leaves a choice of 8 bytes on the stack: nine megabytes need more than 64.
  const std::string line(9 * 1024 * 1024, 'a');
  RegExpr re("((((a))))+$");
  int length = -7;
  EXPECT_EQ(re.Match(line.c_str(), length), -1);
  EXPECT_EQ(length, -7);
  EXPECT_EQ(re.lastError(), "search needs more than 64 MB");
  EXPECT_EQ(re.Match("xxaa", length), 2);
  EXPECT_EQ(length, 2);
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
  // Larger than any program the compiler makes: its nodes could not be addressed.
  RegProgram::Owner huge = RegProgram::Allocate(kRegProgramSizeLimit + 1);
  huge->code()[0] = kRegSignature;
  EXPECT_EQ(re.Execute(huge.get(), "abc"), 0);
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
  EXPECT_EQ(re.lastError(), "endless loop in program");
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
