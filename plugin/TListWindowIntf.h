/** @file TListWindowIntf.h: the base of every viewer window, parented into the host's window. */
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "plugin/TextSearcher.h"
#include "ui/Form.h"
#include "ui/HostWindow.h"
#include "ui/TRAHLEditor.h"
#include "ui/Toolkit.h"

namespace brontel {

// What the entry points may ask of any viewer: search, selection and saving, all in text offsets
// (positions in the view's whole text, every line followed by CR LF, also the last one).
//
// Construction: the parented constructor is the one the entry points use. It attaches the host's
// native window through the toolkit and keeps it for the viewer's whole life (keys are handed
// back through it). The other constructor makes a free-standing form without a host window.
// Either way `path` starts empty; the viewer sets it. The form has no border and no border
// icons; a shell that creates its native window makes it a child of the host window and reports
// the new window's handle with BindNativeWindow.
//
// The operations are abstract; a viewer that shows its text in a TRAHLEditor implements them by
// calling the protected helpers below, which carry the common behaviour (caret substitution and
// wrap-around of FindText, saving CR LF lines under the viewer's lock).
//
// Threads: every operation runs on the UI thread. Ownership: the toolkit outlives the form; the
// form owns its host window object.
// A match found in a viewer's whole text: where it starts (kNotFound for none) and how long it
// is, so that a match of any length is selected exactly.
struct TextMatch {
  TextOffset offset = kNotFound;
  TextOffset length = 0;
};

class TListWindowIntf : public ui::Form {
 public:
  // A viewer inside the host window `parentWindow` (its native handle as the host passed it).
  TListWindowIntf(ui::Toolkit& toolkit, std::uintptr_t parentWindow, std::string name);
  // A form without a host window.
  TListWindowIntf(ui::Toolkit& toolkit, std::string name);
  ~TListWindowIntf() override;

  TListWindowIntf(const TListWindowIntf&) = delete;
  TListWindowIntf& operator=(const TListWindowIntf&) = delete;

  // Full path of the file the viewer shows; empty until the viewer sets it.
  std::string path;

  // --- the operations, in their fixed order ---------------------------------------------------
  // Searches from `start` (0: from the caret) with the host's flags, wrapping around once; a
  // match is selected, the caret at its end and its line in view. Answers the match's offset or
  // kNotFound and never throws.
  virtual TextOffset FindText(std::string_view pattern, TextOffset start, int flags) = 0;
  // FindText with the match's length; with kSearchExpression in `flags` the pattern is a regular
  // expression (a viewer that has no such search finds nothing then). The host's search comes
  // here. Never throws.
  virtual TextMatch FindMatch(std::string_view pattern, TextOffset start, int flags);
  // One search from `start` as given: no caret, no wrap-around, no selection. Never throws.
  virtual TextOffset FindTextPos(std::string_view pattern, TextOffset start, int flags) = 0;
  // Writes the history lines to `fileName`, each ended by CR LF, under the viewer's lock; writes
  // nothing when there is no history. Answers 1; a failure to write throws
  // platform::PlatformError to the caller.
  virtual int SaveHistory(const std::string& fileName) = 0;
  // Writes all lines of the view the same way. Answers 1; failures throw as SaveHistory's.
  virtual int SaveLines(const std::string& fileName) = 0;
  // Moves the caret to `offset` (limited as the text view limits its caret), clears the
  // selection and brings the caret's line into view.
  virtual void SetSelStart(TextOffset offset) = 0;
  // The caret's text offset.
  virtual TextOffset GetSelStart() = 0;
  // Selects `count` characters from the caret on; the caret moves to the selection's end.
  virtual void SetSelLength(TextOffset count) = 0;
  virtual TextOffset GetSelLength() = 0;
  // Length of the view's whole text.
  virtual TextOffset GetTextLength() = 0;

  // --- the windows -----------------------------------------------------------------------------
  // The viewer's own native window, by which the entry points know it. Until a shell binds one,
  // a value that no other live viewer has (derived from the form's identity), so viewers on a
  // shell without native windows are still told apart.
  std::uintptr_t NativeHandle() const;
  // Called by the shell once it has created the form's native window.
  void BindNativeWindow(std::uintptr_t handle) { nativeHandle_ = handle; }
  // The host window the viewer lives in; nullptr for a form made without one.
  ui::HostWindow* Host() const { return hostWindow_.get(); }
  // The native handle of the host window, 0 without one.
  std::uintptr_t ParentWindow() const { return parentWindow_; }
  ui::Toolkit& toolkit() const { return toolkit_; }
  // The form has no border and no border icons when it lives in a host window.
  bool HasBorder() const { return hostWindow_ == nullptr; }

 protected:
  // FindText over `view`: start 0 becomes the caret's offset; when the first search finds
  // nothing and start was above 0, a second one runs from 0 (the whole text, forwards from its
  // beginning or backwards from its end). A match is selected exactly through SetSelStart and
  // SetSelLength of the view, at any column; the caret stands at its end, so the next search
  // either way moves on from it. A miss leaves caret and selection as they were. The pattern
  // ends at its first zero byte. Never throws.
  static TextOffset FindTextInView(ui::TRAHLEditor& view, std::string_view pattern,
                                   TextOffset start, int flags);
  // One TextSearcher search over the view's text. Never throws.
  static TextOffset FindTextPosInView(const ui::TRAHLEditor& view, std::string_view pattern,
                                      TextOffset start, int flags);
  // Selection operations as the view carries them out; offsets below 0 count as 0.
  static void SetSelStartInView(ui::TRAHLEditor& view, TextOffset offset);
  static TextOffset GetSelStartInView(const ui::TRAHLEditor& view);
  static void SetSelLengthInView(ui::TRAHLEditor& view, TextOffset count);
  static TextOffset GetSelLengthInView(const ui::TRAHLEditor& view);
  static TextOffset GetTextLengthInView(const ui::TRAHLEditor& view);

  // Writes `linesText` (lines each already followed by CR LF, as LineStore and LineHistory keep
  // them) to `fileName` while holding `viewerLock`, replacing the file; an empty text writes no
  // file at all. Answers 1. Throws platform::PlatformError when the file cannot be written.
  static int SaveHistoryText(std::recursive_mutex& viewerLock, std::string_view linesText,
                             const std::string& fileName);
  // Writes every line of `view` the same way, an empty view giving an empty file. Answers 1;
  // throws as SaveHistoryText.
  static int SaveViewLines(std::recursive_mutex& viewerLock, const ui::TRAHLEditor& view,
                           const std::string& fileName);

 private:
  ui::Toolkit& toolkit_;
  std::uintptr_t parentWindow_ = 0;
  std::unique_ptr<ui::HostWindow> hostWindow_;
  std::uintptr_t nativeHandle_ = 0;
};

}  // namespace brontel
