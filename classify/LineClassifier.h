/** @file LineClassifier.h: a viewer's message types: classification, counts and line colours. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "classify/MsgTypeMatcherInfo.h"
#include "settings/ExtManager.h"
#include "ui/TRAHLEditor.h"

namespace brontel {

// Position of a type in the list; kUnclassified when a line belongs to no type.
inline constexpr int kUnclassified = -1;
// Positions 0 .. kCountedMsgTypes-1 are counted and kept in the line history.
inline constexpr int kCountedMsgTypes = 3;
// The name of the type that is counted but never shown in the counts text.
inline constexpr std::string_view kSummaryTypeName = "Summary";

// One viewer window's ordered list of message types, loaded from the settings store (or chosen
// for the viewer's file) the first time a line is classified (LoadMsgTypes) and kept for the
// window's life: settings changed later take effect in the next window.
//
// Classification is not cached: every call runs the types in list order, each type's
// expressions in order, until one matches. Where the expressions of the list search a line
// for several texts, the line is scanned for all of them at once (RegLiteralSet), the first
// time one is needed. Per line nothing is allocated once the internal line buffer has grown to
// the longest line seen.
//
// Ownership: owns the types; `store` must outlive the classifier (the process-wide store does).
// Errors: only what the store or memory exhaustion throws; bad expressions never match.
// Threads: the viewer's UI thread only (matching uses state inside each expression).
class LineClassifier {
 public:
  explicit LineClassifier(ExtManager& store) : store_(store) {}

  LineClassifier(const LineClassifier&) = delete;
  LineClassifier& operator=(const LineClassifier&) = delete;

  // Fills the list when it is empty; a no-op otherwise. From the store, unless a file was set
  // and the user asks for a preset chosen for it or for the built-in types (AutoTypes.h).
  void LoadMsgTypes();

  // The file whose lines are classified; set before the first classification, it lets the
  // types be chosen for the file when they are loaded.
  void SetFilePath(std::string path) { filePath_ = std::move(path); }

  // The preset chosen for the file when the types were loaded, or empty. Loads them first.
  const std::string& ChosenPreset();

  // " [types: NAME]" for a chosen preset, for the status text; empty otherwise.
  std::string ChosenPresetLabel();

  // The position of the first type whose expressions match `line`, or kUnclassified. Lines of
  // 0 or 1 characters are never classified. Loads the list first if needed.
  int FindMsgType(std::string_view line);

  // Classifies a line that is being added to the display (as read from the file, tabs not
  // expanded); a line at a counted position adds 1 to that type's count. True when counted:
  // the caller then keeps the line in the history.
  bool CountLine(std::string_view line);

  // Adds 1 to the count of the type at `position` when it is a counted position; true then.
  bool CountType(int position);

  // Sets every type's count to 0.
  void ResetMsgTypeCounts();

  // "Name:count" of every type with a count other than 0, in list order, joined by ", ";
  // a type named exactly "Summary" is left out. Empty when nothing was counted.
  std::string MsgTypeCountsText() const;

  // The colour of a displayed line: its type's colours and style, or window text on window
  // background without style when unclassified. Written to positions 1 .. 1024 of `attrs`;
  // entry 0 keeps what the view put there.
  void FillLineAttrs(std::string_view line, ui::LineAttrs& attrs);

  // The text view's line-attribute callback, bindable to TRAHLEditor::OnGetLineAttr.
  void _editorGetLineAttr(ui::TRAHLEditor& sender, std::string_view line, std::size_t index,
                          ui::LineAttrs& attrs);

  // The positions in the order classification tries them: list order, except that a
  // configured list's closing Summary type comes first. Loads the list first if needed.
  std::vector<std::size_t> MatchOrder();

  // The list as loaded so far (empty before the first classification).
  const std::vector<MsgTypeMatcherInfo>& Types() const { return types_; }
  std::vector<MsgTypeMatcherInfo>& Types() { return types_; }

 private:
  void LoadChosenTypes();
  void ShareTextSearches();
  template <bool kSharing>
  int FindAmongTypes(MatchSubject& subject);

  ExtManager& store_;
  std::vector<MsgTypeMatcherInfo> types_;
  // The texts the types' expressions search for, when there are enough of them to share one
  // scan of each line; null otherwise.
  std::unique_ptr<RegLiteralSet> sharedTexts_;
  std::string lineBuffer_;
  std::string filePath_;
  std::string chosenPreset_;
  // A configured list tries its closing Summary type first, so that the viewer's own "|" lines
  // keep their colours whatever the other types' expressions match in them.
  bool summaryFirst_ = false;
};

}  // namespace brontel
