// Long lines against PCRE2's interpreter, which tries alternatives in order and repetitions
// greedily just as this engine does, so both must find the same match and the same groups.

#define PCRE2_CODE_UNIT_WIDTH 8
#include <gtest/gtest.h>
#include <pcre2.h>

#include <cstddef>
#include <string>

#include "regex/RegExpr.h"
#include "tests/regex/PatternGenerator.h"

namespace brontel {
namespace {

class Pcre2 {
 public:
  explicit Pcre2(const std::string& pattern) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.c_str()), pattern.size(), 0, &error,
                          &offset, nullptr);
    data_ = code_ ? pcre2_match_data_create_from_pattern(code_, nullptr) : nullptr;
    // PCRE2 backtracks without remembering failures: where it would take long it gives up,
    // and that search is not compared.
    context_ = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(context_, 200000);
  }
  ~Pcre2() {
    pcre2_match_context_free(context_);
    pcre2_match_data_free(data_);
    pcre2_code_free(code_);
  }
  Pcre2(const Pcre2&) = delete;
  Pcre2& operator=(const Pcre2&) = delete;

  bool compiled() const { return code_ != nullptr; }
  // The match result: at least 1 when found, PCRE2_ERROR_NOMATCH, or a limit error.
  int Match(const std::string& text) {
    return pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(text.c_str()), text.size(), 0, 0, data_,
                       nullptr);
  }
  // Offsets of group n, -1 for a group that took no part.
  long Start(int n) const { return Offset(2 * n); }
  long End(int n) const { return Offset(2 * n + 1); }

 private:
  long Offset(int index) const {
    if (static_cast<std::uint32_t>(index) >= 2 * pcre2_get_ovector_count(data_))
      return -1;
    const PCRE2_SIZE value = pcre2_get_ovector_pointer(data_)[index];
    return value == PCRE2_UNSET ? -1 : static_cast<long>(value);
  }

  pcre2_code* code_ = nullptr;
  pcre2_match_data* data_ = nullptr;
  pcre2_match_context* context_ = nullptr;
};

long Offset(const char* position, const std::string& text) {
  return position ? static_cast<long>(position - text.c_str()) : -1;
}

// Compares one search; false when PCRE2 gave up on a limit of its own.
bool SameAsPcre2(RegExpr& re, Pcre2& reference, const std::string& text, bool& found) {
  const int expected = reference.Match(text);
  if (expected < 0 && expected != PCRE2_ERROR_NOMATCH)
    return false;
  found = re.Execute(re.program(), text.c_str()) == 1;
  EXPECT_TRUE(re.lastError().empty()) << re.pattern() << ": " << re.lastError();
  EXPECT_EQ(found, expected > 0) << re.pattern() << " over " << text.size() << " characters";
  if (!found || expected <= 0)
    return true;
  const RegProgram& program = *re.program();
  for (int n = 0; n < kRegGroupSlots; ++n) {
    EXPECT_EQ(Offset(program.groupStart[n], text), reference.Start(n))
        << re.pattern() << " group " << n << " over " << text.size() << " characters";
    EXPECT_EQ(Offset(program.groupEnd[n], text), reference.End(n))
        << re.pattern() << " group " << n << " over " << text.size() << " characters";
  }
  return true;
}

// Generated expressions, bare and forced to the end of the line, over a long filler and a short
// random tail: most searches fail or succeed only near the end.
TEST(RegExprReference, LongLinesAgreeWithPcre2) {
  PatternGenerator generator(2026);
  int compared = 0;
  int lateOrNone = 0;
  for (int round = 0; round < 240; ++round) {
    std::string pattern = generator.Pattern();
    if (round % 2 == 1)
      pattern = "(" + pattern + ")$";
    RegExpr re(pattern);
    Pcre2 reference(pattern);
    if (re.program() == nullptr || !reference.compiled())
      continue;
    // PCRE2 scans a repeated "." to the end of the line again from every start position: such
    // patterns get the shortest line, so that the reference stays quick.
    const bool rescans =
        pattern.find(".*") != std::string::npos || pattern.find(".+") != std::string::npos;
    const std::size_t length = rescans           ? 1024
                               : round % 40 == 0 ? 1024 * 1024
                                                 : std::size_t{1024} << (round % 5);
    const std::string text = generator.Filler(length) + generator.Text();
    bool found = false;
    if (!SameAsPcre2(re, reference, text, found))
      continue;
    ++compared;
    if (!found || Offset(re.program()->groupEnd[0], text) > static_cast<long>(length))
      ++lateOrNone;
  }
  EXPECT_GT(compared, 150) << lateOrNone;
  EXPECT_GT(lateOrNone, 60) << compared;
}

}  // namespace
}  // namespace brontel
