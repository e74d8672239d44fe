#include "ui/LineStore.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/LargePages.h"
#include "platform/PlatformError.h"

namespace brontel::ui {

namespace {

// The next tab at or after `from`, or line.size().
std::size_t NextTab(std::string_view line, std::size_t from) {
  const void* tab = std::memchr(line.data() + from, '\t', line.size() - from);
  return tab ? static_cast<std::size_t>(static_cast<const char*>(tab) - line.data()) : line.size();
}

// Length of the line end before `next` (the start of the following line, or the text's end) in
// the line that starts at `start`: 2 for CR LF, 1 for LF or CR, 0 for none (a last line only).
std::size_t LineEndLengthBefore(const char* text, std::size_t start, std::size_t next) {
  if (next == start)
    return 0;
  const char last = text[next - 1];
  if (last == '\n')
    return next - start >= 2 && text[next - 2] == '\r' ? 2 : 1;
  return last == '\r' ? 1 : 0;
}

// Moves the line text[from, to) so that it ends at `end`, its tabs expanded, and returns where
// it starts now. REQUIRES: the expanded line ends at or after `to` (nothing unread is
// overwritten, as the pieces move from the back).
std::size_t MoveExpandedBack(char* text, std::size_t from, std::size_t to, std::size_t end,
                             std::vector<std::size_t>& tabs) {
  tabs.clear();
  for (const char* tab = static_cast<const char*>(std::memchr(text + from, '\t', to - from));
       tab != nullptr;
       tab = static_cast<const char*>(std::memchr(tab + 1, '\t', text + to - (tab + 1))))
    tabs.push_back(static_cast<std::size_t>(tab - text));
  std::size_t pieceEnd = to;
  for (std::size_t k = tabs.size() + 1; k-- > 0;) {
    const std::size_t pieceStart = k > 0 ? tabs[k - 1] + 1 : from;
    end -= pieceEnd - pieceStart;
    std::memmove(text + end, text + pieceStart, pieceEnd - pieceStart);
    if (k > 0) {
      end -= LineStore::kTabReplacement.size();
      std::memcpy(text + end, LineStore::kTabReplacement.data(), LineStore::kTabReplacement.size());
      pieceEnd = pieceStart - 1;
    }
  }
  return end;
}

// Moves the line text[from, to) so that it ends at `end`, its tabs expanded, and returns where
// it starts now; `hint` tells where its tabs are (see TabHint). REQUIRES as MoveExpandedBack.
std::size_t MoveLineBack(char* text, std::size_t from, std::size_t to, TabHint hint,
                         std::size_t end, std::vector<std::size_t>& tabs) {
  if (hint == kSearchTabs)
    return MoveExpandedBack(text, from, to, end, tabs);
  if (hint == kNoTab) {
    end -= to - from;
    std::memmove(text + end, text + from, to - from);
    return end;
  }
  const std::size_t tab = from + hint - 1;
  end -= to - (tab + 1);
  std::memmove(text + end, text + tab + 1, to - (tab + 1));
  end -= LineStore::kTabReplacement.size();
  std::memcpy(text + end, LineStore::kTabReplacement.data(), LineStore::kTabReplacement.size());
  end -= tab - from;
  std::memmove(text + end, text + from, tab - from);
  return end;
}

// Writes `line` with its tabs expanded at `at` and answers how many bytes it took.
std::size_t WriteExpanded(char* at, std::string_view line) {
  char* const begin = at;
  std::size_t from = 0;
  for (std::size_t tab = NextTab(line, 0); tab < line.size(); tab = NextTab(line, from)) {
    std::memcpy(at, line.data() + from, tab - from);
    at += tab - from;
    std::memcpy(at, LineStore::kTabReplacement.data(), LineStore::kTabReplacement.size());
    at += LineStore::kTabReplacement.size();
    from = tab + 1;
  }
  std::memcpy(at, line.data() + from, line.size() - from);
  return static_cast<std::size_t>(at - begin) + line.size() - from;
}

// Dropped lines are cut off the front once they are most of the buffer (and worth a move).
constexpr std::size_t kCompactMinimum = 1 << 20;

}  // namespace

std::size_t LineStore::ExpandedLength(std::string_view line) {
  std::size_t tabs = 0;
  for (std::size_t at = NextTab(line, 0); at < line.size(); at = NextTab(line, at + 1))
    ++tabs;
  return line.size() + tabs * (kTabReplacement.size() - 1);
}

std::string LineStore::ExpandTabs(std::string_view line) {
  std::string result;
  // Room for a few tabs: measuring first would cost a search of its own.
  result.reserve(line.size() + 4 * (kTabReplacement.size() - 1));
  AppendTabsExpanded(line, result);
  return result;
}

void LineStore::AppendTabsExpanded(std::string_view line, std::string& out) {
  // A run at a time: most lines hold a tab or two, if any.
  for (std::size_t from = 0; from < line.size();) {
    const std::size_t tab = NextTab(line, from);
    out.append(line.substr(from, tab - from));
    if (tab < line.size())
      out.append(kTabReplacement);
    from = tab + 1;
  }
}

void LineStore::Clear() {
  // Release the memory too: a view of ten million lines should not linger after a clear.
  std::string().swap(text_);
  std::vector<std::size_t>().swap(starts_);
  front_ = 0;
  first_ = 0;
  maxLineLength_ = 0;
  longestLines_ = 0;
}

template <typename Lines>
void LineStore::AssignLines(const Lines& lines) {
  std::size_t total = 0;
  for (const auto& line : lines)
    total += ExpandedLength(line) + kLineBreak.size();
  // A buffer that already fits (a reload of a view of about the same size) is reused: no new
  // pages to fault in. Otherwise the old text is freed before the new one is sized, so the
  // peak stays at one text.
  const bool reuse = text_.capacity() >= total && text_.capacity() / 2 <= total &&
                     starts_.capacity() >= lines.size() && starts_.capacity() / 2 <= lines.size();
  if (reuse) {
    text_.clear();
    starts_.clear();
    front_ = 0;
    first_ = 0;
    maxLineLength_ = 0;
    longestLines_ = 0;
  } else {
    Clear();
    text_.reserve(platform::LargePageBlockSize(total + 1) - 1);
    platform::AdviseLargePages(text_.data(), text_.capacity());
    starts_.reserve(lines.size());
  }
  for (const auto& line : lines)
    AppendExpanded(line);
}

void LineStore::Assign(std::span<const std::string> lines) {
  AssignLines(lines);
}

void LineStore::Assign(std::span<const std::string_view> lines) {
  // Views into this store's own text would dangle once the old text is freed: build the new
  // text aside first in that case.
  const char* begin = text_.data();
  const char* end = begin + text_.size();
  const bool aliases = std::any_of(lines.begin(), lines.end(), [&](std::string_view line) {
    return !line.empty() && line.data() >= begin && line.data() < end;
  });
  if (!aliases) {
    AssignLines(lines);
    return;
  }
  LineStore fresh;
  fresh.AssignLines(lines);
  *this = std::move(fresh);
}

void LineStore::AssignInPlace(std::span<const std::string_view> head, std::string&& text,
                              std::size_t textEnd, std::vector<std::size_t>&& lineStarts) {
  FileLines lines;
  lines.end = textEnd;
  lines.tabHints.reserve(lineStarts.size());
  for (std::size_t i = 0; i < lineStarts.size(); ++i) {
    const std::size_t next = i + 1 < lineStarts.size() ? lineStarts[i + 1] : textEnd;
    const std::size_t breakLength = LineEndLengthBefore(text.data(), lineStarts[i], next);
    const std::string_view line =
        std::string_view(text).substr(lineStarts[i], next - breakLength - lineStarts[i]);
    const std::size_t tabs = ExpandedLength(line) - line.size();
    lines.breakBytes += breakLength;
    lines.tabs += tabs / (kTabReplacement.size() - 1);
    lines.tabHints.push_back(tabs == 0 ? kNoTab : kSearchTabs);
  }
  lines.starts = std::move(lineStarts);
  AssignInPlace(head, std::move(text), std::move(lines));
}

void LineStore::AssignInPlace(std::span<const std::string_view> head, std::string&& text,
                              FileLines&& lines) {
  Clear();
  const std::size_t count = lines.Count();
  std::size_t headBytes = 0;
  for (const std::string_view line : head)
    headBytes += ExpandedLength(line) + kLineBreak.size();
  // The lines lie back to back from the first start to the end; each line end becomes CR LF
  // and each tab three blanks.
  const std::size_t firstStart = count > 0 ? lines.starts[0] : lines.end;
  const std::size_t total = headBytes + (lines.end - firstStart) - lines.breakBytes +
                            count * kLineBreak.size() + lines.tabs * (kTabReplacement.size() - 1);
  // Every line grows or keeps its length, so each line's new place lies at or after its old one
  // and the lines can move from the back. The list of starts makes room for the head in the same
  // pass: line i's new start goes to entry head.size() + i, an entry already read.
  text.resize(total);
  std::vector<std::size_t>& starts = lines.starts;
  starts.resize(count + head.size());
  char* const bytes = text.data();
  std::size_t end = total;
  std::vector<std::size_t> tabs;
  std::size_t next = lines.end;
  for (std::size_t i = count; i-- > 0;) {
    const std::size_t from = starts[i];
    const std::size_t to = next - LineEndLengthBefore(bytes, from, next);
    next = from;
    end -= kLineBreak.size();
    std::memcpy(bytes + end, kLineBreak.data(), kLineBreak.size());
    const std::size_t lineStart = MoveLineBack(bytes, from, to, lines.tabHints[i], end, tabs);
    NoteLength(end - lineStart);
    starts[head.size() + i] = lineStart;
    end = lineStart;
  }
  std::size_t at = 0;
  for (std::size_t i = 0; i < head.size(); ++i) {
    starts[i] = at;
    at += WriteExpanded(bytes + at, head[i]);
    NoteLength(at - starts[i]);
    std::memcpy(bytes + at, kLineBreak.data(), kLineBreak.size());
    at += kLineBreak.size();
  }
  text_ = std::move(text);
  starts_ = std::move(starts);
}

void LineStore::Add(std::string_view line) {
  if (!line.empty() && line.data() >= text_.data() && line.data() < text_.data() + text_.size()) {
    const std::string copy(line);  // growing the buffer would move the text the view points at
    Add(copy);
    return;
  }
  MakeRoom(ExpandedLength(line) + kLineBreak.size());
  AppendExpanded(line);
}

void LineStore::MakeRoom(std::size_t bytes) {
  if (text_.size() + bytes <= text_.capacity())
    return;
  if (TextLength() + bytes <= text_.capacity()) {
    Compact();
    return;
  }
  // Growing by doubling keeps one reallocation per doubling even for huge views; the new
  // buffer takes only the lines still shown.
  std::string grown;
  grown.reserve(std::max(TextLength() + bytes, 2 * TextLength()));
  grown.append(Text());
  text_.swap(grown);
  std::string().swap(grown);
  ForgetDropped();
}

void LineStore::Compact() {
  text_.erase(0, front_);
  ForgetDropped();
}

void LineStore::ForgetDropped() {
  starts_.erase(starts_.begin(), starts_.begin() + static_cast<std::ptrdiff_t>(first_));
  for (std::size_t& start : starts_)
    start -= front_;
  front_ = 0;
  first_ = 0;
}

void LineStore::NoteLength(std::size_t length) {
  if (length > maxLineLength_) {
    maxLineLength_ = length;
    longestLines_ = 1;
  } else if (length == maxLineLength_) {
    ++longestLines_;
  }
}

std::size_t LineStore::LinesOfLength(std::size_t from, std::size_t to, std::size_t length) const {
  if (from >= to)
    return 0;
  // Each line's length is the distance to the next start, less its line end.
  const std::size_t distance = length + kLineBreak.size();
  std::size_t found = 0;
  const std::size_t last = first_ + to - 1;
  for (std::size_t i = first_ + from; i < last; ++i)
    found += starts_[i + 1] - starts_[i] == distance ? 1 : 0;
  return found + (BufferStart(to) - starts_[last] == distance ? 1 : 0);
}

void LineStore::ForgetLines(std::size_t from, std::size_t to) {
  longestLines_ -= LinesOfLength(from, to, maxLineLength_);
}

void LineStore::RelearnLongestIfLost() {
  if (longestLines_ > 0 || Empty())
    return;
  maxLineLength_ = 0;
  for (std::size_t i = 0; i < Count(); ++i)
    NoteLength(LineLength(i));
}

void LineStore::KeepFirst(std::size_t count) {
  if (count >= Count())
    return;
  ForgetLines(count, Count());
  text_.resize(BufferStart(count));
  starts_.resize(first_ + count);
  if (Empty())
    Clear();
  RelearnLongestIfLost();
}

void LineStore::DropFirst(std::size_t count) {
  count = std::min(count, Count());
  if (count == 0)
    return;
  if (count == Count()) {
    Clear();
    return;
  }
  ForgetLines(0, count);
  first_ += count;
  front_ = starts_[first_];
  if (front_ >= kCompactMinimum && front_ >= TextLength())
    Compact();
  RelearnLongestIfLost();
}

void LineStore::Edit(const LineEdit& edit) {
  DropFirst(edit.dropFront);
  const std::size_t keep = std::min(edit.keep, Count());
  const std::size_t runFirst = edit.runCount > 0 ? edit.runFirst : keep;
  const std::size_t runEnd = runFirst + edit.runCount;
  ForgetLines(keep, runFirst);
  ForgetLines(runEnd, Count());
  std::size_t beforeBytes = 0;
  for (const std::string_view line : edit.before)
    beforeBytes += ExpandedLength(line) + kLineBreak.size();
  // Offsets in the shown text: the buffer may yet move.
  const std::size_t keptEnd = LineStart(keep);
  const std::size_t runFrom = LineStart(runFirst);
  const std::size_t runBytes = LineStart(runEnd) - runFrom;
  const std::size_t runTo = keptEnd + beforeBytes;
  if (runTo + runBytes > TextLength())
    MakeRoom(runTo + runBytes - TextLength());
  if (front_ + runTo + runBytes > text_.size())
    text_.resize(front_ + runTo + runBytes);
  // The run moves first: the new lines before it may then overwrite where it was.
  char* const shown = text_.data() + front_;
  std::memmove(shown + runTo, shown + runFrom, runBytes);
  const std::size_t runTarget = first_ + keep + edit.before.size();
  // Grown before any iterator into it is taken: growing may move the starts.
  if (runTarget + edit.runCount > starts_.size())
    starts_.resize(runTarget + edit.runCount);
  const auto runSource = starts_.begin() + static_cast<std::ptrdiff_t>(first_ + runFirst);
  const auto sourceEnd = runSource + static_cast<std::ptrdiff_t>(edit.runCount);
  const auto target = starts_.begin() + static_cast<std::ptrdiff_t>(runTarget);
  if (target <= runSource)
    std::copy(runSource, sourceEnd, target);
  else
    std::copy_backward(runSource, sourceEnd, target + static_cast<std::ptrdiff_t>(edit.runCount));
  for (std::size_t i = runTarget; i < runTarget + edit.runCount; ++i)
    starts_[i] = starts_[i] - runFrom + runTo;
  std::size_t at = front_ + keptEnd;
  for (std::size_t i = 0; i < edit.before.size(); ++i) {
    starts_[first_ + keep + i] = at;
    const std::size_t length = WriteExpanded(text_.data() + at, edit.before[i]);
    NoteLength(length);
    at += length;
    std::memcpy(text_.data() + at, kLineBreak.data(), kLineBreak.size());
    at += kLineBreak.size();
  }
  text_.resize(front_ + runTo + runBytes);
  starts_.resize(runTarget + edit.runCount);
  std::size_t afterBytes = 0;
  for (const std::string_view line : edit.after)
    afterBytes += ExpandedLength(line) + kLineBreak.size();
  MakeRoom(afterBytes);
  for (const std::string_view line : edit.after)
    AppendExpanded(line);
  if (Empty())
    Clear();
  RelearnLongestIfLost();
}

void LineStore::AppendExpanded(std::string_view line) {
  const std::size_t start = text_.size();
  starts_.push_back(start);
  std::size_t from = 0;
  for (std::size_t tab = NextTab(line, 0); tab < line.size(); tab = NextTab(line, from)) {
    text_.append(line.data() + from, tab - from);
    text_.append(kTabReplacement);
    from = tab + 1;
  }
  text_.append(line.data() + from, line.size() - from);
  NoteLength(text_.size() - start);
  text_.append(kLineBreak);
}

std::string_view LineStore::Line(std::size_t i) const {
  return std::string_view(text_).substr(starts_[first_ + i], LineLength(i));
}

std::size_t LineStore::LineLength(std::size_t i) const {
  return BufferStart(i + 1) - starts_[first_ + i] - kLineBreak.size();
}

std::size_t LineStore::BufferStart(std::size_t i) const {
  return i < Count() ? starts_[first_ + i] : text_.size();
}

std::size_t LineStore::LineStart(std::size_t i) const {
  return BufferStart(i) - front_;
}

std::size_t LineStore::LineOf(std::size_t offset) const {
  if (offset >= TextLength())
    return Count() - 1;
  // The last line that starts at or before the offset.
  const auto begin = starts_.begin() + static_cast<std::ptrdiff_t>(first_);
  const auto after = std::upper_bound(begin, starts_.end(), offset + front_);
  return static_cast<std::size_t>(after - begin) - 1;
}

void LineStore::SaveToFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out)
    throw platform::PlatformError(path, std::strerror(errno));
  const std::string_view text = Text();
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (!out)
    throw platform::PlatformError(path, std::strerror(errno));
}

void LineStore::AppendToFile(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (!out)
    throw platform::PlatformError(path, std::strerror(errno));
}

}  // namespace brontel::ui
