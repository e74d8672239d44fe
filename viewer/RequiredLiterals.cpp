#include "viewer/RequiredLiterals.h"

#include <algorithm>
#include <cstddef>

namespace brontel {
namespace {

constexpr std::string_view kMeta = "^$.[()|*+?\\";
constexpr std::size_t kShortest = 2;

bool IsRepetition(char c) {
  return c == '*' || c == '+' || c == '?';
}

// The end of the set that opens at `at` ("["): past its "]", whose first member may be "]".
std::size_t SkipSet(std::string_view text, std::size_t at) {
  std::size_t i = at + 1;
  if (i < text.size() && text[i] == '^')
    ++i;
  if (i < text.size() && text[i] == ']')
    ++i;
  while (i < text.size() && text[i] != ']')
    ++i;
  return i < text.size() ? i + 1 : i;
}

// The end of the group that opens at `at`, past its ")".
std::size_t SkipGroup(std::string_view text, std::size_t at) {
  int depth = 0;
  for (std::size_t i = at; i < text.size(); ++i) {
    switch (text[i]) {
      case '\\':
        ++i;
        break;
      case '[':
        i = SkipSet(text, i) - 1;
        break;
      case '(':
        ++depth;
        break;
      case ')':
        if (--depth == 0)
          return i + 1;
        break;
      default:
        break;
    }
  }
  return text.size();
}

// The top-level alternatives of the expression.
std::vector<std::string_view> Alternatives(std::string_view text) {
  std::vector<std::string_view> branches;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == '[') {
      i = SkipSet(text, i) - 1;
    } else if (text[i] == '(') {
      i = SkipGroup(text, i) - 1;
    } else if (text[i] == '|') {
      branches.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  branches.push_back(text.substr(std::min(start, text.size())));
  return branches;
}

// The longest run of ordinary characters that every match of the branch holds.
std::string_view LongestRun(std::string_view branch) {
  std::string_view longest;
  std::size_t i = 0;
  while (i < branch.size()) {
    const char c = branch[i];
    if (kMeta.find(c) == std::string_view::npos) {
      std::size_t end = i;
      while (end < branch.size() && kMeta.find(branch[end]) == std::string_view::npos)
        ++end;
      // A repetition after the run applies to its last character only.
      const std::size_t kept = end < branch.size() && IsRepetition(branch[end]) ? end - 1 : end;
      if (kept - i > longest.size())
        longest = branch.substr(i, kept - i);
      i = end;
    } else if (c == '\\') {
      i += 2;
    } else if (c == '[') {
      i = SkipSet(branch, i);
    } else if (c == '(') {
      i = SkipGroup(branch, i);
    } else {
      ++i;
    }
  }
  return longest;
}

}  // namespace

RequiredTexts RequiredLiterals(std::string_view expression) {
  RequiredTexts required;
  required.leading = true;
  for (const std::string_view branch : Alternatives(expression)) {
    const std::string_view run = LongestRun(branch);
    if (run.size() < kShortest)
      return {};
    required.leading = required.leading && run.data() == branch.data();
    required.texts.emplace_back(run);
  }
  return required;
}

std::size_t EarliestOf(std::string_view text, const std::vector<std::string>& texts) {
  std::size_t earliest = std::string_view::npos;
  for (const std::string& literal : texts)
    earliest = std::min(earliest, text.find(literal));
  return earliest;
}

}  // namespace brontel
