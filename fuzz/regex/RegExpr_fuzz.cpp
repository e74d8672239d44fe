// Compiles the input up to its first newline as a pattern and searches the rest with it. Checks
// that a match lies inside the text, that group slots point into it, that a compiled pattern
// always gets an answer (no limit of the search may turn a match into "not found"), and that the
// search shortcuts give the same answer as the plain program.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "regex/RegExpr.h"

namespace {

bool Inside(const char* position, const std::string& text) {
  return position == nullptr ||
         (position >= text.c_str() && position <= text.c_str() + text.size());
}

// The same program bytes and header facts, without the further shortcuts.
brontel::RegProgram::Owner PlainCopy(const brontel::RegProgram& program) {
  brontel::RegProgram::Owner plain = brontel::RegProgram::Allocate(program.codeSize);
  if (plain == nullptr)
    std::abort();
  std::memcpy(plain->code(), program.code(), static_cast<std::size_t>(program.codeSize));
  plain->firstChar = program.firstChar;
  plain->anchored = program.anchored;
  if (program.mustText != nullptr) {
    plain->mustText = reinterpret_cast<const char*>(plain->code()) +
                      (program.mustText - reinterpret_cast<const char*>(program.code()));
    plain->mustLength = program.mustLength;
  }
  return plain;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const char* newline = static_cast<const char*>(std::memchr(bytes, '\n', size));
  const std::size_t patternSize = newline ? static_cast<std::size_t>(newline - bytes) : size;
  const std::string pattern(bytes, patternSize);
  const std::string text = newline ? std::string(newline + 1, bytes + size) : std::string();

  brontel::RegExpr re(pattern);
  int length = -1;
  const int position = re.Match(text.c_str(), length);
  if (re.program() == nullptr) {
    if (position != -1 || re.lastError().empty())
      std::abort();
    return 0;
  }
  const std::size_t visible = std::strlen(text.c_str());
  if (position >= 0) {
    if (length < 0 || static_cast<std::size_t>(position) + length > visible)
      std::abort();
  }
  for (int slot = 0; slot < brontel::kRegGroupSlots; ++slot) {
    if (!Inside(re.program()->groupStart[slot], text))
      std::abort();
    if (!Inside(re.program()->groupEnd[slot], text))
      std::abort();
  }
  if (!re.lastError().empty())
    std::abort();

  brontel::RegProgram::Owner plain = PlainCopy(*re.program());
  brontel::RegExpr runner("");
  const int plainFound = runner.Execute(plain.get(), text.c_str());
  if (!runner.lastError().empty() || plainFound != (position >= 0 ? 1 : 0))
    std::abort();
  if (plainFound == 1 && position >= 0) {
    for (int slot = 0; slot < brontel::kRegGroupSlots; ++slot) {
      if (plain->groupStart[slot] != re.program()->groupStart[slot])
        std::abort();
      if (plain->groupEnd[slot] != re.program()->groupEnd[slot])
        std::abort();
    }
  }
  return 0;
}
