#include "viewer/LineFilter.h"

#include <algorithm>
#include <limits>

#include "classify/LineClassifier.h"
#include "ui/NulBytes.h"
#include "viewer/RequiredLiterals.h"

namespace brontel {
namespace {

char LowerAsciiChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAsciiChar(x) == LowerAsciiChar(y);
         });
}

// Which positions of the type list the names allow; false with the first unknown name.
bool AllowedTypes(const std::vector<std::string>& names,
                  const std::vector<MsgTypeMatcherInfo>& types, std::vector<bool>& allowed,
                  std::string& error) {
  allowed.assign(names.empty() ? 0 : types.size(), false);
  for (const std::string& name : names) {
    if (SameNameIgnoringCase(name, kCountedTypesName)) {
      for (std::size_t i = 0; i < allowed.size() && i < kCountedMsgTypes; ++i)
        allowed[i] = true;
      continue;
    }
    bool known = false;
    for (std::size_t i = 0; i < types.size(); ++i) {
      if (SameNameIgnoringCase(name, types[i].name)) {
        allowed[i] = true;
        known = true;
      }
    }
    if (!known) {
      error = "unknown message type \"" + name + "\"";
      return false;
    }
  }
  return true;
}

}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), LowerAsciiChar);
  return lower;
}

bool LineFilter::Set(const ViewFilter& filter, LineClassifier& types, std::string& error) {
  types.LoadMsgTypes();
  std::vector<bool> allowed;
  if (!AllowedTypes(filter.types, types.Types(), allowed, error))
    return false;
  std::unique_ptr<RegExpr> expression;
  RequiredTexts required;
  if (!filter.expression.empty()) {
    const std::string text = filter.ignoreCase ? LowerAscii(filter.expression) : filter.expression;
    expression = std::make_unique<RegExpr>(text);
    if (!expression->program()) {
      error = expression->lastError();
      return false;
    }
    required = RequiredLiterals(text);
  }
  filter_ = filter;
  filter_.context = std::clamp(filter.context, 0, kMaxFilterContext);
  typeAllowed_ = std::move(allowed);
  expression_ = std::move(expression);
  required_ = std::move(required);
  // The finders view the texts, which stay where they are from here on (a move of the filter
  // moves the list, not its strings).
  finders_.clear();
  for (const std::string& needed : required_.texts)
    finders_.emplace_back(needed);
  buffer_ = {};
  ++version_;
  return true;
}

void LineFilter::StartBuffer(std::string_view text) {
  buffer_ = {};
  // Lower-casing, and the placeholders that replace zero bytes while the lines are split, make
  // a line's text differ from the buffer's: such filters search each line.
  const bool placeholder =
      std::any_of(required_.texts.begin(), required_.texts.end(), [](const std::string& needed) {
        return needed.find(ui::kNulPlaceholder) != std::string::npos;
      });
  if (required_.texts.empty() || filter_.ignoreCase || placeholder)
    return;
  buffer_ = text;
  nextHit_.assign(required_.texts.size(), nullptr);
  lastLine_ = nullptr;
}

bool LineFilter::InBuffer(std::string_view line) const {
  return !buffer_.empty() && line.data() >= buffer_.data() &&
         line.data() + line.size() <= buffer_.data() + buffer_.size();
}

std::size_t LineFilter::EarliestInBuffer(std::string_view line) {
  if (line.data() < lastLine_)
    std::fill(nextHit_.begin(), nextHit_.end(), nullptr);  // asked out of order: look again
  lastLine_ = line.data();
  const char* const bufferEnd = buffer_.data() + buffer_.size();
  const char* const lineEnd = line.data() + line.size();
  std::size_t earliest = std::string::npos;
  for (std::size_t k = 0; k < nextHit_.size(); ++k) {
    const std::string& needed = required_.texts[k];
    const char*& next = nextHit_[k];
    if (next == nullptr || next < line.data()) {
      const std::string_view rest(line.data(), static_cast<std::size_t>(bufferEnd - line.data()));
      const std::size_t at = finders_[k].Find(rest);
      next = at == std::string_view::npos ? bufferEnd : line.data() + at;
    }
    if (next + needed.size() <= lineEnd)
      earliest = std::min(earliest, static_cast<std::size_t>(next - line.data()));
  }
  return earliest;
}

bool LineFilter::MatchesExpression(std::string_view line) {
  std::size_t from = 0;
  const bool scanned = !required_.texts.empty() && InBuffer(line);
  if (scanned) {
    from = EarliestInBuffer(line);
    if (from == std::string::npos)
      return false;  // before the line is even copied
  }
  // The engine reads up to a zero byte: a line holds none (it ends at its first).
  subject_.assign(line);
  if (filter_.ignoreCase)
    std::transform(subject_.begin(), subject_.end(), subject_.begin(), LowerAsciiChar);
  if (!required_.texts.empty() && !scanned) {
    from = EarliestOf(subject_, required_.texts);
    if (from == std::string::npos)
      return false;
  }
  if (!required_.leading || from > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    from = 0;
  int length = 0;
  return expression_->Match(subject_.c_str(), length, static_cast<int>(from)) >= 0;
}

bool LineFilter::Passes(std::string_view line, LineClassifier& types) {
  return Passes(line, typeAllowed_.empty() ? kUnclassified : types.FindMsgType(line));
}

bool LineFilter::Passes(std::string_view line, int position) {
  if (!typeAllowed_.empty()) {
    if (position < 0 || static_cast<std::size_t>(position) >= typeAllowed_.size() ||
        !typeAllowed_[static_cast<std::size_t>(position)])
      return false;
  }
  if (expression_ && MatchesExpression(line) == filter_.hideMatching)
    return false;
  return true;
}

}  // namespace brontel
