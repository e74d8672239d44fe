#include "regex/RegExpr.h"

#include "regex/RegCompiler.h"

namespace brontel {
namespace {

// Pattern text up to its first zero byte: the compiler never looks further.
std::string PatternText(const char* pattern) {
  return pattern ? std::string(pattern) : "";
}

bool OffsetInsideText(const char* text, int offset) {
  if (offset < 0)
    return false;
  for (int i = 0; i < offset; ++i) {
    if (text[i] == '\0')
      return false;
  }
  return true;
}

}  // namespace

RegExpr::RegExpr(const char* pattern) : pattern_(PatternText(pattern)) {
  Compile(pattern);
}

RegExpr::RegExpr(const std::string& pattern) : pattern_(pattern) {
  Compile(pattern_.c_str());
}

RegExpr::~RegExpr() = default;

void RegExpr::Compile(const char* pattern) {
  program_ = RegCompiler(lastError_).Compile(pattern);
}

int RegExpr::Match(const char* text, int& length, int offset) {
  if (text != nullptr && !OffsetInsideText(text, offset))
    return RejectOffset();
  const char* subject = text != nullptr ? text + offset : nullptr;
  if (Execute(program_.get(), subject) == 0)
    return -1;
  length = static_cast<int>(program_->groupEnd[0] - program_->groupStart[0]);
  return static_cast<int>(program_->groupStart[0] - subject);
}

// Out of line, so that the search keeps a short prologue.
[[gnu::noinline]] int RegExpr::RejectOffset() {
  lastError_ = "offset outside the text";
  return -1;
}

}  // namespace brontel
