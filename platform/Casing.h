/** @file Casing.h: upper-casing of 8-bit text as a locale says, offset for offset. */
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace brontel::platform {

// The upper-case mapping of one locale, fixed when the map is made; immutable afterwards, so one
// map may be read from any number of threads.
//
// Upper-casing never changes the length of a text: byte i of the result belongs to byte i of the
// input, so offsets found in upper-cased text are offsets in the original. In an 8-bit locale
// every byte maps on its own. In a UTF-8 locale the ASCII bytes map on their own, and a two-byte
// UTF-8 sequence of a Latin letter (U+00C0..U+02AF) maps to its upper-case letter when that one
// is also two bytes long (é to É, ÿ to Ÿ; ı and ſ stay, their upper-case forms are one byte).
// Every other byte of a UTF-8 text is left alone, whether it belongs to a longer sequence or to
// none, so malformed text is upper-cased as far as it can be and never fails.
class UpperCaseMap {
 public:
  // Upper-case form of one byte, as the locale's single-byte mapping gives it.
  using ByteMapping = std::function<unsigned char(unsigned char)>;
  // Upper-case form of one Unicode code point.
  using CodePointMapping = std::function<char32_t(char32_t)>;

  // The mapping of the "C" locale: a..z to A..Z, nothing else.
  UpperCaseMap();

  // An 8-bit locale's mapping: byte b becomes upper(b).
  static UpperCaseMap EightBit(const ByteMapping& upper);

  // A UTF-8 locale's mapping: ASCII byte b becomes upper(b) unless that is not ASCII, and the
  // two-byte Latin letters follow upper_code_point as described above.
  static UpperCaseMap Utf8(const ByteMapping& upper, const CodePointMapping& upper_code_point);

  // True when two-byte UTF-8 sequences are upper-cased as units.
  bool FoldsUtf8Pairs() const { return utf8_; }

  // Upper-case form of byte `i` of `text`. In a UTF-8 map a byte's neighbours decide whether it
  // belongs to a two-byte sequence. Requires i < text.size().
  unsigned char UpperAt(std::string_view text, std::size_t i) const {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80 || !utf8_)
      return single_[byte];
    if (IsContinuation(byte) && i > 0) {
      const auto lead = static_cast<unsigned char>(text[i - 1]);
      if (IsTwoByteLead(lead))
        return static_cast<unsigned char>(PairUpper(lead, byte) & 0xFF);
    }
    if (IsTwoByteLead(byte) && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if (IsContinuation(next))
        return static_cast<unsigned char>(PairUpper(byte, next) >> 8);
    }
    return byte;
  }

  // Upper-case form of a byte standing on its own (no neighbours to pair with).
  unsigned char UpperByte(unsigned char byte) const { return single_[byte]; }

  // The whole text upper-cased; same length as `text`.
  std::string Upper(std::string_view text) const;

  // Every byte that upper-cases to `upper` at some place in some text, `upper` itself included
  // when it maps to itself. Scanners use it to look for a letter in all its case forms at once.
  std::bitset<256> BytesUpperingTo(unsigned char upper) const;

 private:
  static constexpr unsigned char kFirstLead = 0xC2;
  static constexpr unsigned char kLastLead = 0xDF;
  static constexpr std::size_t kLeadCount = kLastLead - kFirstLead + 1;

  static bool IsTwoByteLead(unsigned char byte) { return byte >= kFirstLead && byte <= kLastLead; }
  static bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

  // The upper-cased sequence of lead and continuation as (lead << 8 | continuation).
  std::uint16_t PairUpper(unsigned char lead, unsigned char continuation) const {
    return pairs_[(lead - kFirstLead) * 64 + (continuation - 0x80)];
  }

  std::array<unsigned char, 256> single_{};
  std::array<std::uint16_t, kLeadCount * 64> pairs_{};
  bool utf8_ = false;
};

// The mapping of the named locale (its character-type part: "de_DE.ISO-8859-1", "C.UTF-8").
// Throws PlatformError when the system does not know the locale.
UpperCaseMap UpperCaseMapOfLocale(const std::string& name);

// The mapping of the user's locale, as the environment selects it now (LC_ALL, LC_CTYPE, LANG on
// POSIX; the user's default locale on Windows). Made afresh on each call, which is cheap next to
// any search; an unknown locale gives the "C" mapping. Fails only when memory runs out.
UpperCaseMap UserUpperCaseMap();

}  // namespace brontel::platform
