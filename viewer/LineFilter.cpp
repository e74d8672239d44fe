#include "viewer/LineFilter.h"

#include <algorithm>
#include <limits>

#include "classify/LineClassifier.h"
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
  ++version_;
  return true;
}

bool LineFilter::MatchesExpression(std::string_view line) {
  // The engine reads up to a zero byte: a line holds none (it ends at its first).
  subject_.assign(line);
  if (filter_.ignoreCase)
    std::transform(subject_.begin(), subject_.end(), subject_.begin(), LowerAsciiChar);
  std::size_t from = 0;
  if (!required_.texts.empty()) {
    from = EarliestOf(subject_, required_.texts);
    if (from == std::string::npos)
      return false;
    if (!required_.leading || from > static_cast<std::size_t>(std::numeric_limits<int>::max()))
      from = 0;
  }
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
