#include "viewer/LineHistory.h"

#include <algorithm>
#include <functional>

#include "classify/LineClassifier.h"
#include "platform/LargePages.h"
#include "viewer/LastLines.h"

namespace brontel {
namespace {

std::uint64_t HashOf(std::string_view line) {
  return std::hash<std::string_view>{}(line);
}

bool HoldsLineBreakBytes(std::string_view line) {
  return line.find_first_of(LineHistory::kLineBreak) != std::string_view::npos;
}

// Dropped lines are cut off the front once they are most of the text (and worth a copy).
constexpr std::size_t kCompactMinimum = 1 << 20;

}  // namespace

std::string_view LineHistory::Line(std::size_t i) const {
  const std::size_t begin = Begin(i);
  const std::size_t end = i + 1 < starts_.size() ? Begin(i + 1) : text_.size();
  return std::string_view(text_).substr(begin, end - begin - kLineBreak.size());
}

std::string_view LineHistory::Text() const {
  return std::string_view(text_).substr(LiveBegin());
}

std::vector<std::string_view> LineHistory::LineViews() const {
  std::vector<std::string_view> views;
  views.reserve(Count());
  for (std::size_t i = 0; i < Count(); ++i)
    views.push_back(Line(i));
  return views;
}

void LineHistory::CatchUpIndex() const {
  for (; indexedSeq_ < firstSeq_ + Count(); ++indexedSeq_)
    exact_.emplace(HashOf(Line(static_cast<std::size_t>(indexedSeq_ - firstSeq_))), indexedSeq_);
}

bool LineHistory::ExactlyPresent(std::string_view line, std::uint64_t hash) const {
  CatchUpIndex();
  const auto [first, last] = exact_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    if (Line(static_cast<std::size_t>(it->second - firstSeq_)) == line)
      return true;
  }
  return false;
}

bool LineHistory::Contains(std::string_view line) const {
  if (line.empty() || ExactlyPresent(line, HashOf(line)))
    return true;
  // Without CR or LF of its own, a line can only occur inside one history line.
  if (line.size() > longest_ && !HoldsLineBreakBytes(line))
    return false;
  const std::string_view text = Text();
  if (line.size() > text.size() || !Grams().MayContain(line))
    return false;
  const auto found = std::search(text.begin(), text.end(),
                                 std::boyer_moore_horspool_searcher(line.begin(), line.end()));
  return found != text.end();
}

const GramFilter& LineHistory::Grams() const {
  if (grams_ == nullptr || grams_->Saturated()) {
    // Room for a megabyte of additions before the next rebuild.
    grams_ = std::make_unique<GramFilter>(Text().size() + (1 << 20));
    grams_->Add(Text());
  }
  return *grams_;
}

bool LineHistory::AddToHistory(std::string_view line) {
  if (Contains(line))
    return false;
  const bool full =
      !Empty() && static_cast<std::int64_t>(Count()) > static_cast<std::int64_t>(maxLines_);
  if (full)
    DropOldest();
  Append(line);
  return !full;
}

void LineHistory::Append(std::string_view line) {
  MakeRoom(line.size() + kLineBreak.size());
  const std::size_t oldSize = text_.size();
  starts_.push_back(base_ + oldSize);
  text_.append(line);
  text_.append(kLineBreak);
  if (grams_ != nullptr) {
    // The new runs: those that end in the added bytes, some of them starting before.
    const std::size_t from =
        oldSize >= GramFilter::kGram - 1 ? oldSize - (GramFilter::kGram - 1) : 0;
    grams_->Add(std::string_view(text_).substr(from));
  }
  longest_ = std::max(longest_, line.size());
}

void LineHistory::DropBeyond(std::size_t limit) {
  while (Count() > std::max<std::size_t>(limit, 1)) {
    if (indexedSeq_ > firstSeq_) {
      DropOldest();  // searched before: its entry in the index goes with it
      continue;
    }
    starts_.pop_front();
    indexedSeq_ = ++firstSeq_;
    CompactIfWorthIt();
  }
}

void LineHistory::AppendAll(LastLines&& lines, std::size_t limit) {
  Reserve(lines.TextBytes() + lines.Count() * kLineBreak.size());
  lines.ForEach([this](std::string_view line) { Append(line); });
  lines.Clear();
  DropBeyond(limit);
}

void LineHistory::Reserve(std::size_t bytes) {
  text_.reserve(platform::LargePageBlockSize(text_.size() + bytes + 1) - 1);
  platform::AdviseLargePages(text_.data(), text_.capacity());
}

void LineHistory::DropOldest() {
  CatchUpIndex();
  const auto [first, last] = exact_.equal_range(HashOf(Line(0)));
  for (auto it = first; it != last; ++it) {
    if (it->second == firstSeq_) {
      exact_.erase(it);
      break;
    }
  }
  starts_.pop_front();
  ++firstSeq_;
  if (starts_.empty()) {
    Clear();
    return;
  }
  CompactIfWorthIt();
}

void LineHistory::CompactIfWorthIt() {
  const std::size_t dead = LiveBegin();
  if (dead < kCompactMinimum || dead < text_.size() / 2)
    return;
  text_.erase(0, dead);
  base_ += dead;
}

void LineHistory::MakeRoom(std::size_t bytes) {
  if (text_.size() + bytes <= text_.capacity())
    return;
  const std::size_t dead = LiveBegin();
  const std::size_t live = text_.size() - dead;
  if (dead >= live && live + bytes <= text_.capacity()) {
    text_.erase(0, dead);  // as much dropped as held: cutting it off makes the room
    base_ += dead;
    return;
  }
  // Doubles, on large pages where the system has them: a complete load keeps up to the limit of
  // a file's lines, and their text would otherwise be copied and faulted in page by page.
  std::string grown;
  grown.reserve(platform::LargePageBlockSize(std::max(2 * live, live + bytes) + 1) - 1);
  platform::AdviseLargePages(grown.data(), grown.capacity());
  grown.append(Text());
  text_.swap(grown);
  base_ += dead;
}

void LineHistory::Clear() {
  firstSeq_ += Count();
  base_ += text_.size();
  text_.clear();
  starts_.clear();
  exact_.clear();
  indexedSeq_ = firstSeq_;
  longest_ = 0;
  grams_.reset();
}

bool CountIntoHistory(LineClassifier& types, LineHistory& history, std::string_view line) {
  if (!types.CountLine(line))
    return false;
  history.AddToHistory(line);
  return true;
}

void AddLoadedLine(LineClassifier& types, LineHistory& history, std::vector<std::string>& list,
                   std::string_view line) {
  CountIntoHistory(types, history, line);
  list.emplace_back(line);
}

void CountCompleteLines(LineClassifier& types, LineHistory& history,
                        std::span<const std::string_view> lines) {
  for (const std::string_view line : lines) {
    if (types.CountLine(line))
      history.Append(line);
  }
}

}  // namespace brontel
