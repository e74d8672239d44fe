#include "platform/Casing.h"

namespace brontel::platform {
namespace {

// Latin-1 Supplement, Latin Extended-A and -B and the IPA extensions: the Latin letters that
// UTF-8 writes in two bytes.
constexpr char32_t kFirstLatinLetter = 0xC0;
constexpr char32_t kLastLatinLetter = 0x2AF;
constexpr char32_t kFirstTwoByteCodePoint = 0x80;
constexpr char32_t kLastTwoByteCodePoint = 0x7FF;

bool IsTwoByteCodePoint(char32_t code_point) {
  return code_point >= kFirstTwoByteCodePoint && code_point <= kLastTwoByteCodePoint;
}

std::uint16_t EncodeTwoBytes(char32_t code_point) {
  const unsigned lead = 0xC0 | (code_point >> 6);
  const unsigned continuation = 0x80 | (code_point & 0x3F);
  return static_cast<std::uint16_t>(lead << 8 | continuation);
}

// A mapping that would make a zero byte appear or vanish is refused: the zero byte ends a text.
unsigned char KeepZeroApart(unsigned char byte, unsigned char upper) {
  return (byte == 0 || upper == 0) ? byte : upper;
}

}  // namespace

UpperCaseMap::UpperCaseMap() {
  for (unsigned byte = 0; byte < 256; ++byte) {
    single_[byte] = static_cast<unsigned char>(byte >= 'a' && byte <= 'z' ? byte - 32 : byte);
  }
  for (std::size_t lead = 0; lead < kLeadCount; ++lead) {
    for (unsigned continuation = 0; continuation < 64; ++continuation) {
      pairs_[lead * 64 + continuation] =
          static_cast<std::uint16_t>((kFirstLead + lead) << 8 | (0x80 + continuation));
    }
  }
}

UpperCaseMap UpperCaseMap::EightBit(const ByteMapping& upper) {
  UpperCaseMap map;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const auto b = static_cast<unsigned char>(byte);
    map.single_[byte] = KeepZeroApart(b, upper(b));
  }
  return map;
}

UpperCaseMap UpperCaseMap::Utf8(const ByteMapping& upper,
                                const CodePointMapping& upper_code_point) {
  UpperCaseMap map;
  map.utf8_ = true;
  for (unsigned byte = 0; byte < 0x80; ++byte) {
    const auto b = static_cast<unsigned char>(byte);
    const unsigned char mapped = upper(b);
    map.single_[byte] = mapped < 0x80 ? KeepZeroApart(b, mapped) : b;
  }
  for (char32_t letter = kFirstLatinLetter; letter <= kLastLatinLetter; ++letter) {
    const char32_t upper_letter = upper_code_point(letter);
    if (upper_letter == letter || !IsTwoByteCodePoint(upper_letter))
      continue;
    const std::uint16_t bytes = EncodeTwoBytes(letter);
    const std::size_t lead = (bytes >> 8) - kFirstLead;
    map.pairs_[lead * 64 + ((bytes & 0xFF) - 0x80)] = EncodeTwoBytes(upper_letter);
  }
  return map;
}

std::string UpperCaseMap::Upper(std::string_view text) const {
  std::string result(text);
  for (std::size_t i = 0; i < result.size(); ++i) {
    const auto byte = static_cast<unsigned char>(result[i]);
    if (utf8_ && IsTwoByteLead(byte) && i + 1 < result.size() &&
        IsContinuation(static_cast<unsigned char>(result[i + 1]))) {
      const std::uint16_t upper = PairUpper(byte, static_cast<unsigned char>(result[i + 1]));
      result[i] = static_cast<char>(upper >> 8);
      result[i + 1] = static_cast<char>(upper & 0xFF);
      ++i;
    } else {
      result[i] = static_cast<char>(single_[byte]);
    }
  }
  return result;
}

std::bitset<256> UpperCaseMap::BytesUpperingTo(unsigned char upper) const {
  std::bitset<256> bytes;
  for (unsigned byte = 0; byte < 256; ++byte) {
    if (single_[byte] == upper)
      bytes.set(byte);
  }
  if (!utf8_)
    return bytes;
  for (std::size_t lead = 0; lead < kLeadCount; ++lead) {
    for (unsigned continuation = 0; continuation < 64; ++continuation) {
      const std::uint16_t pair = pairs_[lead * 64 + continuation];
      if ((pair >> 8) == upper)
        bytes.set(kFirstLead + lead);
      if ((pair & 0xFF) == upper)
        bytes.set(0x80 + continuation);
    }
  }
  return bytes;
}

}  // namespace brontel::platform
