#include "classify/LineClassifier.h"

#include <limits>

#include "classify/MsgTypeLoader.h"

namespace brontel {

void LineClassifier::LoadMsgTypes() {
  if (types_.empty())
    brontel::LoadMsgTypes(store_, types_);
}

int LineClassifier::FindMsgType(std::string_view line) {
  LoadMsgTypes();
  if (line.size() <= 1)
    return kUnclassified;
  MatchSubject subject(line, lineBuffer_);
  for (std::size_t position = 0; position < types_.size(); ++position) {
    if (types_[position].MatchesLine(subject))
      return static_cast<int>(position);
  }
  return kUnclassified;
}

bool LineClassifier::CountLine(std::string_view line) {
  return CountType(FindMsgType(line));
}

bool LineClassifier::CountType(int position) {
  if (position < 0 || position >= kCountedMsgTypes)
    return false;
  std::int32_t& count = types_[static_cast<std::size_t>(position)].count;
  // A count that has reached the top stays there rather than wrapping to a negative number.
  if (count < std::numeric_limits<std::int32_t>::max())
    ++count;
  return true;
}

void LineClassifier::ResetMsgTypeCounts() {
  for (MsgTypeMatcherInfo& type : types_)
    type.count = 0;
}

std::string LineClassifier::MsgTypeCountsText() const {
  std::string text;
  for (const MsgTypeMatcherInfo& type : types_) {
    if (type.name == kSummaryTypeName || type.count == 0)
      continue;
    if (!text.empty())
      text += ", ";
    text += type.name;
    text += ':';
    text += std::to_string(type.count);
  }
  return text;
}

void LineClassifier::FillLineAttrs(std::string_view line, ui::LineAttrs& attrs) {
  const int position = FindMsgType(line);
  ui::TextAttr attr;  // window text on window background, no style
  if (position != kUnclassified) {
    const TSymbolColor& color = types_[static_cast<std::size_t>(position)].color;
    attr = ui::TextAttr{color.ForeColor, color.BackColor, color.Style};
  }
  for (std::size_t i = 1; i < attrs.size(); ++i)
    attrs[i] = attr;
}

void LineClassifier::_editorGetLineAttr(ui::TRAHLEditor& /*sender*/, std::string_view line,
                                        std::size_t /*index*/, ui::LineAttrs& attrs) {
  FillLineAttrs(line, attrs);
}

}  // namespace brontel
