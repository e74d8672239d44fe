#include "regex/RegLiteralFinder.h"

#include <cstring>

#include "regex/ByteLanes.h"
#include "regex/LogByteRarity.h"

namespace brontel {
namespace {

using Byte = unsigned char;

// From this rarity on a byte stops a memchr seldom enough to be looked for alone.
constexpr int kRareEnoughAlone = 3;

bool IsLetter(Byte c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The place of the rarest byte of `literal` other than `skip` (none: npos) by `rarity`; of
// equally rare ones the furthest from `skip`, as bytes far apart are the least likely to go
// together.
template <class Rarity>
std::size_t RarestPlace(std::string_view literal, std::size_t skip, const Rarity& rarityOf) {
  std::size_t best = std::string_view::npos;
  const auto distance = [skip](std::size_t at) { return at > skip ? at - skip : skip - at; };
  for (std::size_t at = 0; at < literal.size(); ++at) {
    if (at == skip)
      continue;
    if (best == std::string_view::npos) {
      best = at;
      continue;
    }
    const int rarity = rarityOf(literal[at]);
    const int bestRarity = rarityOf(literal[best]);
    if (rarity > bestRarity ||
        (rarity == bestRarity && skip != std::string_view::npos && distance(at) > distance(best)))
      best = at;
  }
  return best;
}

}  // namespace

RegLiteralFinder::RegLiteralFinder(std::string_view literal, bool ignoreCase)
    : literal_(literal), ignoreCase_(ignoreCase) {
  if (literal_.empty())
    return;
  const auto rarity = [ignoreCase](char c) {
    return LogByteRarity(static_cast<Byte>(ignoreCase ? LowerAscii(c) : c));
  };
  firstAt_ = RarestPlace(literal_, std::string_view::npos, rarity);
  const std::size_t second = RarestPlace(literal_, firstAt_, rarity);
  secondAt_ = second == std::string_view::npos ? firstAt_ : second;
  // Ignoring case, a letter stands for two bytes, which one memchr cannot look for.
  const Byte firstByte = static_cast<Byte>(literal_[firstAt_]);
  rareFirst_ =
      rarity(literal_[firstAt_]) >= kRareEnoughAlone && !(ignoreCase && IsLetter(firstByte));
  rareSecond_ = secondAt_ != firstAt_ && rarity(literal_[secondAt_]) >= kRareEnoughAlone &&
                !(ignoreCase && IsLetter(static_cast<Byte>(literal_[secondAt_])));
  first_ = AnchorOf(literal_[firstAt_]);
  second_ = AnchorOf(literal_[secondAt_]);
}

// A letter's lower-case form and the bit that turns its capital into it, when case is ignored;
// the byte itself and no bit otherwise.
RegLiteralFinder::Anchor RegLiteralFinder::AnchorOf(char c) const {
  const Byte byte = static_cast<Byte>(c);
  if (ignoreCase_ && IsLetter(byte))
    return {static_cast<Byte>(LowerAscii(c)), kCaseBit};
  return {byte, 0};
}

// For a literal that fits in the text.
std::size_t RegLiteralFinder::Search(std::string_view text) const {
  return rareFirst_ ? FoundByRareByte(text) : FoundByPair(text, 0);
}

// Literals are short: comparing in place beats a library call per candidate.
inline bool RegLiteralFinder::HoldsAt(const char* place) const {
  if (ignoreCase_) {
    for (std::size_t i = 0; i < literal_.size(); ++i) {
      if (LowerAscii(place[i]) != LowerAscii(literal_[i]))
        return false;
    }
    return true;
  }
  for (std::size_t i = 0; i < literal_.size(); ++i) {
    if (place[i] != literal_[i])
      return false;
  }
  return true;
}

// A text where the rare byte turns out common (a host named web1 for "warning") would make a
// memchr per occurrence: after the first place that fails, a rare second byte is looked for the
// same way, and from where it is the rest goes the sixteen-place way.
std::size_t RegLiteralFinder::FoundByRareByte(std::string_view text) const {
  constexpr std::size_t kNone = std::string_view::npos;
  const std::size_t last = text.size() - literal_.size();  // the last place it can start
  const char* const found =
      static_cast<const char*>(std::memchr(text.data() + firstAt_, literal_[firstAt_], last + 1));
  if (found == nullptr)
    return kNone;
  std::size_t place = static_cast<std::size_t>(found - text.data()) - firstAt_;
  if (second_.Takes(text[place + secondAt_]) && HoldsAt(text.data() + place))
    return place;
  if (place == last)
    return kNone;
  ++place;
  if (rareSecond_) {
    // No place before the second byte's first one can hold the literal.
    const char* const second = static_cast<const char*>(
        std::memchr(text.data() + place + secondAt_, literal_[secondAt_], last - place + 1));
    if (second == nullptr)
      return kNone;
    place = static_cast<std::size_t>(second - text.data()) - secondAt_;
  }
  return FoundByPair(text, place);
}

// From place `place` on, which is at most the last place.
std::size_t RegLiteralFinder::FoundByPair(std::string_view text, std::size_t place) const {
  return ignoreCase_ ? FoundByPairIn<true>(text, place) : FoundByPairIn<false>(text, place);
}

// Folding costs two operations a step; a literal of exact bytes does without them.
template <bool kFold>
std::size_t RegLiteralFinder::FoundByPairIn(std::string_view text, std::size_t place) const {
  constexpr std::size_t kNone = std::string_view::npos;
  const char* const begin = text.data();
  const std::size_t last = text.size() - literal_.size();
#if BRONTEL_HAS_LANES
  using lanes::kLaneCount;
  using lanes::LaneBits;
  using lanes::LaneFlags;
  using lanes::Lanes;
  using lanes::LoadLanes;
  using lanes::SplatLanes;
  // The lanes of one step read the sixteen places from `at` on, which all lie at or before the
  // last place, so no read leaves the text.
  const Lanes firstLanes = SplatLanes(first_.byte);
  const Lanes firstFold = SplatLanes(first_.fold);
  const Lanes secondLanes = SplatLanes(second_.byte);
  const Lanes secondFold = SplatLanes(second_.fold);
  const char* const firstColumn = begin + firstAt_;
  const char* const secondColumn = begin + secondAt_;
  const auto candidates = [&](std::size_t at) {
    Lanes firstBytes = LoadLanes(firstColumn + at);
    Lanes secondBytes = LoadLanes(secondColumn + at);
    if constexpr (kFold) {
      firstBytes |= firstFold;
      secondBytes |= secondFold;
    }
    const LaneFlags flags = (firstBytes == firstLanes) & (secondBytes == secondLanes);
    return LaneBits(flags);
  };
  // The first candidate place from `at` on that holds the literal, in place order.
  const auto holdsAmong = [&](std::size_t at, std::uint32_t bits) {
    for (; bits != 0; bits &= bits - 1) {
      const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(bits));
      if (HoldsAt(begin + candidate))
        return candidate;
    }
    return kNone;
  };
  // Two steps at a time, so that a text without candidates costs one branch per 32 places.
  for (; place + 2 * kLaneCount <= last + 1; place += 2 * kLaneCount) {
    const std::uint32_t low = candidates(place);
    const std::uint32_t high = candidates(place + kLaneCount);
    if ((low | high) == 0)
      continue;
    if (const std::size_t at = holdsAmong(place, low); at != kNone)
      return at;
    if (const std::size_t at = holdsAmong(place + kLaneCount, high); at != kNone)
      return at;
  }
  if (place + kLaneCount <= last + 1) {
    if (const std::size_t at = holdsAmong(place, candidates(place)); at != kNone)
      return at;
    place += kLaneCount;
  }
  // The places left are tested by one step that ends at the last place, with those it tested
  // already masked out.
  if (place <= last && last + 1 >= kLaneCount) {
    const std::size_t at = last + 1 - kLaneCount;
    return holdsAmong(at, candidates(at) & (~std::uint32_t{0} << (place - at)));
  }
#endif
  for (; place <= last; ++place) {
    if (first_.Takes(begin[place + firstAt_]) && second_.Takes(begin[place + secondAt_]) &&
        HoldsAt(begin + place))
      return place;
  }
  return kNone;
}

}  // namespace brontel
