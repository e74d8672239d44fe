/** @file TForm1.h: the viewer window: layout, options mirror, modes, keys and life cycle. */
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "classify/LineClassifier.h"
#include "platform/DirectoryChanges.h"
#include "plugin/TListWindowIntf.h"
#include "settings/ConfigData.h"
#include "settings/ExtManager.h"
#include "ui/Keys.h"
#include "viewer/CompleteLoad.h"
#include "viewer/FindBarController.h"
#include "viewer/KeptPlace.h"
#include "viewer/NavigationCommands.h"
#include "viewer/TailLoader.h"
#include "viewer/ViewerControls.h"
#include "watch/Fsnotify.h"

namespace brontel {

// The close actions a close handler may choose.
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// One viewer window per shown file. It keeps the tail (or, on request, the whole file) of the
// log in its text view and current while the log grows: the directory watcher and a one-second
// poll mark a reload as due, the reload timer performs at most one tail load per tick.
//
// Life cycle: construct (may throw: a complete load that fails during construction declines the
// file), FormCreate, FormShow; Close runs FormCloseQuery and FormClose, whose caFree posts the
// deletion to the UI thread ("release later"): a closed viewer must have been made with new and
// is deleted by the posted work, after the close call has returned.
//
// Threads: everything runs on the UI thread. The watcher's worker only posts a notification;
// the change check runs when the UI thread gets to it (several notifications waiting count as
// one), and not at all when the window is gone by then. `viewerLock` is held by the option
// control updates, the marking of a due reload, the reload, the marker searches and saving.
//
// Ownership: owns its controls, options record, history, message types and watcher. `store`,
// `changes` and the toolkit must outlive the window.
class TForm1 : public TListWindowIntf {
 public:
  // The viewer as the entry points make it: options from GetExtMgr(), the system's watcher.
  TForm1(ui::Toolkit& toolkit, std::uintptr_t parentWindow, const std::string& fileName);
  // The same with the settings store and directory-change source given.
  TForm1(ui::Toolkit& toolkit, std::uintptr_t parentWindow, const std::string& fileName,
         ExtManager& store, platform::DirectoryChangeSource& changes);
  ~TForm1() override;

  // --- window-host operations --------------------------------------------------------------
  TextOffset FindText(std::string_view pattern, TextOffset start, int flags) override;
  // Also the expression search (kSearchExpression) of the view's lines, under the viewer's lock.
  TextMatch FindMatch(std::string_view pattern, TextOffset start, int flags) override;
  TextOffset FindTextPos(std::string_view pattern, TextOffset start, int flags) override;
  int SaveHistory(const std::string& fileName) override;
  int SaveLines(const std::string& fileName) override;
  void SetSelStart(TextOffset offset) override;
  TextOffset GetSelStart() override;
  void SetSelLength(TextOffset count) override;
  TextOffset GetSelLength() override;
  TextOffset GetTextLength() override;

  // --- life cycle ----------------------------------------------------------------------------
  void FormCreate();
  void FormShow();
  // Saves the options; true (the close may go on). A refused write is recorded in the trace log:
  // closing never fails because the settings file is read-only.
  bool FormCloseQuery();
  void FormClose(TCloseAction& action);
  // The close: FormCloseQuery, FormClose, and for caFree the posted deletion.
  void Close();

  // --- option mirror -------------------------------------------------------------------------
  void OptionsToControls();
  void ControlsToOptions();
  void OptionsChanged();
  void UpdateOptionControls();
  void ToggleOptionsPanel(std::int32_t n);

  // --- handlers --------------------------------------------------------------------------------
  void FormKeyDown(ui::KeyCode& key, ui::ShiftState shift);
  void _editorKeyDown(ui::KeyCode& key, ui::ShiftState shift) { FormKeyDown(key, shift); }
  void SpeedButton1Click();
  void Button7Click();
  void chkActiveClick();
  void CheckBox1Click();
  void CheckBox2Click();
  void Edit1Exit();
  void Edit1Change();
  void comBufferSizeClick();
  void comMaxHistLinesClick();
  // `sender` is the check box itself for a user click, the window for the option mirror.
  void chkCompleteClick(const ui::Component& sender);
  void chkAutoTypesClick();
  void chkRememberPlacesClick();
  void EditCopy2Execute();
  void EditSelectAll1Execute();
  void Timer1Timer();
  void Timer2Timer() { CheckFileChanged(); }

  // --- modes -----------------------------------------------------------------------------------
  void CheckFileChanged();
  // The watcher's change handler, callable from any thread: posts one change check to the UI
  // thread unless one is already waiting there.
  void NotifyFileChanged();
  // Moves `path` on to newer files of the numbered series; true when it changed.
  bool CycleToNextFile();

  // --- find and filter -------------------------------------------------------------------------
  // Takes `filter` for the view and rebuilds the view with it (a tail load, or the complete load
  // again while the complete view is shown); false with the reason when it is refused, the filter
  // in force then stays.
  bool ApplyFilter(const ViewFilter& filter, std::string& error);
  // Opens the find-and-filter bar (Ctrl+B, the context menu) with the filter in force.
  void OpenFindBar();
  FindBarController& findBar() { return findBar_; }
  const ViewModel& viewModel() const { return loader_.Model(); }

  // --- navigation (beep on a miss) ------------------------------------------------------------
  void actGotoHistoryExecute();
  void actGotoPrevErrorExecute() { RunJumpWithBeep({'E', false}); }
  void actGotoNextErrorExecute() { RunJumpWithBeep({'E', true}); }
  void actGotoPrevWarningExecute() { RunJumpWithBeep({'W', false}); }
  void actGotoNextWarningExecute() { RunJumpWithBeep({'W', true}); }
  void actGotoPrevUrgentExecute() { RunJumpWithBeep({'U', false}); }
  void actGotoNextUrgentExecute() { RunJumpWithBeep({'U', true}); }
  void Button1Click() { RunJumpWithBeep({'E', true}); }
  void Button2Click() { RunJumpWithBeep({'E', false}); }
  void Button3Click() { RunJumpWithBeep({'W', false}); }
  void Button4Click() { RunJumpWithBeep({'U', false}); }
  void Button5Click() { RunJumpWithBeep({'W', true}); }
  void Button6Click() { RunJumpWithBeep({'U', true}); }

  // --- state, for the shells and tests ----------------------------------------------------------
  ViewerControls& controls() { return controls_; }
  ui::TRAHLEditor& editor() { return controls_._editor; }
  ConfigData& options() { return options_; }
  const TailViewerState& viewerState() const { return state_; }
  LineClassifier& messageTypes() { return types_; }
  TFSNotify* watcher() { return watcher_.get(); }
  std::int32_t reloadPending() const { return reloadPending_; }
  bool firstTick() const { return firstTick_; }
  // Whether following the end is paused in this view: the reader moved away from the last line
  // (or went to the history); it resumes once the last line is back in view.
  bool followPaused() const { return followPaused_; }
  // Tail loads and complete loads run so far.
  std::uint64_t TailLoads() const { return tailLoads_; }
  std::uint64_t CompleteLoads() const { return completeLoads_; }
  // True while a complete load's index is still built in the background.
  bool Indexing() const { return complete_.Indexing(); }
  // The tail of a compressed log is still being decompressed in the background.
  bool Decompressing() const { return loader_.Unfinished(); }

  std::recursive_mutex viewerLock;

 private:
  void BindHandlers();
  void BindNavigation();
  void RunJumpWithBeep(MarkerJump jump);
  bool KeyToHost(ui::KeyCode& key, ui::ShiftState shift);
  bool KeyToView(ui::KeyCode key, ui::ShiftState mods);
  void SetViewerPath(const std::string& newPath);
  void CreateWatcher();
  void RestartPollTimer();
  void RunCompleteLoad(bool requested);
  void ReturnToTailView();
  void HideOptionsPanel();
  void MarkReloadDue();
  void ReportSettingsProblems();
  void WriteCheckAtOnce(const char* keyPath, const ui::CheckBox& box);
  void TakeUpKeptPlace();
  void PutBackKeptPlace();
  void KeepReadingPlace();
  // Label2 shows the last load's status text and the filter's, once a load made one.
  void ShowStatusText();
  // Enter in the bar and the key that opens it; true when the key was one of them.
  bool KeyToFindBar(ui::KeyCode key, ui::ShiftState shift);
  // The view again, with the filter now in force.
  void RebuildView();
  // Pauses following while the view or the caret stands away from the last line, and resumes it
  // once the last line is in view again with the caret on it (or out of sight).
  void UpdateFollowPause();

  ui::Toolkit& toolkit_;
  ExtManager& store_;
  platform::DirectoryChangeSource& changes_;
  ViewerControls controls_;
  ConfigData options_;
  LineClassifier types_;
  TailViewerState state_;
  TailLoader loader_;
  CompleteLoad complete_;
  FindBarController findBar_;
  std::unique_ptr<TFSNotify> watcher_;
  std::optional<ReadingPlaces> places_;   // where places are kept, unless that is switched off
  std::optional<ViewerPlace> keptPlace_;  // taken up for the first load
  std::string statusNote_;  // e.g. an expression that does not compile; the first viewer only
  std::int32_t reloadPending_ = 0;
  bool updatingControls_ = true;
  bool firstTick_ = true;
  bool followPaused_ = false;
  bool constructing_ = true;
  // Set while a complete load runs: the option changes it makes re-run the option mirror,
  // which must not start a second load inside it.
  bool completeLoadRunning_ = false;
  std::uint64_t tailLoads_ = 0;
  std::uint64_t completeLoads_ = 0;
  // Posted change checks find the window through this; it dies with the window.
  std::shared_ptr<TForm1*> self_;
  std::atomic<bool> changeCheckPosted_{false};
};

}  // namespace brontel
