// The compiled form of a range of patterns, byte for byte with the header facts, as the stored
// reference for any change to the compiler: a program that differs in one byte fails here.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "regex/RegExpr.h"
#include "tests/regex/PatternGenerator.h"

namespace brontel {
namespace {

std::string Hex(const std::uint8_t* bytes, std::int32_t size) {
  std::string text;
  char digits[4];
  for (std::int32_t i = 0; i < size; ++i) {
    std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
    text += digits;
  }
  return text;
}

// The header facts that are set, in one line: first character, anchored, the must text and the
// required text as offset+length into the program, and whether one attempt settles the search.
std::string Facts(const RegExpr& re) {
  const RegProgram* program = re.program();
  if (program == nullptr)
    return "error " + re.lastError();
  const auto span = [program](const char* text, std::int32_t length) {
    return std::to_string(text - reinterpret_cast<const char*>(program->code())) + "+" +
           std::to_string(length);
  };
  std::string facts;
  if (program->firstChar != 0)
    facts += " first=" + std::to_string(program->firstChar);
  if (program->anchored != 0)
    facts += " anchored=" + std::to_string(program->anchored);
  if (program->mustText != nullptr)
    facts += " must=" + span(program->mustText, program->mustLength);
  if (program->requiredText != nullptr)
    facts += " required=" + span(program->requiredText, program->requiredLength);
  if (program->singleAttempt)
    facts += " single";
  return facts.empty() ? facts : facts.substr(1);
}

std::string Code(const RegExpr& re) {
  const RegProgram* program = re.program();
  return program == nullptr ? "" : Hex(program->code(), program->codeSize);
}

struct Pinned {
  const char* pattern;
  const char* code;
  const char* facts;
};

// Every node kind and every way the compiler builds one, the built-in message expressions and
// each header fact.
constexpr Pinned kPinned[] = {
    {"", "9C060006090003000000", ""},
    {"a|", "9C06000808000B6100060006090003000000", ""},
    {"()", "9C06000F1500030600060900031F0003000000", ""},
    {"$", "9C060006020003000000", ""},
    {"a$|^b", "9C06000B080005610002000E06000B0100030800056200000000", ""},
    {"^E   .+", "9C06001401000308000845202020000B0006030000000000", "anchored=1"},
    {"^E\t.+", "9C0600120100030800064509000B0006030000000000", "anchored=1"},
    {".+FAILED.+", "9C0600190B000603000008000A4641494C4544000B0006030000000000",
     "required=13+6 single"},
    {"^[|]   .+", "9C0600180100030400057C00080007202020000B0006030000000000",
     "anchored=1 required=15+3"},
    {"abc", "9C06000A08000761626300000000", "first=97 required=7+3"},
    {"ab*", "9C06001008000561000A00080800006200000000", "first=97 required=7+1"},
    {"abc+", "9C0600110800066162000B00080800006300000000", "first=97 required=7+2"},
    {"x?abc", "9C060018060008080008780006000309000308000761626300000000", "must=21+3"},
    {".*FAILED", "9C0600130A000603000008000A4641494C454400000000", "must=13+6 single"},
    {".*ab.*cd", "9C06001B0A00060300000800066162000A0006030000080006636400000000",
     "must=25+2 single"},
    {"x*abc.*de", "9C06001E0A00080800007800080007616263000A0006030000080006646500000000",
     "must=15+3"},
    {"(a*)bb(cccc)",
     "9C06002B15000306000B0A000808000061001F000308000662620016000306000B080008636363630020000300000"
     "0",
     "must=24+2"},
    {".*abcd*", "9C0600180A0006030000080007616263000A00080800006400000000", "must=13+3 single"},
    {"(a|b)*", "9C06002506001C15000306000808000D610006000808000562001F0003070019060003090003000000",
     ""},
    {"(a*)?", "9C06001D06001415000306000B0A000808000061001F0006060003090003000000", ""},
    {"x(ab)*y",
     "9C06002808000578000600151500030600090800066162001F00030700120600030900030800057900000000",
     "first=120 required=7+1"},
    {"(a|b)+c?",
     "9C06003315000306000808000D610006000808000562001F000306000607001906000309000306000808000863000"
     "60003090003000000",
     ""},
    {"((a|b)c|d)*e",
     "9C06004006003215000306001E16000306000808000D6100060008080005620020000308000D63000600080800056"
     "4001F000307002F0600030900030800056500000000",
     "must=63+1"},
    {"(a)(b)(c)(d)(e)(f)(g)(h)(i)",
     "9C06008115000306000808000561001F0003160003060008080005620020000317000306000808000563002100031"
     "80003060008080005640022000319000306000808000565002300031A000306000808000566002400031B00030600"
     "0808000567002500031C000306000808000568002600031D00030600080800056900270003000000",
     ""},
    {"(^a)*", "9C06002006001715000306000B01000308000561001F0003070014060003090003000000", ""},
    {"[a-c-e]", "9C06000C040009616263646500000000", ""},
    {"[]a]", "9C0600090400065D6100000000", ""},
    {"[a\\]", "9C060009040006615C00000000", ""},
    {"[\xfd-\xff]", "9C06000A040007FDFEFF00000000", ""},
    {"\\.\\*", "9C06000D0800052E000800052A00000000", "first=46 required=7+1"},
    {"[ab]+c", "9C0600110B00090400006162000800056300000000", "required=16+1"},
    {"[^ab]*c", "9C0600110A00090500006162000800056300000000", "must=16+1"},
    {".+x", "9C06000E0B00060300000800057800000000", "required=13+1 single"},
    {"^(ab)", "9C0600150100031500030600090800066162001F0003000000", "anchored=1"},
    {"^a.*b", "9C06001601000308000561000A00060300000800056200000000", "anchored=1"},
};

TEST(RegExprProgramBytes, PinnedPatterns) {
  for (const Pinned& pinned : kPinned) {
    RegExpr re(pinned.pattern);
    EXPECT_EQ(Code(re), pinned.code) << pinned.pattern;
    EXPECT_EQ(Facts(re), pinned.facts) << pinned.pattern;
  }
}

// 64-bit FNV-1a over the bytes of a text.
std::uint64_t Digest(std::uint64_t digest, const std::string& text) {
  for (const char c : text) {
    digest ^= static_cast<std::uint8_t>(c);
    digest *= 0x100000001B3u;
  }
  return digest;
}

// Generated patterns reach combinations no list does; their programs and facts fold into one
// digest.
TEST(RegExprProgramBytes, GeneratedPatternsDigest) {
  PatternGenerator generator(20240611);
  std::uint64_t digest = 0xCBF29CE484222325u;
  for (int i = 0; i < 5000; ++i) {
    const std::string pattern = generator.Pattern();
    RegExpr re(pattern);
    digest = Digest(digest, pattern + "\n" + Code(re) + "\n" + Facts(re) + "\n");
  }
  EXPECT_EQ(digest, 0x77311C9C8B52FF6Du);
}

}  // namespace
}  // namespace brontel
