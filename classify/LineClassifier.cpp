#include "classify/LineClassifier.h"

#include <limits>
#include <optional>

#include "classify/AutoTypes.h"
#include "classify/IniTextStore.h"
#include "classify/MsgTypeLoader.h"
#include "classify/PresetTexts.h"
#include "classify/TypeChoice.h"

namespace brontel {

void LineClassifier::LoadMsgTypes() {
  if (!types_.empty())
    return;
  const TypesRequest request =
      filePath_.empty() ? TypesRequest::FromSettings : RequestedTypes(store_);
  if (request == TypesRequest::Choose)
    LoadChosenTypes();
  if (request == TypesRequest::FromSettings) {
    brontel::LoadMsgTypes(store_, types_);
    summaryFirst_ = store_.ReadInteger("MsgTypes\\Count", 0) >= 1;
  }
  if (types_.empty())
    types_ = BuiltinMsgTypes();
  ShareTextSearches();
}

// One text is found as fast alone as by the shared scan, which costs about as much as two or
// three searches of their own (bench/types); the built-in types search one.
void LineClassifier::ShareTextSearches() {
  constexpr std::size_t kFewestShared = 3;
  auto texts = std::make_unique<RegLiteralSet>();
  for (MsgTypeMatcherInfo& type : types_)
    type.ShareSearches(texts.get());
  if (texts->size() >= kFewestShared) {
    sharedTexts_ = std::move(texts);
    return;
  }
  for (MsgTypeMatcherInfo& type : types_)
    type.ShareSearches(nullptr);
  sharedTexts_.reset();
}

void LineClassifier::LoadChosenTypes() {
  // A start that cannot be read keeps the built-in types, whatever the name promises.
  const std::optional<std::string> head = ReadChoiceHead(filePath_);
  if (!head)
    return;
  const std::string_view name = ChoosePreset(filePath_, *head);
  const PresetText* preset = name.empty() ? nullptr : FindEmbeddedPreset(name);
  if (preset == nullptr)
    return;
  IniTextStore presetStore(preset->text);
  brontel::LoadMsgTypes(presetStore, types_);
  chosenPreset_ = std::string(name);
  summaryFirst_ = true;
}

const std::string& LineClassifier::ChosenPreset() {
  LoadMsgTypes();
  return chosenPreset_;
}

std::string LineClassifier::ChosenPresetLabel() {
  const std::string& preset = ChosenPreset();
  return preset.empty() ? std::string() : " [types: " + preset + "]";
}

std::vector<std::size_t> LineClassifier::MatchOrder() {
  LoadMsgTypes();
  std::vector<std::size_t> order;
  if (summaryFirst_)
    order.push_back(types_.size() - 1);
  for (std::size_t position = 0; order.size() < types_.size(); ++position)
    order.push_back(position);
  return order;
}

int LineClassifier::FindMsgType(std::string_view line) {
  LoadMsgTypes();
  if (line.size() <= 1)
    return kUnclassified;
  MatchSubject subject(line, lineBuffer_, sharedTexts_.get());
  return sharedTexts_ != nullptr ? FindAmongTypes<true>(subject) : FindAmongTypes<false>(subject);
}

// Without a shared set the types are asked as they were before there was one: what sharing
// would add to each type's test measured several per cent of the built-in types' time.
template <bool kSharing>
int LineClassifier::FindAmongTypes(MatchSubject& subject) {
  const auto matches = [&subject](MsgTypeMatcherInfo& type) {
    return kSharing ? type.MatchesLineSharing(subject) : type.MatchesLine(subject);
  };
  std::size_t end = types_.size();
  if (summaryFirst_) {
    --end;
    if (matches(types_[end]))
      return static_cast<int>(end);
  }
  for (std::size_t position = 0; position < end; ++position) {
    if (matches(types_[position]))
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
