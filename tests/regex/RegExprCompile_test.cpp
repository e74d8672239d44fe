#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "regex/RegExpr.h"

namespace brontel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ProgramBytes(const RegExpr& re) {
  const RegProgram* program = re.program();
  if (program == nullptr)
    return {};
  return Bytes(program->code(), program->code() + program->codeSize);
}

// The operand text of the first node inside the single top-level alternative.
std::string FirstOperandText(const RegExpr& re) {
  const std::uint8_t* first = re.program()->code() + 1 + kRegNodeHeadSize;
  return reinterpret_cast<const char*>(first + kRegNodeHeadSize);
}

std::string CompileError(const std::string& pattern) {
  RegExpr re(pattern);
  EXPECT_EQ(re.program(), nullptr) << pattern;
  return re.lastError();
}

TEST(RegExprProgram, BytesOfTheErrorMarkerExpression) {
  RegExpr re("^E   .+");
  EXPECT_EQ(ProgramBytes(re),
            (Bytes{0x9C, 0x06, 0x00, 0x14, 0x01, 0x00, 0x03, 0x08, 0x00, 0x08, 0x45, 0x20,
                   0x20, 0x20, 0x00, 0x0B, 0x00, 0x06, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(re.lastError().empty());
}

TEST(RegExprProgram, SimpleStarAfterTheLiteralThatPrecedesIt) {
  // ab*: Literal a, then StarSimple over Literal b.
  EXPECT_EQ(ProgramBytes(RegExpr("ab*")),
            (Bytes{0x9C, 0x06, 0x00, 0x10, 0x08, 0x00, 0x05, 0x61, 0x00, 0x0A,
                   0x00, 0x08, 0x08, 0x00, 0x00, 0x62, 0x00, 0x00, 0x00, 0x00}));
  // abc is one Literal.
  EXPECT_EQ(ProgramBytes(RegExpr("abc")), (Bytes{0x9C, 0x06, 0x00, 0x0A, 0x08, 0x00, 0x07, 0x61,
                                                 0x62, 0x63, 0x00, 0x00, 0x00, 0x00}));
}

TEST(RegExprProgram, TopLevelAlternativesChainToEnd) {
  EXPECT_EQ(ProgramBytes(RegExpr("a|b")),
            (Bytes{0x9C, 0x06, 0x00, 0x08, 0x08, 0x00, 0x0D, 0x61, 0x00, 0x06,
                   0x00, 0x08, 0x08, 0x00, 0x05, 0x62, 0x00, 0x00, 0x00, 0x00}));
}

TEST(RegExprProgram, StarOverAGroupLoopsBackToItsAlternative) {
  EXPECT_EQ(ProgramBytes(RegExpr("(a|b)*")),
            (Bytes{0x9C,                          // signature
                   0x06, 0x00, 0x25,              // 1: top Alternative -> End
                   0x06, 0x00, 0x1C,              // 4: Alternative(group, loop) -> 32
                   0x15, 0x00, 0x03,              // 7: GroupOpen 1
                   0x06, 0x00, 0x08,              // 10: Alternative a -> 18
                   0x08, 0x00, 0x0D, 0x61, 0x00,  // 13: Literal a -> 26
                   0x06, 0x00, 0x08,              // 18: Alternative b -> 26
                   0x08, 0x00, 0x05, 0x62, 0x00,  // 21: Literal b -> 26
                   0x1F, 0x00, 0x03,              // 26: GroupClose 1
                   0x07, 0x00, 0x19,              // 29: LoopBack to 4
                   0x06, 0x00, 0x03,              // 32: Alternative(Empty)
                   0x09, 0x00, 0x03,              // 35: Empty
                   0x00, 0x00, 0x00}));           // 38: End
}

TEST(RegExprProgram, PlusOverAGroupLoopsBackToTheGroup) {
  EXPECT_EQ(ProgramBytes(RegExpr("(a)+")),
            (Bytes{0x9C,                          // signature
                   0x06, 0x00, 0x1D,              // 1: top Alternative -> End
                   0x15, 0x00, 0x03,              // 4: GroupOpen 1
                   0x06, 0x00, 0x08,              // 7: Alternative -> 15
                   0x08, 0x00, 0x05, 0x61, 0x00,  // 10: Literal a
                   0x1F, 0x00, 0x03,              // 15: GroupClose 1
                   0x06, 0x00, 0x06,              // 18: Alternative(LoopBack) -> 24
                   0x07, 0x00, 0x11,              // 21: LoopBack to 4
                   0x06, 0x00, 0x03,              // 24: Alternative(Empty)
                   0x09, 0x00, 0x03,              // 27: Empty
                   0x00, 0x00, 0x00}));           // 30: End
}

TEST(RegExprProgram, OptionalPieceIsAlternativeThenEmpty) {
  EXPECT_EQ(ProgramBytes(RegExpr("x?")),
            (Bytes{0x9C, 0x06, 0x00, 0x11, 0x06, 0x00, 0x08, 0x08, 0x00, 0x08, 0x78,
                   0x00, 0x06, 0x00, 0x03, 0x09, 0x00, 0x03, 0x00, 0x00, 0x00}));
}

TEST(RegExprProgram, EmptyPatternAndEmptyBranchesGetEmptyNodes) {
  EXPECT_EQ(ProgramBytes(RegExpr("")),
            (Bytes{0x9C, 0x06, 0x00, 0x06, 0x09, 0x00, 0x03, 0x00, 0x00, 0x00}));
  RegExpr re("a|");
  ASSERT_NE(re.program(), nullptr);
  EXPECT_EQ(re.program()->code()[12], RegCode(RegNode::Empty));
}

TEST(RegExprProgram, SetMembers) {
  RegExpr range("[a-c]");
  EXPECT_EQ(ProgramBytes(range), (Bytes{0x9C, 0x06, 0x00, 0x0A, 0x04, 0x00, 0x07, 0x61, 0x62, 0x63,
                                        0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(FirstOperandText(RegExpr("[a-a]")), "a");
  EXPECT_EQ(FirstOperandText(RegExpr("[]a]")), "]a");
  EXPECT_EQ(FirstOperandText(RegExpr("[a-]")), "a-");
  EXPECT_EQ(FirstOperandText(RegExpr("[-a]")), "-a");
  EXPECT_EQ(FirstOperandText(RegExpr("[^]x]")), "]x");
  EXPECT_EQ(FirstOperandText(RegExpr("[a\\]")), "a\\");
  EXPECT_EQ(FirstOperandText(RegExpr("[a-c-e]")), "abcde");
  EXPECT_EQ(FirstOperandText(RegExpr("[^|]")), "|");
  EXPECT_EQ(RegExpr("[^|]").program()->code()[4], RegCode(RegNode::NotInSet));
  // Ranges run by unsigned byte value, up to the last one.
  const std::string high = FirstOperandText(RegExpr("[\xfd-\xff]"));
  EXPECT_EQ(high, "\xfd\xfe\xff");
}

TEST(RegExprProgram, RepetitionTakesOnlyTheLastCharacterOfARun) {
  RegExpr re("abc+");
  ASSERT_NE(re.program(), nullptr);
  const std::uint8_t* code = re.program()->code();
  EXPECT_EQ(code[4], RegCode(RegNode::Literal));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(code + 7)), "ab");
  EXPECT_EQ(code[10], RegCode(RegNode::PlusSimple));
  EXPECT_EQ(code[13], RegCode(RegNode::Literal));
  EXPECT_EQ(code[16], 'c');
}

TEST(RegExprProgram, EscapedCharacterIsOneLiteral) {
  RegExpr re("\\.\\*");
  ASSERT_NE(re.program(), nullptr);
  const std::uint8_t* code = re.program()->code();
  EXPECT_EQ(code[4], RegCode(RegNode::Literal));
  EXPECT_EQ(code[7], '.');
  EXPECT_EQ(code[9], RegCode(RegNode::Literal));
  EXPECT_EQ(code[12], '*');
}

TEST(RegExprHeader, AnchoredAndFirstCharacter) {
  RegExpr marker("^E   .+");
  EXPECT_EQ(marker.program()->anchored, 1);
  EXPECT_EQ(marker.program()->firstChar, 0);
  EXPECT_EQ(marker.program()->mustText, nullptr);
  EXPECT_EQ(marker.program()->mustLength, 0);

  EXPECT_EQ(RegExpr("abc").program()->firstChar, 'a');
  EXPECT_EQ(RegExpr("abc").program()->anchored, 0);
  // Two top-level alternatives: nothing is known about every match.
  EXPECT_EQ(RegExpr("ab|ac").program()->firstChar, 0);
  EXPECT_EQ(RegExpr("^a|^b").program()->anchored, 0);
  // Only the very first node counts.
  EXPECT_EQ(RegExpr("(a)").program()->firstChar, 0);
  EXPECT_EQ(RegExpr("a^").program()->anchored, 0);
}

TEST(RegExprHeader, MustTextNeedsALeadingRepeat) {
  RegExpr leading(".*FAILED");
  ASSERT_NE(leading.program()->mustText, nullptr);
  EXPECT_STREQ(leading.program()->mustText, "FAILED");
  EXPECT_EQ(leading.program()->mustLength, 6);

  RegExpr plus(".+FAILED.+");
  EXPECT_EQ(plus.program()->firstChar, 0);
  EXPECT_EQ(plus.program()->anchored, 0);
  EXPECT_EQ(plus.program()->mustText, nullptr);
  EXPECT_EQ(plus.program()->mustLength, 0);

  EXPECT_EQ(RegExpr("abc.*xyz").program()->mustText, nullptr);
  EXPECT_STREQ(RegExpr("x?abc").program()->mustText, "abc");
}

TEST(RegExprHeader, MustTextIsTheLongestLiteralLaterOnTies) {
  EXPECT_STREQ(RegExpr(".*ab.*cd").program()->mustText, "cd");
  EXPECT_STREQ(RegExpr("x*abc.*de").program()->mustText, "abc");
  // Literals inside groups or alternatives are not on the top-level chain.
  RegExpr grouped("(a*)bb(cccc)");
  ASSERT_NE(grouped.program()->mustText, nullptr);
  EXPECT_STREQ(grouped.program()->mustText, "bb");
  // A literal in front of a repetition keeps only what certainly occurs.
  EXPECT_STREQ(RegExpr(".*abcd*").program()->mustText, "abc");
}

TEST(RegExprHeader, FoldedTextIsTheLongestGroupOfCaseVariantsOnTheChain) {
  const auto folded = [](const char* pattern) {
    const RegExpr compiled(pattern);
    const RegProgram* program = compiled.program();
    return program->foldedText == nullptr
               ? std::string("none")
               : std::string(program->foldedText) + "/" + std::to_string(program->foldedLength);
  };
  EXPECT_EQ(folded("level=(error|Error|ERROR)x"), "error/5");
  EXPECT_EQ(folded("(ab|AB)+c(xyz|XYZ)"), "xyz/3");
  EXPECT_EQ(folded("[Ll]vl=(Warn|wARN)"), "Warn/4");
  // Not on every path, not case variants of one text, or not Literals alone.
  EXPECT_EQ(folded("(ab|AB)?c"), "none");
  EXPECT_EQ(folded("(ab|AB)*c"), "none");
  EXPECT_EQ(folded("x|(ab|AB)"), "none");
  EXPECT_EQ(folded("(ab)"), "none");
  EXPECT_EQ(folded("(ab|AC)"), "none");
  EXPECT_EQ(folded("(ab|ABC)"), "none");
  EXPECT_EQ(folded("(ab|A[B])"), "none");
  EXPECT_EQ(folded("(ab|AB*)"), "none");
  EXPECT_EQ(folded("((ab)|AB)"), "none");
}

TEST(RegExprHeader, StartBytesAreEveryByteAMatchCanBeginWith) {
  const auto starts = [](const char* pattern) {
    const RegExpr compiled(pattern);
    const RegProgram* program = compiled.program();
    if (!program->hasStartBytes)
      return std::string("any");
    std::string bytes;
    for (int byte = 1; byte < 256; ++byte) {
      if (program->startBytes[byte / 8] >> (byte % 8) & 1)
        bytes += static_cast<char>(byte);
    }
    return bytes;
  };
  EXPECT_EQ(starts("[Ll]evel"), "Ll");
  EXPECT_EQ(starts("(I/O|-fs) error"), "-I");
  EXPECT_EQ(starts("((x|[ab])+|c+d)y"), "abcx");
  EXPECT_EQ(starts("x|[0-2]"), "012x");
  // A literal first says it all already; anything that may begin with no character or with
  // any character leaves every place to try.
  for (const char* pattern : {"abc", "^[ab]", "a?b", "[ab]*c", "(a|)b", ".x", "[^a]b", "a|^b",
                              ".*x", "(a|b)*c", "()a", "a|b?"})
    EXPECT_EQ(starts(pattern), "any") << pattern;
}

TEST(RegExprErrors, EveryPatternFaultHasItsMessage) {
  EXPECT_EQ(CompileError("a**"), "nested *?+");
  EXPECT_EQ(CompileError("a+?"), "nested *?+");
  EXPECT_EQ(CompileError("*a"), "?+* follows nothing");
  EXPECT_EQ(CompileError("a|+"), "?+* follows nothing");
  EXPECT_EQ(CompileError("(?)"), "?+* follows nothing");
  EXPECT_EQ(CompileError("a)"), "unmatched ()");
  EXPECT_EQ(CompileError("(a"), "unmatched ()");
  EXPECT_EQ(CompileError("((a)"), "unmatched ()");
  EXPECT_EQ(CompileError("[a"), "unmatched []");
  EXPECT_EQ(CompileError("[^"), "unmatched []");
  EXPECT_EQ(CompileError("[]"), "unmatched []");
  EXPECT_EQ(CompileError("[z-a]"), "invalid [] range");
  EXPECT_EQ(CompileError("(a*)*"), "*+ operand could be empty");
  EXPECT_EQ(CompileError("(a|)+"), "*+ operand could be empty");
  EXPECT_EQ(CompileError("^*"), "*+ operand could be empty");
  EXPECT_EQ(CompileError("$+"), "*+ operand could be empty");
  EXPECT_EQ(CompileError("ab\\"), "trailing \\");
  EXPECT_EQ(std::string("trailing \\").size(), 10u);
  EXPECT_EQ(CompileError("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)"), "too many ()");
  EXPECT_EQ(CompileError("(((((((((())))))))))"), "too many ()");
}

TEST(RegExprErrors, NoPatternAtAll) {
  RegExpr re(static_cast<const char*>(nullptr));
  EXPECT_EQ(re.program(), nullptr);
  EXPECT_EQ(re.lastError(), "NULL argument");
  EXPECT_EQ(re.pattern(), "");
}

TEST(RegExprErrors, AcceptedNearTheLimits) {
  for (const char* pattern : {"(a|b)*", "(a*)?", "(a)(b)(c)(d)(e)(f)(g)(h)(i)", "[a-a]", "a|", "|",
                              "()", "(^a)*", "a\\\\", "[\\]"}) {
    RegExpr re(pattern);
    EXPECT_NE(re.program(), nullptr) << pattern << ": " << re.lastError();
    EXPECT_TRUE(re.lastError().empty()) << pattern;
  }
}

TEST(RegExprErrors, ProgramSizeLimit) {
  // A single literal of n characters needs n + 11 bytes.
  RegExpr largest(std::string(32755, 'a'));
  ASSERT_NE(largest.program(), nullptr);
  EXPECT_EQ(largest.program()->codeSize, 32766);
  EXPECT_EQ(CompileError(std::string(32756, 'a')), "regexp too big");
  // Far beyond the limit the count must not wrap around.
  EXPECT_EQ(CompileError(std::string(3'000'000, '.')), "regexp too big");
}

TEST(RegExprErrors, PatternEndsAtItsFirstZeroByte) {
  RegExpr re(std::string("ab\0(", 4));
  ASSERT_NE(re.program(), nullptr);
  EXPECT_EQ(re.pattern().size(), 4u);
  int length = 0;
  EXPECT_EQ(re.Match("xab", length), 1);
}

}  // namespace
}  // namespace brontel
