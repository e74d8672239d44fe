/** @file LogByteRarity.h: how seldom a byte appears in log text, for the literal searches. */
#pragma once

#include <string_view>

namespace brontel {

// Higher is rarer. Blanks, digits, the commonest letters and the punctuation of timestamps,
// paths and key=value pairs are on nearly every line; capitals are mostly in level words, and
// the capitals of INFO, GET and timestamps less rare.
inline int LogByteRarity(unsigned char c) {
  constexpr std::string_view kCommonLower = "etaoinsrhlcdmu";
  constexpr std::string_view kScarceLower = "bfgjkpqvwxyz";
  constexpr std::string_view kCommonPunctuation = ":-./=\",_[]()";
  constexpr std::string_view kCommonUpper = "ETAIONSDG";
  const char ch = static_cast<char>(c);
  if (c == ' ')
    return 0;
  if (c >= '0' && c <= '9')
    return 1;
  if (c >= 'a' && c <= 'z') {
    if (kCommonLower.find(ch) != std::string_view::npos)
      return 1;
    return kScarceLower.find(ch) != std::string_view::npos ? 3 : 2;
  }
  if (kCommonPunctuation.find(ch) != std::string_view::npos)
    return 2;
  if (c >= 'A' && c <= 'Z')
    return kCommonUpper.find(ch) != std::string_view::npos ? 3 : 4;
  return 4;
}

}  // namespace brontel
