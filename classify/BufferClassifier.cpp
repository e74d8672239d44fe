#include "classify/BufferClassifier.h"

#include <algorithm>
#include <bit>

namespace brontel {

namespace {

// The first characters a line may start with for an expression to match it.
std::array<bool, 256> AllowedFirst(const MsgTypeMatcherInfo::LineNeeds& needs) {
  std::array<bool, 256> allowed{};
  if (needs.never)
    return allowed;
  if (!needs.prefix.empty()) {
    allowed[static_cast<unsigned char>(needs.prefix[0])] = true;
  } else if (!needs.firstSet.empty()) {
    for (const char c : needs.firstSet)
      allowed[static_cast<unsigned char>(c)] = true;
  } else {
    allowed.fill(true);
  }
  return allowed;
}

}  // namespace

BufferClassifier::BufferClassifier(LineClassifier& types, std::string_view text)
    : types_(types), bufferEnd_(text.data() + text.size()) {
  std::vector<MsgTypeMatcherInfo>& list = types_.Types();
  for (const std::size_t type : types_.MatchOrder()) {
    for (std::size_t expr = 0; expr < list[type].compiled.size(); ++expr) {
      if (slots_.size() == kMaxSlots) {
        lineByLine_ = true;
        return;
      }
      const MsgTypeMatcherInfo::LineNeeds needs = list[type].NeedsOf(expr);
      const std::array<bool, 256> allowed = AllowedFirst(needs);
      const std::uint64_t bit = std::uint64_t{1} << slots_.size();
      for (std::size_t c = 0; c < allowed.size(); ++c) {
        if (allowed[c])
          slotsByFirst_[c] |= bit;
      }
      Slot slot{type, expr, {}};
      for (const std::string_view needed : needs.texts) {
        if (needed.empty())
          continue;
        slot.scans.push_back(scans_.size());
        scans_.push_back(Scan{needed});
      }
      slots_.push_back(std::move(slot));
    }
  }
}

int BufferClassifier::FindMsgType(std::string_view line) {
  if (lineByLine_)
    return types_.FindMsgType(line);
  if (line.size() <= 1)
    return kUnclassified;
  MatchSubject subject(line, lineBuffer_);
  std::vector<MsgTypeMatcherInfo>& list = types_.Types();
  // Slots in match order, so the first expression that matches names the first matching type.
  for (std::uint64_t candidates = slotsByFirst_[static_cast<unsigned char>(line[0])];
       candidates != 0; candidates &= candidates - 1) {
    const Slot& slot = slots_[static_cast<std::size_t>(std::countr_zero(candidates))];
    if (Passes(slot, line) && list[slot.type].ExprMatches(slot.expr, subject))
      return static_cast<int>(slot.type);
  }
  return kUnclassified;
}

bool BufferClassifier::Passes(const Slot& slot, std::string_view line) {
  for (const std::size_t scan : slot.scans) {
    if (!scans_[scan].FoundIn(line, bufferEnd_))
      return false;
  }
  return true;
}

// The first occurrence at or after the line's start is inside the line if any is; once the
// lines have passed it, the search goes on from the line asked about. The text is searched a
// stretch at a time: the stretch ahead is then still in the cache when the lines in it are split
// and classified, instead of the search reading the whole buffer from memory once more.
bool BufferClassifier::Scan::FoundIn(std::string_view line, const char* bufferEnd) {
  const char* const lineEnd = line.data() + line.size();
  if (next == nullptr || next < line.data()) {
    next = line.data();
    hit = false;
  }
  while (!hit && next + text.size() <= lineEnd) {
    const std::size_t left = static_cast<std::size_t>(bufferEnd - next);
    const std::string_view stretch(next, std::min(left, kSearchStretch + text.size() - 1));
    const std::size_t found = stretch.find(text);
    hit = found != std::string_view::npos;
    if (hit)
      next += found;
    else if (stretch.size() == left)
      next = bufferEnd;
    else
      next += stretch.size() - (text.size() - 1);  // none starts before the stretch's last bytes
  }
  return hit && next + text.size() <= lineEnd;
}

}  // namespace brontel
