#include "regex/RegLiteralSet.h"

#include <bit>
#include <cstring>

#include "regex/LogByteRarity.h"

// The lookup of sixteen bytes in a table of sixteen (SSSE3's byte shuffle) is used where the
// processor has it, which is asked once when the program runs: the build itself assumes SSE2 only.
#if defined(__GNUC__) && defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
#define BRONTEL_HAS_HALF_LOOKUP 1
#include <tmmintrin.h>
#else
#define BRONTEL_HAS_HALF_LOOKUP 0
#endif

namespace brontel {
namespace {

using Byte = unsigned char;

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool HasHalfLookup() {
#if BRONTEL_HAS_HALF_LOOKUP
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") != 0;
  }();
  return has;
#else
  return false;
#endif
}

}  // namespace

std::size_t RegLiteralSet::Add(std::string_view literal, bool ignoreCase) {
  if (literal.empty())
    return kNone;
  for (std::size_t index = 0; index < finders_.size(); ++index) {
    if (finders_[index].literal() == literal && finders_[index].ignoresCase() == ignoreCase)
      return index;
  }
  if (finders_.size() == kMaxLiterals)
    return kNone;
  texts_.emplace_back(literal);
  finders_.emplace_back(texts_.back(), ignoreCase);
  const std::size_t index = finders_.size() - 1;
  const std::size_t place = WindowPlace(literal, ignoreCase);
  windowAt_.push_back(place);
  if (place == kNone || !HasHalfLookup()) {
    alone_ |= std::uint64_t{1} << index;
    return index;
  }
  windowed_ |= std::uint64_t{1} << index;
  AddToGroup(index);
  return index;
}

// The window whose bytes are rarest in log text, so that few places of a line pass for it; the
// first of equal ones. None where the literal is shorter than a window.
std::size_t RegLiteralSet::WindowPlace(std::string_view literal, bool ignoreCase) {
  if (literal.size() < kWindow)
    return kNone;
  const auto rarity = [ignoreCase](char c) {
    return LogByteRarity(static_cast<Byte>(ignoreCase ? LowerAscii(c) : c));
  };
  std::size_t best = 0;
  int bestScore = -1;
  for (std::size_t at = 0; at + kWindow <= literal.size(); ++at) {
    int score = 0;
    for (std::size_t k = 0; k < kWindow; ++k)
      score += rarity(literal[at + k]);
    if (score > bestScore) {
      best = at;
      bestScore = score;
    }
  }
  return best;
}

// Ignoring case, a letter allows both of its forms.
RegLiteralSet::GroupHalves RegLiteralSet::WithWindow(GroupHalves group, std::string_view window,
                                                     bool ignoreCase) {
  for (std::size_t k = 0; k < kWindow; ++k) {
    const bool folds = ignoreCase && IsLetter(window[k]);
    const char forms[2] = {folds ? LowerAscii(window[k]) : window[k],
                           folds ? UpperAscii(window[k]) : window[k]};
    for (const char form : forms) {
      const Byte byte = static_cast<Byte>(form);
      group.low[k] = static_cast<std::uint16_t>(group.low[k] | 1u << (byte & 0x0F));
      group.high[k] = static_cast<std::uint16_t>(group.high[k] | 1u << (byte >> 4));
    }
  }
  group.empty = false;
  return group;
}

// How many three-byte windows pass for the group: the more, the more places are compared.
std::uint64_t RegLiteralSet::WindowsTaken(const GroupHalves& group) {
  if (group.empty)
    return 0;
  std::uint64_t taken = 1;
  for (std::size_t k = 0; k < kWindow; ++k) {
    taken *= static_cast<std::uint64_t>(std::popcount(group.low[k])) *
             static_cast<std::uint64_t>(std::popcount(group.high[k]));
  }
  return taken;
}

// An empty group while there is one, else the one that the window makes pass the fewest new
// windows: literals that share bytes go together.
std::size_t RegLiteralSet::GroupFor(std::string_view window, bool ignoreCase) const {
  std::size_t best = 0;
  std::uint64_t bestGrowth = ~std::uint64_t{0};
  for (std::size_t group = 0; group < kGroups; ++group) {
    if (groups_[group].empty)
      return group;
    const std::uint64_t growth =
        WindowsTaken(WithWindow(groups_[group], window, ignoreCase)) - WindowsTaken(groups_[group]);
    if (growth < bestGrowth) {
      best = group;
      bestGrowth = growth;
    }
  }
  return best;
}

void RegLiteralSet::AddToGroup(std::size_t index) {
  const RegLiteralFinder& finder = finders_[index];
  const std::string_view window = finder.literal().substr(windowAt_[index], kWindow);
  const std::size_t group = GroupFor(window, finder.ignoresCase());
  groups_[group] = WithWindow(groups_[group], window, finder.ignoresCase());
  groupMembers_[group] |= std::uint64_t{1} << index;
  FillTables();
}

void RegLiteralSet::FillTables() {
  std::memset(lowTables_, 0, sizeof lowTables_);
  std::memset(highTables_, 0, sizeof highTables_);
  for (std::size_t group = 0; group < kGroups; ++group) {
    const Byte bit = static_cast<Byte>(1u << group);
    for (std::size_t k = 0; k < kWindow; ++k) {
      for (std::size_t half = 0; half < 16; ++half) {
        if ((groups_[group].low[k] >> half & 1) != 0)
          lowTables_[k][half] = static_cast<Byte>(lowTables_[k][half] | bit);
        if ((groups_[group].high[k] >> half & 1) != 0)
          highTables_[k][half] = static_cast<Byte>(highTables_[k][half] | bit);
      }
    }
  }
}

std::uint64_t RegLiteralSet::FoundIn(std::string_view text) const {
  std::uint64_t found = SearchEach(alone_, text);
  if (windowed_ != 0)
    found |= ScanWindows(text);
  return found;
}

std::uint64_t RegLiteralSet::SearchEach(std::uint64_t members, std::string_view text) const {
  std::uint64_t found = 0;
  for (; members != 0; members &= members - 1) {
    const int index = std::countr_zero(members);
    if (finders_[static_cast<std::size_t>(index)].FoundIn(text))
      found |= std::uint64_t{1} << index;
  }
  return found;
}

bool RegLiteralSet::HoldsAt(std::size_t index, std::string_view text, std::size_t start) const {
  const RegLiteralFinder& finder = finders_[index];
  const std::string_view literal = finder.literal();
  if (start > text.size() || text.size() - start < literal.size())
    return false;
  const char* place = text.data() + start;
  if (finder.ignoresCase()) {
    for (std::size_t i = 0; i < literal.size(); ++i) {
      if (LowerAscii(place[i]) != LowerAscii(literal[i]))
        return false;
    }
    return true;
  }
  return std::memcmp(place, literal.data(), literal.size()) == 0;
}

// `places`: bit j set where the window of some literal of the groups in groups[j] may start at
// text place at + j. Compares those literals there; literals found already are skipped.
std::uint64_t RegLiteralSet::CheckPlaces(std::string_view text, std::size_t at,
                                         std::uint32_t places, const unsigned char (&groups)[16],
                                         std::uint64_t found) const {
  for (; places != 0; places &= places - 1) {
    const std::size_t lane = static_cast<std::size_t>(std::countr_zero(places));
    const std::size_t windowStart = at + lane;
    for (unsigned bits = groups[lane]; bits != 0; bits &= bits - 1) {
      for (std::uint64_t members = groupMembers_[std::countr_zero(bits)] & ~found; members != 0;
           members &= members - 1) {
        const auto index = static_cast<std::size_t>(std::countr_zero(members));
        if (windowStart >= windowAt_[index] && HoldsAt(index, text, windowStart - windowAt_[index]))
          found |= std::uint64_t{1} << index;
      }
    }
  }
  return found;
}

#if BRONTEL_HAS_HALF_LOOKUP
namespace {

constexpr std::size_t kLanes = 16;
constexpr std::size_t kWindow = RegLiteralSet::kWindow;

struct HalfTables {
  __m128i low[kWindow];
  __m128i high[kWindow];
};

// For each of the sixteen places from `at` on, the groups whose window may start there: each
// byte of the window looked up by its low and by its high half.
[[gnu::target("ssse3")]] inline __m128i GroupsAt(const char* at, const HalfTables& tables) {
  const __m128i halfMask = _mm_set1_epi8(0x0F);
  __m128i groups = _mm_set1_epi8(-1);
  for (std::size_t k = 0; k < kWindow; ++k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + k));
    const __m128i low = _mm_and_si128(bytes, halfMask);
    const __m128i high = _mm_and_si128(_mm_srli_epi16(bytes, 4), halfMask);
    groups = _mm_and_si128(groups, _mm_shuffle_epi8(tables.low[k], low));
    groups = _mm_and_si128(groups, _mm_shuffle_epi8(tables.high[k], high));
  }
  return groups;
}

// Where some group may start, one bit a place; `wanted` keeps the places not tested before.
// The groups of each place go to `lanes` for `check`(at, places, lanes).
template <class Check>
[[gnu::target("ssse3")]] inline void CheckStep(const char* bytes, std::size_t at,
                                               std::uint32_t wanted, const HalfTables& tables,
                                               const Check& check) {
  const __m128i groups = GroupsAt(bytes, tables);
  const __m128i none = _mm_cmpeq_epi8(groups, _mm_setzero_si128());
  const std::uint32_t places =
      (static_cast<std::uint32_t>(_mm_movemask_epi8(none)) ^ 0xFFFFu) & wanted;
  if (places == 0)
    return;
  alignas(16) unsigned char lanes[kLanes];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), groups);
  check(at, places, lanes);
}

// Sixteen window starts a step; the loads of a step read up to two bytes past its last start,
// all inside the text. The starts left are covered by a step that ends at the last one (its
// starts tested already masked out), or in a short text by a step over a zero-padded copy.
template <class Check>
[[gnu::target("ssse3")]] void ScanByHalves(std::string_view text,
                                           const unsigned char (*lowTables)[16],
                                           const unsigned char (*highTables)[16],
                                           const Check& check) {
  constexpr std::size_t kStepBytes = kLanes + kWindow - 1;
  HalfTables tables;
  for (std::size_t k = 0; k < kWindow; ++k) {
    tables.low[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(lowTables[k]));
    tables.high[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(highTables[k]));
  }
  const char* const begin = text.data();
  const std::size_t starts = text.size() - kWindow + 1;
  constexpr std::uint32_t kAll = 0xFFFFu;
  std::size_t at = 0;
  for (; at + kStepBytes <= text.size(); at += kLanes)
    CheckStep(begin + at, at, kAll, tables, check);
  if (at == starts)
    return;
  if (text.size() >= kStepBytes) {
    const std::size_t last = text.size() - kStepBytes;
    CheckStep(begin + last, last, kAll & (kAll << (at - last)), tables, check);
    return;
  }
  char padded[2 * kLanes] = {};
  std::memcpy(padded, begin, text.size());
  CheckStep(padded, 0, (std::uint32_t{1} << starts) - 1, tables, check);
}

}  // namespace

std::uint64_t RegLiteralSet::ScanWindows(std::string_view text) const {
  if (text.size() < kWindow)
    return 0;
  std::uint64_t found = 0;
  ScanByHalves(text, lowTables_, highTables_,
               [&](std::size_t at, std::uint32_t places, const unsigned char(&lanes)[kLanes]) {
                 found = CheckPlaces(text, at, places, lanes, found);
               });
  return found;
}
#else
std::uint64_t RegLiteralSet::ScanWindows(std::string_view text) const {
  return SearchEach(windowed_, text);
}
#endif

}  // namespace brontel
