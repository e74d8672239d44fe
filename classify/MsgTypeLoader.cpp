#include "classify/MsgTypeLoader.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace brontel {
namespace {

using ui::FontStyle;

constexpr std::string_view kDefaultForeColor = "clWindowText";
constexpr std::string_view kDefaultBackColor = "clWindow";
constexpr std::string_view kDefaultStyle = "1";

MsgTypeMatcherInfo MakeType(std::int32_t typeNo, std::string name, std::string shortName,
                            TSymbolColor color, std::initializer_list<std::string_view> exprs) {
  MsgTypeMatcherInfo type;
  type.typeNo = typeNo;
  type.name = std::move(name);
  type.shortName = std::move(shortName);
  type.color = color;
  for (const std::string_view expr : exprs)
    type.AddExpr(expr);
  type.CompileExprs();
  return type;
}

// Each built-in type recognises its lines as read from the file (marker, tab, text) and as the
// text view shows them (the tab expanded to three blanks).
std::vector<MsgTypeMatcherInfo> BuiltinsWithoutSummary() {
  std::vector<MsgTypeMatcherInfo> types;
  types.push_back(
      MakeType(0, "Error", "E", {ui::clWhite, ui::clRed, FontStyle::Bold}, {"^E   .+", "^E\t.+"}));
  types.push_back(MakeType(1, "Warning", "W", {ui::clBlack, ui::clYellow, FontStyle::Bold},
                           {"^W   .+", "^W\t.+"}));
  types.push_back(MakeType(2, "Urgent", "U",
                           {ui::clRed, ui::clBlack, FontStyle::Bold | FontStyle::Italic},
                           {"^U   .+", "^U\t.+", ".+FAILED.+"}));
  return types;
}

class ItemReader {
 public:
  ItemReader(ExtManager& store, const std::string& item)
      : store_(store), section_("MsgTypes." + item + "\\") {}

  std::string String(std::string_view key, std::string_view defaultValue) {
    return store_.ReadString(section_ + std::string(key), std::string(defaultValue));
  }
  std::int32_t Integer(std::string_view key, std::int32_t defaultValue) {
    return store_.ReadInteger(section_ + std::string(key), defaultValue);
  }
  // A text that is no colour at all falls back to the key's default rather than ending the
  // load: the file is the user's, and one typo must not drop every later type.
  ui::Color Color(std::string_view key, std::string_view defaultText) {
    return ColorFromText(String(key, defaultText))
        .value_or(ColorFromText(defaultText).value_or(ui::clNone));
  }

 private:
  ExtManager& store_;
  std::string section_;
};

// `exprBudget`: how many expressions all further types may still read; lowered by this one.
MsgTypeMatcherInfo ReadConfiguredType(ExtManager& store, std::int32_t typeNo,
                                      const std::string& item, std::int32_t& exprBudget) {
  ItemReader reader(store, item);
  MsgTypeMatcherInfo type;
  type.typeNo = typeNo;
  type.name = reader.String("Name", "");
  type.shortName = reader.String("ShortName", "");
  type.color.ForeColor = reader.Color("ForeColor", kDefaultForeColor);
  type.color.BackColor = reader.Color("BackColor", kDefaultBackColor);
  type.color.Style = StyleFromText(reader.String("Style", kDefaultStyle));
  type.count = 0;
  const std::int32_t exprCount =
      std::min({reader.Integer("ExprCount", 0), kMaxExprsPerMsgType, exprBudget});
  if (exprCount > 0)
    exprBudget -= exprCount;
  for (std::int32_t j = 0; j < exprCount; ++j) {
    const std::string expr = reader.String("Expr" + std::to_string(j), "");
    if (!expr.empty())
      type.AddExpr(expr);
  }
  if (exprCount > 0)
    type.CompileExprs();
  return type;
}

}  // namespace

MsgTypeMatcherInfo SummaryMsgType(std::int32_t typeNo) {
  return MakeType(typeNo, "Summary", "Summary ",
                  {ui::clWhite, ui::clGray, FontStyle::Bold | FontStyle::Italic},
                  {"^[|]   .+", "^[|]\t.+"});
}

std::vector<MsgTypeMatcherInfo> BuiltinMsgTypes() {
  std::vector<MsgTypeMatcherInfo> types = BuiltinsWithoutSummary();
  types.push_back(SummaryMsgType(3));
  return types;
}

std::string MsgTypesProblem(const std::vector<MsgTypeMatcherInfo>& types) {
  for (const MsgTypeMatcherInfo& type : types) {
    for (std::size_t j = 0; j < type.compiled.size() && j < type.exprTexts.size(); ++j) {
      const RegExpr& expr = *type.compiled[j];
      if (expr.program() == nullptr) {
        return "the expression " + type.exprTexts[j] + " of " + type.name +
               " does not compile: " + expr.lastError();
      }
    }
  }
  return {};
}

void LoadMsgTypes(ExtManager& store, std::vector<MsgTypeMatcherInfo>& types) {
  const std::int32_t count = store.ReadInteger("MsgTypes\\Count", 0);
  if (count < 1) {
    for (MsgTypeMatcherInfo& type : BuiltinMsgTypes())
      types.push_back(std::move(type));
    return;
  }
  const std::int32_t items = std::min(count, kMaxConfiguredMsgTypes);
  std::int32_t exprBudget = kMaxConfiguredExprs;
  for (std::int32_t i = 0; i < items; ++i) {
    const std::string item = store.ReadString("MsgTypes\\Item" + std::to_string(i), "");
    if (!item.empty())
      types.push_back(ReadConfiguredType(store, i, item, exprBudget));
  }
  types.push_back(SummaryMsgType(count));
}

}  // namespace brontel
