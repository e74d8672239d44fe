#include "viewer/FindBarController.h"

#include <algorithm>
#include <utility>

namespace brontel {

FindBarController::FindBarController(FindBar& bar, ui::TRAHLEditor& view, ApplyFilter apply)
    : bar_(bar), view_(view), apply_(std::move(apply)), types_(bar) {
  Bind();
}

void FindBarController::Bind() {
  bar_.btnFindNext.OnClick = [this](ui::Component&) { Find(true); };
  bar_.btnFindPrev.OnClick = [this](ui::Component&) { Find(false); };
  bar_.btnFilter.OnClick = [this](ui::Component&) { Filter(); };
  bar_.btnCloseBar.OnClick = [this](ui::Component&) { Close(); };
}

void FindBarController::Open(const ViewFilter& current, const std::vector<std::string>& typeNames) {
  types_.Open(current.types, typeNames);
  bar_.comFilterContext.SetItemIndex(current.context);
  bar_.chkHideMatching.SetChecked(current.hideMatching);
  if (!current.expression.empty() && bar_.edtFind.Text().empty())
    bar_.edtFind.SetText(current.expression);
  bar_.pnlFindBar.SetVisible(true);
  if (bar_.edtFind.Showing())
    bar_.edtFind.SetFocus();
}

void FindBarController::Close() {
  bar_.pnlFindBar.SetVisible(false);
  if (view_.Showing())
    view_.SetFocus();
}

bool FindBarController::HasFocus() const {
  const ui::Control* focused = bar_.pnlFindBar.FocusedControl();
  for (; focused != nullptr; focused = focused->Parent()) {
    if (focused == &bar_.pnlFindBar)
      return true;
  }
  return false;
}

bool FindBarController::Find(bool forwards) {
  const FindQuery query{bar_.edtFind.Text(), bar_.chkExpression.Checked(),
                        bar_.chkMatchCase.Checked(), bar_.chkWholeWords.Checked()};
  std::string error;
  if (!finder_.Set(query, error)) {
    Say(error);
    return false;
  }
  if (query.pattern.empty()) {
    Say("");
    return false;
  }
  // From a match selected before, the search moves on from its start, so that a match that
  // follows right after it is not passed over.
  const bool selected = view_.SelLength() > 0;
  const std::size_t from = selected ? view_.SelStart() + (forwards ? 1 : 0) : view_.CaretOffset();
  const std::optional<ViewMatch> match = finder_.Find(view_, from, forwards);
  if (!match) {
    Say("not found");
    return false;
  }
  view_.SetSelStart(match->offset);
  view_.SetSelLength(static_cast<std::int64_t>(match->length));
  const auto [total, number] = finder_.Count(view_, match->offset);
  std::string text = "match " + std::to_string(number) + " of " + std::to_string(total);
  if (match->wrapped)
    text += forwards ? ", from the top" : ", from the end";
  Say(std::move(text));
  return true;
}

ViewFilter FindBarController::FieldsFilter() const {
  ViewFilter filter;
  filter.types = types_.Chosen();
  filter.expression = bar_.edtFind.Text();
  filter.hideMatching = bar_.chkHideMatching.Checked();
  filter.ignoreCase = !bar_.chkMatchCase.Checked();
  filter.context = std::max(0, bar_.comFilterContext.ItemIndex());
  return filter;
}

bool FindBarController::Filter() {
  std::string error;
  if (!apply_(FieldsFilter(), error)) {
    Say(error);
    return false;
  }
  Say("");
  return true;
}

bool FindBarController::KeyDown(ui::KeyCode key, ui::ShiftState shift) {
  if (key != ui::vk::Return || !HasFocus())
    return false;
  const ui::ShiftState mods = ui::Modifiers(shift);
  if (mods == ui::ShiftState::None || mods == ui::ShiftState::Shift) {
    Find(mods == ui::ShiftState::None);
    return true;
  }
  return false;
}

}  // namespace brontel
