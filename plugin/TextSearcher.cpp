#include "plugin/TextSearcher.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cstring>
#include <string>
#include <utility>

#include "diagnostics/TraceLog.h"
#include "regex/ByteLanes.h"

namespace brontel {
namespace {

using Byte = unsigned char;
constexpr std::size_t kNoCandidate = static_cast<std::size_t>(-1);

constexpr std::array<bool, 256> MakeDelimiterTable() {
  std::array<bool, 256> table{};
  for (const char c : std::string_view("\t\n\r #(),./:;[\\]_{}")) {
    table[static_cast<Byte>(c)] = true;
  }
  return table;
}
constexpr std::array<bool, 256> kDelimiters = MakeDelimiterTable();

Byte ByteAt(std::string_view text, std::size_t i) {
  return static_cast<Byte>(text[i]);
}

// How text bytes compare with pattern bytes. Each one answers the byte as the comparison sees it
// (At), whether the text holds the pattern at a place (Holds), and which text bytes can stand for
// a pattern byte (Preimages).
class ExactBytes {
 public:
  Byte At(std::string_view text, std::size_t i) const { return ByteAt(text, i); }
  bool Holds(std::string_view text, std::size_t at, std::string_view pattern) const {
    // Most candidates fail at once; a loop costs less for them than a call.
    for (std::size_t k = 0; k < pattern.size(); ++k) {
      if (text[at + k] != pattern[k])
        return false;
    }
    return true;
  }
  std::bitset<256> Preimages(Byte byte) const { return std::bitset<256>().set(byte); }
};

// Compares upper-case forms under a locale's map. With kPairs (a UTF-8 map) a byte's neighbours
// decide its upper-case form, so a text byte is upper-cased as it stands in the whole text.
template <bool kPairs>
class LocaleCasing {
 public:
  explicit LocaleCasing(const platform::UpperCaseMap& map) : map_(map) {}
  Byte At(std::string_view text, std::size_t i) const {
    if constexpr (kPairs) {
      return map_.UpperAt(text, i);
    } else {
      return map_.UpperByte(ByteAt(text, i));
    }
  }
  bool Holds(std::string_view text, std::size_t at, std::string_view pattern) const {
    for (std::size_t k = 0; k < pattern.size(); ++k) {
      if (At(text, at + k) != ByteAt(pattern, k))
        return false;
    }
    return true;
  }
  std::bitset<256> Preimages(Byte byte) const { return map_.BytesUpperingTo(byte); }

 private:
  const platform::UpperCaseMap& map_;
};

// The offset of the first zero byte in [from, to), or `otherwise`.
std::size_t FirstZeroOr(const Byte* text, std::size_t from, std::size_t to, std::size_t otherwise) {
  const void* zero = from < to ? std::memchr(text + from, 0, to - from) : nullptr;
  return zero != nullptr ? static_cast<std::size_t>(static_cast<const Byte*>(zero) - text)
                         : otherwise;
}

// One position of the pattern that every candidate must pass: the text byte there must be one of
// the bytes that can stand for the pattern's byte.
struct Anchor {
  std::size_t offset = 0;
  std::bitset<256> bytes;
  // The one or two bytes of `bytes` (the same one twice), when there are no more.
  std::array<Byte, 2> few{};
  bool hasFew = false;
};

Anchor MakeAnchor(std::size_t offset, const std::bitset<256>& bytes) {
  Anchor anchor{offset, bytes, {}, false};
  if (bytes.count() == 0 || bytes.count() > 2)
    return anchor;
  std::size_t found = 0;
  for (unsigned byte = 0; byte < 256 && found < 2; ++byte) {
    if (bytes.test(byte))
      anchor.few[found++] = static_cast<Byte>(byte);
  }
  if (found == 1)
    anchor.few[1] = anchor.few[0];
  anchor.hasFew = true;
  return anchor;
}

#if BRONTEL_HAS_LANES
using lanes::kLaneCount;
using lanes::LaneBits;
using lanes::LaneFlags;
using lanes::Lanes;
using lanes::LoadLanes;
using lanes::SplatLanes;

// An anchor's bytes spread over all lanes. Made as a local of each scan, so that the compiler
// keeps it in registers while the scan calls out to check candidates.
struct AnchorLanes {
  explicit AnchorLanes(const Anchor& anchor)
      : offset(anchor.offset), one(SplatLanes(anchor.few[0])), other(SplatLanes(anchor.few[1])) {}

  LaneFlags Flags(Lanes lanes) const { return (lanes == one) | (lanes == other); }
  LaneFlags Flags(const Byte* block) const { return Flags(LoadLanes(block + offset)); }

  std::size_t offset;
  Lanes one;
  Lanes other;
};
#endif

// Finds the places where the pattern may start, cheaply: those whose bytes at two anchor
// positions can stand for the pattern's bytes there. Places pass in order to a `visit` callback,
// which checks them properly and answers true to stop.
class CandidateFilter {
 public:
  template <class Comparison>
  CandidateFilter(std::string_view pattern, const Comparison& comparison) {
    const std::size_t last = pattern.size() - 1;
    // Positions whose byte has few forms let sixteen places be tested at once; the two ends are
    // preferred, as they are the furthest apart.
    constexpr std::size_t kLookInward = 8;
    std::size_t firstOffset = 0;
    for (std::size_t k = 0; k <= last && k < kLookInward; ++k) {
      if (comparison.Preimages(ByteAt(pattern, k)).count() <= 2) {
        firstOffset = k;
        break;
      }
    }
    std::size_t secondOffset = last;
    for (std::size_t k = 0; k <= last && k < kLookInward; ++k) {
      const std::size_t offset = last - k;
      if (offset <= firstOffset)
        break;
      if (comparison.Preimages(ByteAt(pattern, offset)).count() <= 2) {
        secondOffset = offset;
        break;
      }
    }
    first_ = MakeAnchor(firstOffset, comparison.Preimages(ByteAt(pattern, firstOffset)));
    second_ = MakeAnchor(secondOffset, comparison.Preimages(ByteAt(pattern, secondOffset)));
    if (!second_.hasFew && first_.hasFew)
      second_ = first_;
    if (!first_.hasFew && second_.hasFew)
      first_ = second_;
  }

  // Visits, from the lowest, the places from `begin` on where the whole pattern (`length` bytes)
  // lies inside the region: before the first zero byte at or after `begin`, and before `size`.
  // Answers the place accepted or kNoCandidate.
  template <class Visit>
  std::size_t Forward(const Byte* text, std::size_t size, std::size_t begin, std::size_t length,
                      Visit&& visit) const {
    std::size_t place = begin;
    std::size_t regionEnd = size;
    // Bytes before `checked` are known to hold no zero byte.
    std::size_t checked = begin;
#if BRONTEL_HAS_LANES
    if (first_.hasFew) {
      // The first anchor's lanes see every byte from begin + its offset on; the few before are
      // looked at here. Each block then looks for the zero byte in the same lanes.
      checked = std::min(size, begin + first_.offset);
      regionEnd = FirstZeroOr(text, begin, checked, size);
      const AnchorLanes firstLanes(first_);
      const AnchorLanes secondLanes(second_);
      const Lanes zeroLanes = SplatLanes(0);
      while (regionEnd - place >= kLaneCount + length - 1) {
        const Byte* block = text + place;
        const Lanes first = LoadLanes(block + first_.offset);
        const std::uint32_t zeros = LaneBits(first == zeroLanes);
        const std::uint32_t bits = LaneBits(firstLanes.Flags(first) & secondLanes.Flags(block));
        if (zeros != 0) {
          regionEnd = place + first_.offset + static_cast<std::size_t>(std::countr_zero(zeros));
          checked = regionEnd;
          break;
        }
        for (std::uint32_t candidates = bits; candidates != 0; candidates &= candidates - 1) {
          const std::size_t candidate =
              place + static_cast<std::size_t>(std::countr_zero(candidates));
          if (visit(candidate))
            return candidate;
        }
        place += kLaneCount;
        checked = place + first_.offset;
      }
    }
#endif
    if (checked < regionEnd)
      regionEnd = FirstZeroOr(text, checked, regionEnd, regionEnd);
    for (; place < regionEnd && regionEnd - place >= length; ++place) {
      if (Passes(text, place) && visit(place))
        return place;
    }
    return kNoCandidate;
  }

  // Visits the places in [begin, end) from the highest; answers the one accepted or kNoCandidate.
  template <class Visit>
  std::size_t Backward(const Byte* text, std::size_t begin, std::size_t end, Visit&& visit) const {
    std::size_t place = end;
#if BRONTEL_HAS_LANES
    if (first_.hasFew) {
      const AnchorLanes firstLanes(first_);
      const AnchorLanes secondLanes(second_);
      while (place - begin >= kLaneCount) {
        place -= kLaneCount;
        const Byte* block = text + place;
        for (std::uint32_t bits = LaneBits(firstLanes.Flags(block) & secondLanes.Flags(block));
             bits != 0;) {
          const int highest = 31 - std::countl_zero(bits);
          const std::size_t candidate = place + static_cast<std::size_t>(highest);
          if (visit(candidate))
            return candidate;
          bits &= ~(std::uint32_t{1} << highest);
        }
      }
    }
#endif
    while (place > begin) {
      --place;
      if (Passes(text, place) && visit(place))
        return place;
    }
    return kNoCandidate;
  }

 private:
  bool Passes(const Byte* text, std::size_t place) const {
    return first_.bytes.test(text[place + first_.offset]) &&
           second_.bytes.test(text[place + second_.offset]);
  }

  Anchor first_;
  Anchor second_;
};

template <bool kWholeWords, class Comparison>
TextOffset ScanForwardWith(std::string_view text, std::size_t start, std::string_view pattern,
                           const Comparison& comparison) {
  const std::size_t length = pattern.size();
  const auto* bytes = reinterpret_cast<const Byte*>(text.data());
  const CandidateFilter filter(pattern, comparison);
  const auto regionEndsAt = [&](std::size_t at) { return at == text.size() || bytes[at] == 0; };
  const auto accept = [&](std::size_t place) {
    if (!comparison.Holds(text, place, pattern))
      return false;
    if constexpr (kWholeWords) {
      const std::size_t after = place + length;
      return (place == start || kDelimiters[comparison.At(text, place - 1)]) &&
             (regionEndsAt(after) || kDelimiters[comparison.At(text, after)]);
    }
    return true;
  };
  const std::size_t found = filter.Forward(bytes, text.size(), start, length, accept);
  return found != kNoCandidate ? static_cast<TextOffset>(found) : kNotFound;
}

template <bool kWholeWords, class Comparison>
TextOffset ScanBackwardWith(std::string_view text, std::size_t end, std::string_view pattern,
                            const Comparison& comparison) {
  const std::size_t length = pattern.size();
  const auto* bytes = reinterpret_cast<const Byte*>(text.data());
  const std::size_t regionEnd = FirstZeroOr(bytes, 0, end, end);
  if (regionEnd < length)
    return kNotFound;
  const CandidateFilter filter(pattern, comparison);
  const auto accept = [&](std::size_t place) {
    if (!comparison.Holds(text, place, pattern))
      return false;
    if constexpr (kWholeWords) {
      const std::size_t after = place + length;
      return place > 0 && kDelimiters[comparison.At(text, place - 1)] && after < regionEnd &&
             kDelimiters[comparison.At(text, after)];
    }
    return true;
  };
  const std::size_t found = filter.Backward(bytes, 0, regionEnd - length + 1, accept);
  return found != kNoCandidate ? static_cast<TextOffset>(found) : kNotFound;
}

std::string_view UpToZero(std::string_view pattern) {
  return pattern.substr(0, std::min(pattern.size(), pattern.find('\0')));
}

// Runs `scan` with the comparison the casing asks for, on the pattern in the form it compares.
template <class Scan>
TextOffset WithComparison(std::string_view pattern, const platform::UpperCaseMap* casing,
                          Scan&& scan) {
  pattern = UpToZero(pattern);
  if (pattern.empty())
    return kNotFound;
  if (casing == nullptr)
    return scan(pattern, ExactBytes());
  const std::string upper = casing->Upper(pattern);
  if (casing->FoldsUtf8Pairs())
    return scan(std::string_view(upper), LocaleCasing<true>(*casing));
  return scan(std::string_view(upper), LocaleCasing<false>(*casing));
}

}  // namespace

bool IsWordDelimiter(char c) {
  return kDelimiters[static_cast<Byte>(c)];
}

TextOffset ScanForward(std::string_view text, std::size_t start, std::string_view pattern,
                       const platform::UpperCaseMap* casing) {
  if (start > text.size())
    return kNotFound;
  return WithComparison(pattern, casing, [&](std::string_view compared, const auto& comparison) {
    return ScanForwardWith<false>(text, start, compared, comparison);
  });
}

TextOffset ScanForwardWholeWords(std::string_view text, std::size_t start, std::string_view pattern,
                                 const platform::UpperCaseMap* casing) {
  if (start > text.size())
    return kNotFound;
  return WithComparison(pattern, casing, [&](std::string_view compared, const auto& comparison) {
    return ScanForwardWith<true>(text, start, compared, comparison);
  });
}

TextOffset ScanBackward(std::string_view text, std::size_t end, std::string_view pattern,
                        const platform::UpperCaseMap* casing) {
  return WithComparison(pattern, casing, [&](std::string_view compared, const auto& comparison) {
    return ScanBackwardWith<false>(text, std::min(end, text.size()), compared, comparison);
  });
}

TextOffset ScanBackwardWholeWords(std::string_view text, std::size_t end, std::string_view pattern,
                                  const platform::UpperCaseMap* casing) {
  return WithComparison(pattern, casing, [&](std::string_view compared, const auto& comparison) {
    return ScanBackwardWith<true>(text, std::min(end, text.size()), compared, comparison);
  });
}

TextSearcher::TextSearcher() = default;

TextSearcher::TextSearcher(std::string_view text)
    : text_(text), casing_(platform::UserUpperCaseMap()) {}

TextSearcher::TextSearcher(std::string_view text, platform::UpperCaseMap casing)
    : text_(text), casing_(std::move(casing)) {}

TextOffset TextSearcher::Search(std::string_view pattern, TextOffset start, int flags) const {
  try {
    if (!text_.has_value() || start < 0)
      return kNotFound;
    const std::string_view text = *text_;
    const platform::UpperCaseMap* casing = (flags & kSearchMatchCase) ? nullptr : &casing_;
    const bool wholeWords = (flags & kSearchWholeWords) != 0;
    const auto size = static_cast<TextOffset>(text.size());
    if ((flags & kSearchBackwards) == 0) {
      if (start > size)
        return kNotFound;
      const auto from = static_cast<std::size_t>(start);
      if (UpToZero(pattern).empty())
        return wholeWords ? kNotFound : start;
      return wholeWords ? ScanForwardWholeWords(text, from, pattern, casing)
                        : ScanForward(text, from, pattern, casing);
    }
    const auto end = static_cast<std::size_t>(start == 0 ? size : std::min(start - 1, size));
    return wholeWords ? ScanBackwardWholeWords(text, end, pattern, casing)
                      : ScanBackward(text, end, pattern, casing);
  } catch (const std::exception& failure) {
    TraceLine("TextSearcher", failure.what());
    return kNotFound;
  }
}

}  // namespace brontel
