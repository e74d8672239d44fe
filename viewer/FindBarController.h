/** @file FindBarController.h: what the find-and-filter bar does with the view. */
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Keys.h"
#include "ui/TRAHLEditor.h"
#include "viewer/FilterTypeChoice.h"
#include "viewer/FindBar.h"
#include "viewer/ViewFilter.h"
#include "viewer/ViewFinder.h"

namespace brontel {

// Runs the bar: finds the field's text or expression in the view (next, previous, going round
// with a word in the status label, "match 3 of 41" there), and hands the filter the bar's
// fields make to the window, which applies it or refuses it with a reason the label shows.
// The caller holds the viewer's lock around every call. UI thread only.
class FindBarController {
 public:
  // Applies a filter; false with the reason when it is refused.
  using ApplyFilter = std::function<bool(const ViewFilter& filter, std::string& error)>;

  FindBarController(FindBar& bar, ui::TRAHLEditor& view, ApplyFilter apply);

  bool Visible() const { return bar_.pnlFindBar.Visible(); }
  // Shows the bar with `current` in its filter fields and `typeNames` to choose from, and puts
  // the focus into its field.
  void Open(const ViewFilter& current, const std::vector<std::string>& typeNames);
  // Hides the bar; the view takes the focus back.
  void Close();

  // The next (or previous) match from the caret or the selected match; true when one was found.
  bool Find(bool forwards);
  // Applies the filter the fields describe: the field's text as the expression (empty: none),
  // the type choice, the context and "hide matching"; the match case option holds for it too.
  bool Filter();
  // The filter the fields describe.
  ViewFilter FieldsFilter() const;

  // Enter (next) and Shift+Enter (previous) while the bar has the focus; true when taken.
  bool KeyDown(ui::KeyCode key, ui::ShiftState shift);
  // Whether the focus is inside the bar.
  bool HasFocus() const;

 private:
  void Bind();
  void Say(std::string text) { bar_.lblFindStatus.SetCaption(std::move(text)); }

  FindBar& bar_;
  ui::TRAHLEditor& view_;
  ApplyFilter apply_;
  ViewFinder finder_;
  FilterTypeChoice types_;
};

}  // namespace brontel
