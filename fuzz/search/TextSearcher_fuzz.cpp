// Searches random text for a random pattern from a random start with random flags and checks
// the answer against the search done the literal way: upper-case both texts with the same map,
// then try every position one after another.
//
// Input: flags, casing map, start (two bytes, signed, may lie outside the text), pattern length,
// pattern, then the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Casing.h"
#include "plugin/TextSearcher.h"

namespace {

using brontel::TextOffset;
using brontel::platform::UpperCaseMap;

unsigned char Latin1Upper(unsigned char byte) {
  if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
    return static_cast<unsigned char>(byte - 0x20);
  return byte;
}

char32_t LatinUpper(char32_t code) {
  if ((code >= U'a' && code <= U'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7))
    return code - 0x20;
  if (code >= 0x100 && code <= 0x17F && code % 2 == 1)
    return code - 1;  // most of Latin Extended-A pairs an upper letter with the next code
  return code;
}

const UpperCaseMap& MapNumber(unsigned choice) {
  static const UpperCaseMap plain;
  static const UpperCaseMap eightBit = UpperCaseMap::EightBit(Latin1Upper);
  static const UpperCaseMap utf8 = UpperCaseMap::Utf8(Latin1Upper, LatinUpper);
  switch (choice % 3) {
    case 0:
      return plain;
    case 1:
      return eightBit;
    default:
      return utf8;
  }
}

bool Delimiter(char c) {
  return std::string_view("\t\n\r #(),./:;[\\]_{}").find(c) != std::string_view::npos;
}

bool MatchesAt(std::string_view text, std::size_t at, std::string_view pattern) {
  return at + pattern.size() <= text.size() && text.substr(at, pattern.size()) == pattern;
}

TextOffset LiteralForward(std::string_view text, std::size_t start, std::string_view pattern,
                          bool wholeWords) {
  if (start > text.size())
    return brontel::kNotFound;
  std::size_t end = text.find('\0', start);
  if (end == std::string_view::npos)
    end = text.size();
  const std::string_view region = text.substr(0, end);
  if (pattern.empty())
    return wholeWords ? brontel::kNotFound : static_cast<TextOffset>(start);
  for (std::size_t at = start; at + pattern.size() <= region.size(); ++at) {
    if (!MatchesAt(region, at, pattern))
      continue;
    const std::size_t after = at + pattern.size();
    const bool startsWord = at == start || Delimiter(region[at - 1]);
    const bool endsWord = after == region.size() || Delimiter(region[after]);
    if (!wholeWords || (startsWord && endsWord))
      return static_cast<TextOffset>(at);
  }
  return brontel::kNotFound;
}

TextOffset LiteralBackward(std::string_view text, std::size_t regionEnd, std::string_view pattern,
                           bool wholeWords) {
  if (pattern.empty())
    return brontel::kNotFound;
  std::string_view region = text.substr(0, std::min(regionEnd, text.size()));
  region = region.substr(0, std::min(region.size(), region.find('\0')));
  for (std::size_t last = region.size(); last-- > 0;) {
    if (last + 1 < pattern.size())
      break;
    const std::size_t at = last + 1 - pattern.size();
    if (!MatchesAt(region, at, pattern))
      continue;
    const bool wordBefore = at > 0 && Delimiter(region[at - 1]);
    const bool wordAfter = last + 1 < region.size() && Delimiter(region[last + 1]);
    if (!wholeWords || (wordBefore && wordAfter))
      return static_cast<TextOffset>(at);
  }
  return brontel::kNotFound;
}

TextOffset LiteralSearch(std::string_view text, std::string_view pattern, TextOffset start,
                         int flags, const UpperCaseMap& casing) {
  if (start < 0)
    return brontel::kNotFound;
  const bool matchCase = (flags & brontel::kSearchMatchCase) != 0;
  const std::string upperText = matchCase ? std::string(text) : casing.Upper(text);
  const std::string upperPattern = matchCase ? std::string(pattern) : casing.Upper(pattern);
  const bool wholeWords = (flags & brontel::kSearchWholeWords) != 0;
  const auto from = static_cast<std::size_t>(start);
  if ((flags & brontel::kSearchBackwards) == 0)
    return LiteralForward(upperText, from, upperPattern, wholeWords);
  const std::size_t regionEnd = from == 0 ? upperText.size() : from - 1;
  return LiteralBackward(upperText, regionEnd, upperPattern, wholeWords);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5)
    return 0;
  const int flags = data[0] & 0x0F;
  const UpperCaseMap& casing = MapNumber(data[1]);
  const TextOffset start = static_cast<std::int16_t>(data[2] | (data[3] << 8));
  const std::size_t patternSize = std::min<std::size_t>(data[4] % 16, size - 5);
  const char* bytes = reinterpret_cast<const char*>(data) + 5;
  std::string_view pattern(bytes, patternSize);
  pattern = pattern.substr(0, std::min(pattern.size(), pattern.find('\0')));
  const std::string_view text(bytes + patternSize, size - 5 - patternSize);

  const brontel::TextSearcher searcher(text, casing);
  const TextOffset found = searcher.Search(pattern, start, flags);
  if (found != LiteralSearch(text, pattern, start, flags, casing))
    std::abort();
  return 0;
}
