#include "viewer/TForm1.h"

#include <exception>
#include <utility>

#include "classify/AutoTypes.h"
#include "classify/MsgTypeLoader.h"
#include "diagnostics/FailureReport.h"
#include "diagnostics/TraceLog.h"
#include "platform/FileFacts.h"
#include "platform/PlatformError.h"
#include "platform/ProgramDirectory.h"
#include "settings/ExtMgr.h"
#include "ui/ScreenCursor.h"
#include "viewer/AutoCycle.h"
#include "viewer/CaretGutter.h"
#include "viewer/FilterSettings.h"
#include "viewer/MarkerSearch.h"
#include "viewer/OptionTables.h"
#include "viewer/TailText.h"

namespace brontel {

namespace {

constexpr std::uint32_t kReloadInterval = 400;
constexpr std::uint32_t kPollInterval = 1000;
constexpr std::uint32_t kPollRestartInterval = 100;

// The watcher reports changes of attributes, size, last write and security, not of names.
const TNotifyFilters kWatchedChanges{TNotifyFilter::cAttributes, TNotifyFilter::cSize,
                                     TNotifyFilter::cLastWrite, TNotifyFilter::cSecurity};

std::string DirectoryWithSeparator(const std::string& path) {
  // Windows paths may use either separator.
  const std::size_t slash = path.find_last_of(std::string{platform::PathSeparator(), '/'});
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsExactly(ui::ShiftState shift, ui::ShiftState wanted) {
  return ui::Modifiers(shift) == wanted;
}

// Runs `done` when the scope ends, however it ends.
template <typename Done>
class ScopeExit {
 public:
  explicit ScopeExit(Done done) : done_(std::move(done)) {}
  ~ScopeExit() { done_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Done done_;
};

}  // namespace

TForm1::TForm1(ui::Toolkit& toolkit, std::uintptr_t parentWindow, const std::string& fileName)
    : TForm1(toolkit, parentWindow, fileName, GetExtMgr(),
             platform::SystemDirectoryChangeSource()) {}

TForm1::TForm1(ui::Toolkit& toolkit, std::uintptr_t parentWindow, const std::string& fileName,
               ExtManager& store, platform::DirectoryChangeSource& changes)
    : TListWindowIntf(toolkit, parentWindow, "Form1"),
      toolkit_(toolkit),
      store_(store),
      changes_(changes),
      controls_(*this, toolkit),
      types_(store),
      complete_(toolkit, store),
      findBar_(controls_.findBar, controls_._editor,
               [this](const ViewFilter& filter, std::string& error) {
                 return ApplyFilter(filter, error);
               }),
      self_(std::make_shared<TForm1*>(this)) {
  SetViewerPath(fileName);
  types_.SetFilePath(fileName);
  ReportSettingsProblems();
  controls_.NameJumps(types_);
  options_.LoadFromSettings(store_);
  std::string refused;  // a stored filter that no longer holds is dropped
  loader_.Model().SetFilter(LoadViewFilter(store_), types_, refused);
  TakeUpKeptPlace();
  controls_._editor.SetClipboard(&toolkit_.clipboard());
  complete_.OnStatus = [this] { ShowStatusText(); };
  BindHandlers();
  OptionsToControls();
  options_.OnChange = [this] { OptionsChanged(); };
  options_.OnOptionsRequest = [this](std::int32_t n) { ToggleOptionsPanel(n); };
  updatingControls_ = false;
  constructing_ = false;
}

// The modes and the filter come back before the first load, the place in the view after it.
void TForm1::TakeUpKeptPlace() {
  places_ = ReadingPlacesOf(store_);
  if (places_)
    keptPlace_ = TakeUpPlace(*places_, state_.path);
  if (!keptPlace_)
    return;
  options_.SetLoadCompleteFile(keptPlace_->complete);
  std::string refused;  // a kept filter that no longer holds leaves the stored one
  loader_.Model().SetFilter(keptPlace_->filter, types_, refused);
}

void TForm1::PutBackKeptPlace() {
  const std::optional<ViewerPlace> kept = std::exchange(keptPlace_, std::nullopt);
  if (!kept || kept->following)
    return;
  const ui::TRAHLEditor::ViewPlace place = PlaceAtItsLine(*kept, editor());
  editor().SetPlace(place);
  TraceLine("kept place", "top row " + std::to_string(place.topRow) + ", caret row " +
                              std::to_string(place.caretRow));
  followPaused_ = options_.AutoFollowMode;
  ShowStatusText();
}

void TForm1::KeepReadingPlace() {
  if (!places_ || state_.currentInfo.path.empty())
    return;
  UpdateFollowPause();
  ViewerPlace place;
  place.view = editor().Place();
  place.topLine = TopLineOf(editor(), place.view.topRow);
  place.following = options_.AutoFollowMode && !followPaused_;
  place.complete = options_.LoadCompleteFile;
  place.filter = loader_.Model().Filter();
  place.types = types_.ChosenPreset();
  KeepPlace(*places_, state_.path, state_.currentInfo.Size(), place);
}

// Said once per process: in the trace log and in the status text of the first viewer.
void TForm1::ReportSettingsProblems() {
  static std::atomic<bool> reported{false};
  types_.LoadMsgTypes();
  const std::string problem = MsgTypesProblem(types_.Types());
  if (problem.empty() || reported.exchange(true))
    return;
  TraceLine("message types", problem);
  statusNote_ = " [" + problem + "]";
}

TForm1::~TForm1() {
  // The watcher goes first: its worker must be stopped before anything it could post to dies.
  watcher_.reset();
  self_.reset();
  options_.OnChange = nullptr;
  options_.OnOptionsRequest = nullptr;
}

// --- binding ------------------------------------------------------------------------------

void TForm1::BindHandlers() {
  ViewerControls& c = controls_;
  c.SpeedButton1.OnClick = [this](ui::Component&) { SpeedButton1Click(); };
  c.Button7.OnClick = [this](ui::Component&) { Button7Click(); };
  c.chkActive.OnClick = [this](ui::Component&) { chkActiveClick(); };
  c.CheckBox1.OnClick = [this](ui::Component&) { CheckBox1Click(); };
  c.CheckBox2.OnClick = [this](ui::Component&) { CheckBox2Click(); };
  c.Edit1.OnExit = [this](ui::Component&) { Edit1Exit(); };
  c.Edit1.OnChange = [this](ui::Component&) { Edit1Change(); };
  c.comBufferSize.OnClick = [this](ui::Component&) { comBufferSizeClick(); };
  c.comMaxHistLines.OnClick = [this](ui::Component&) { comMaxHistLinesClick(); };
  c.chkComplete.OnClick = [this](ui::Component& sender) { chkCompleteClick(sender); };
  c.chkAutoTypes.OnClick = [this](ui::Component&) { chkAutoTypesClick(); };
  c.chkRememberPlaces.OnClick = [this](ui::Component&) { chkRememberPlacesClick(); };
  c.EditCopy2.OnExecute = [this](ui::Component&) { EditCopy2Execute(); };
  c.EditCopy1.OnExecute = [this](ui::Component&) { EditCopy2Execute(); };
  c.EditSelectAll1.OnExecute = [this](ui::Component&) { EditSelectAll1Execute(); };
  c.actFindBar.OnExecute = [this](ui::Component&) { OpenFindBar(); };
  c.Timer1->OnTimer = [this](ui::Component&) { Timer1Timer(); };
  c.Timer2->OnTimer = [this](ui::Component&) { Timer2Timer(); };
  c._editor.OnGetLineAttr = [this](ui::TRAHLEditor& sender, std::string_view line,
                                   std::size_t index, ui::LineAttrs& attrs) {
    types_._editorGetLineAttr(sender, line, index, attrs);
  };
  c._editor.OnPaintGutter = [](ui::TRAHLEditor& sender, ui::Canvas& canvas) {
    _editorPaintGutter(sender, canvas);
  };
  c._editor.OnChangeStatus = [](ui::TRAHLEditor& sender) { _editorChangeStatus(sender); };
  c._editor.OnKeyDown = [this](ui::TRAHLEditor&, ui::KeyCode& key, ui::ShiftState shift) {
    _editorKeyDown(key, shift);
  };
  BindNavigation();
}

void TForm1::BindNavigation() {
  ViewerControls& c = controls_;
  c.actGotoHistory.OnExecute = [this](ui::Component&) { actGotoHistoryExecute(); };
  c.actGotoPrevError.OnExecute = [this](ui::Component&) { actGotoPrevErrorExecute(); };
  c.actGotoNextError.OnExecute = [this](ui::Component&) { actGotoNextErrorExecute(); };
  c.actGotoPrevWarning.OnExecute = [this](ui::Component&) { actGotoPrevWarningExecute(); };
  c.actGotoNextWarning.OnExecute = [this](ui::Component&) { actGotoNextWarningExecute(); };
  c.actGotoPrevUrgent.OnExecute = [this](ui::Component&) { actGotoPrevUrgentExecute(); };
  c.actGotoNextUrgent.OnExecute = [this](ui::Component&) { actGotoNextUrgentExecute(); };
  c.Button1.OnClick = [this](ui::Component&) { Button1Click(); };
  c.Button2.OnClick = [this](ui::Component&) { Button2Click(); };
  c.Button3.OnClick = [this](ui::Component&) { Button3Click(); };
  c.Button4.OnClick = [this](ui::Component&) { Button4Click(); };
  c.Button5.OnClick = [this](ui::Component&) { Button5Click(); };
  c.Button6.OnClick = [this](ui::Component&) { Button6Click(); };
}

void TForm1::SetViewerPath(const std::string& newPath) {
  path = newPath;
  state_.path = newPath;
}

// --- window-host operations -----------------------------------------------------------------

TextOffset TForm1::FindText(std::string_view pattern, TextOffset start, int flags) {
  return FindTextInView(editor(), pattern, start, flags);
}

TextMatch TForm1::FindMatch(std::string_view pattern, TextOffset start, int flags) {
  if ((flags & kSearchExpression) == 0)
    return TListWindowIntf::FindMatch(pattern, start, flags);
  try {
    std::lock_guard<std::recursive_mutex> guard(viewerLock);
    ViewFinder finder;
    std::string refused;
    const FindQuery query{std::string(pattern.substr(0, pattern.find('\0'))), true,
                          (flags & kSearchMatchCase) != 0, false};
    if (!finder.Set(query, refused))
      return {};
    ui::TRAHLEditor& view = editor();
    const bool forwards = (flags & kSearchBackwards) == 0;
    // The caret stands at the end of the match selected last: backwards starts at its start.
    std::size_t from = view.SelLength() > 0 && !forwards ? view.SelStart() : view.CaretOffset();
    if (start > 0)
      from = static_cast<std::size_t>(start);
    const std::optional<ViewMatch> match = finder.Find(view, from, forwards);
    if (!match)
      return {};
    view.SetSelStart(match->offset);
    view.SetSelLength(static_cast<std::int64_t>(match->length));
    return {static_cast<TextOffset>(match->offset), static_cast<TextOffset>(match->length)};
  } catch (const std::exception& failure) {
    TraceLine("FindMatch", failure.what());
    return {};  // the host's search never fails loudly
  }
}

TextOffset TForm1::FindTextPos(std::string_view pattern, TextOffset start, int flags) {
  return FindTextPosInView(editor(), pattern, start, flags);
}

int TForm1::SaveHistory(const std::string& fileName) {
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  return SaveHistoryText(viewerLock, state_.history.Text(), fileName);
}

int TForm1::SaveLines(const std::string& fileName) {
  return SaveViewLines(viewerLock, editor(), fileName);
}

void TForm1::SetSelStart(TextOffset offset) {
  SetSelStartInView(editor(), offset);
}
TextOffset TForm1::GetSelStart() {
  return GetSelStartInView(editor());
}
void TForm1::SetSelLength(TextOffset count) {
  SetSelLengthInView(editor(), count);
}
TextOffset TForm1::GetSelLength() {
  return GetSelLengthInView(editor());
}
TextOffset TForm1::GetTextLength() {
  return GetTextLengthInView(editor());
}

// --- life cycle -------------------------------------------------------------------------------

void TForm1::FormCreate() {
  if (path.empty())
    return;
  CheckFileChanged();
  CreateWatcher();
}

void TForm1::CreateWatcher() {
  watcher_.reset();
  watcher_ = std::make_unique<TFSNotify>(toolkit_.poster(), changes_);
  watcher_->SetFilters(kWatchedChanges);
  watcher_->SetPath(DirectoryWithSeparator(path));
  watcher_->SetOnChange([this](TThNotifyWalker&) { NotifyFileChanged(); });
  watcher_->SetActive(options_.Active);
}

// Runs on the watcher's worker thread: only hands the check to the UI thread. A check already
// waiting there covers this notification too.
void TForm1::NotifyFileChanged() {
  if (changeCheckPosted_.exchange(true))
    return;
  std::weak_ptr<TForm1*> self = self_;
  toolkit_.poster().Post([self] {
    if (std::shared_ptr<TForm1*> alive = self.lock()) {
      TForm1& form = **alive;
      form.changeCheckPosted_.store(false);
      form.CheckFileChanged();
    }
  });
}

void TForm1::FormShow() {
  controls_.Panel1.SetVisible(true);
  if (!path.empty()) {
    state_.displayName = DisplayNameOf(path);
    controls_.Timer1->SetEnabled(true);
    controls_.Timer2->SetEnabled(true);
  }
  ui::TRAHLEditor& view = editor();
  view.SetFocus();
  // A complete view built during construction stays at its separator.
  if (options_.LoadCompleteFile)
    return;
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  view.SetCaretRow(view.RowCount() - 2);
  GotoNext(view, '|');
  view.SetCaretRow(view.RowCount());
}

bool TForm1::FormCloseQuery() {
  try {
    // One rewrite of the settings file for all of a close's keys.
    std::vector<std::pair<std::string, std::string>> values = options_.SettingsValues();
    AppendViewFilterValues(loader_.Model().Filter(), values);
    store_.WriteStrings(values);
  } catch (const std::exception& failure) {
    // A settings file that cannot be written must not keep the viewer open.
    ReportFailure("settings", std::string("the options were not saved: ") + failure.what());
  }
  try {
    KeepReadingPlace();
  } catch (const std::exception& failure) {
    ReportFailure("reading places", std::string("the place was not kept: ") + failure.what());
  }
  return true;
}

void TForm1::FormClose(TCloseAction& action) {
  action = TCloseAction::caFree;
}

void TForm1::Close() {
  if (!FormCloseQuery())
    return;
  TCloseAction action = TCloseAction::caHide;
  FormClose(action);
  controls_.Timer1->SetEnabled(false);
  controls_.Timer2->SetEnabled(false);
  if (watcher_)
    watcher_->SetActive(false);
  SetVisible(false);
  if (action == TCloseAction::caFree) {
    TForm1* form = this;
    toolkit_.poster().Post([form] { delete form; });
  }
}

// --- option mirror ------------------------------------------------------------------------------

void TForm1::OptionsToControls() {
  {
    std::lock_guard<std::recursive_mutex> guard(viewerLock);
    ViewerControls& c = controls_;
    updatingControls_ = true;
    state_.bufferSize = BufferSizeAt(options_.LastBufferSizeIndex);
    c.comBufferSize.SetItemIndex(options_.LastBufferSizeIndex);
    state_.history.SetMaxLines(MaxHistoryLinesAt(options_.LastHistMaxLinesIndex));
    c.comMaxHistLines.SetItemIndex(options_.LastHistMaxLinesIndex);
    c.Edit1.SetText(options_.LastCycleName);
    c.chkActive.SetChecked(options_.Active);
    c.chkComplete.SetChecked(options_.LoadCompleteFile);
    c.CheckBox2.SetChecked(options_.AutoCycle);
    c.CheckBox1.SetChecked(options_.AutoFollowMode);
    c.chkAutoTypes.SetChecked(store_.ReadBool(kAutoMsgTypesKey, true));
    c.chkRememberPlaces.SetChecked(store_.ReadBool(kRememberPlacesKey, true));
    state_.autoFollow = options_.AutoFollowMode;
    updatingControls_ = false;
  }
  chkCompleteClick(*this);
  chkActiveClick();
}

void TForm1::ControlsToOptions() {
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  ViewerControls& c = controls_;
  updatingControls_ = true;
  options_.SetLastBufferSizeIndex(c.comBufferSize.ItemIndex());
  options_.SetLastHistMaxLinesIndex(c.comMaxHistLines.ItemIndex());
  options_.SetActive(c.chkActive.Checked());
  options_.SetLoadCompleteFile(c.chkComplete.Checked());
  options_.SetAutoCycle(c.CheckBox2.Checked());
  options_.SetLastCycleName(c.Edit1.Text());
  updatingControls_ = false;
}

void TForm1::OptionsChanged() {
  OptionsToControls();
}

void TForm1::UpdateOptionControls() {
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  ViewerControls& c = controls_;
  updatingControls_ = true;
  const bool on = c.chkActive.Checked();
  for (ui::Control* control :
       {static_cast<ui::Control*>(&c.CheckBox1), static_cast<ui::Control*>(&c.CheckBox2),
        static_cast<ui::Control*>(&c.Label3), static_cast<ui::Control*>(&c.Edit1),
        static_cast<ui::Control*>(&c.Label4), static_cast<ui::Control*>(&c.comBufferSize)})
    control->SetEnabled(on);
  updatingControls_ = false;
}

void TForm1::ToggleOptionsPanel(std::int32_t n) {
  ViewerControls& c = controls_;
  if (n == 1) {
    OptionsToControls();
    return;
  }
  if (n != 0)
    return;
  if (c.Panel9.Visible()) {
    HideOptionsPanel();
    ControlsToOptions();
    options_.RequestOptions(1);
  } else {
    c.Timer2->SetEnabled(false);
    c.Panel9.SetVisible(true);
    OptionsToControls();
    UpdateOptionControls();
    // The mirror's change check restarts the poll; the open panel keeps it stopped until the
    // next reload tick.
    c.Timer2->SetEnabled(false);
    if (c.chkActive.Showing())
      c.chkActive.SetFocus();
  }
}

// --- option handlers
// ------------------------------------------------------------------------------

void TForm1::SpeedButton1Click() {
  if (updatingControls_)
    return;
  options_.RequestOptions(0);
}

void TForm1::Button7Click() {
  if (updatingControls_)
    return;
  HideOptionsPanel();
}

// However the panel closes, polling resumes and the keys go to the text view again: the
// control that had the focus is hidden with the panel.
void TForm1::HideOptionsPanel() {
  controls_.Panel9.SetVisible(false);
  controls_.Timer2->SetEnabled(true);
  editor().SetFocus();
}

void TForm1::CheckBox1Click() {
  if (updatingControls_)
    return;
  UpdateOptionControls();
  options_.SetAutoFollowMode(controls_.CheckBox1.Checked());
  state_.autoFollow = options_.AutoFollowMode;
}

void TForm1::CheckBox2Click() {
  if (updatingControls_)
    return;
  UpdateOptionControls();
  options_.SetAutoCycle(controls_.CheckBox2.Checked());
}

void TForm1::Edit1Exit() {
  UpdateOptionControls();
}

// The typed base name is the option at once, however the panel closes later. Written without
// the setter: a keystroke must not re-run the option mirror (and with it a complete load).
void TForm1::Edit1Change() {
  if (!updatingControls_)
    options_.LastCycleName = controls_.Edit1.Text();
}

void TForm1::comBufferSizeClick() {
  if (updatingControls_)
    return;
  UpdateOptionControls();
  const int index = controls_.comBufferSize.ItemIndex();
  options_.SetLastBufferSizeIndex(index);
  state_.bufferSize = BufferSizeAt(index);
  MarkReloadDue();  // the tail in the new size now, not at the next change of the file
}

void TForm1::comMaxHistLinesClick() {
  if (updatingControls_)
    return;
  UpdateOptionControls();
  const int index = controls_.comMaxHistLines.ItemIndex();
  options_.SetLastHistMaxLinesIndex(index);
  state_.history.SetMaxLines(MaxHistoryLinesAt(index));
}

void TForm1::EditCopy2Execute() {
  editor().CopyToClipboard();
}

void TForm1::EditSelectAll1Execute() {
  ui::TRAHLEditor& view = editor();
  view.SetSelStart(0);
  view.SetSelLength(static_cast<std::int64_t>(view.TextLength()));
}

// --- modes
// ------------------------------------------------------------------------------------------

void TForm1::chkActiveClick() {
  if (updatingControls_)
    return;
  UpdateOptionControls();
  const bool on = controls_.chkActive.Checked();
  // Auto tail replaces a complete view with the tail even when the file did not change.
  const bool leavesCompleteView = on && options_.LoadCompleteFile;
  if (watcher_)
    watcher_->SetActive(on);
  options_.SetActive(on);
  if (on) {
    if (leavesCompleteView)
      MarkReloadDue();
    CheckFileChanged();
    controls_.chkComplete.SetChecked(false);
  }
  controls_.Timer1->SetEnabled(on);
}

void TForm1::ShowStatusText() {
  if (state_.statusText.empty())
    return;
  const char* paused = followPaused_ && options_.AutoFollowMode ? " [following paused]" : "";
  controls_.Label2.SetCaption(state_.statusText + statusNote_ + loader_.Model().FilterStatusText() +
                              paused);
}

void TForm1::CheckFileChanged() {
  if (updatingControls_)
    return;
  if (options_.AutoCycle)
    CycleToNextFile();
  fileInfo snapshot;
  if (!ReadFileInfo(path, snapshot))
    return;
  if (!SameFileInfo(snapshot, state_.currentInfo))
    MarkReloadDue();
  RestartPollTimer();
}

void TForm1::MarkReloadDue() {
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  reloadPending_ = 0;
}

void TForm1::RestartPollTimer() {
  ui::Timer& poll = *controls_.Timer2;
  poll.SetInterval(kPollRestartInterval);
  poll.SetInterval(kPollInterval);
  poll.SetEnabled(true);
}

bool TForm1::CycleToNextFile() {
  const auto exists = [](const std::string& candidate) {
    return platform::FindFileFacts(candidate).has_value();
  };
  const auto age = [](const std::string& file) { return platform::FileAge(file); };
  std::optional<std::string> next = CycleForward(path, controls_.Edit1.Text(), exists, age);
  if (!next)
    return false;
  SetViewerPath(*next);
  return true;
}

void TForm1::Timer1Timer() {
  if (updatingControls_)
    return;
  ui::Timer& reload = *controls_.Timer1;
  // Both timers run again after every tick, also one whose failure goes up to the shield.
  const ScopeExit enableTimers([&] {
    reload.SetEnabled(true);
    controls_.Timer2->SetEnabled(true);
  });
  try {
    std::lock_guard<std::recursive_mutex> guard(viewerLock);
    reload.SetEnabled(false);
    // While the complete view is shown, tailing is off: a due reload waits for auto tail.
    if (reloadPending_ != -1 && !options_.LoadCompleteFile) {
      UpdateFollowPause();
      state_.autoFollow = options_.AutoFollowMode && !followPaused_;
      ++tailLoads_;
      complete_.Stop();
      loader_.LoadTail(state_, types_, editor());
      ShowStatusText();
      // A compressed log decompressed in the background: its tail at one of the next ticks.
      reloadPending_ = loader_.Unfinished() ? 0 : -1;
    }
    if (firstTick_) {
      reload.SetInterval(kReloadInterval);
      firstTick_ = false;
      PutBackKeptPlace();
    }
  } catch (const std::exception& failure) {
    // A failed load stays due and is tried again at the next tick.
    TraceLine("Timer1Timer", failure.what());
  }
}

// Kept at once rather than at close: the next viewer, in this process or another, is the one
// that chooses its types by it.
void TForm1::chkAutoTypesClick() {
  WriteCheckAtOnce(kAutoMsgTypesKey, controls_.chkAutoTypes);
}

// Kept at once too: the next viewer is the one that takes up places, or does not.
void TForm1::chkRememberPlacesClick() {
  WriteCheckAtOnce(kRememberPlacesKey, controls_.chkRememberPlaces);
}

void TForm1::WriteCheckAtOnce(const char* keyPath, const ui::CheckBox& box) {
  if (updatingControls_)
    return;
  try {
    store_.WriteBool(keyPath, box.Checked());
  } catch (const std::exception& failure) {
    // A settings file that refuses the write leaves the option as it was stored.
    ReportFailure("settings", std::string(keyPath) + " was not saved: " + failure.what());
  }
}

void TForm1::chkCompleteClick(const ui::Component& sender) {
  if (updatingControls_ || completeLoadRunning_)
    return;
  UpdateOptionControls();
  ViewerControls& c = controls_;
  if (!c.chkComplete.Checked()) {
    if (&sender == &c.chkComplete)
      ReturnToTailView();
    return;
  }
  // The user's click (or Ctrl+L) and the opening ask for the complete view; the option mirror
  // re-runs it after another option changed.
  const bool requested = &sender == &c.chkComplete || constructing_;
  ui::iCursorState waitCursor(toolkit_.cursor());
  try {
    RunCompleteLoad(requested);
  } catch (const std::exception& failure) {
    if (constructing_)
      throw;
    c.Label2.SetCaption(DisplayNameOf(path) + "  [Load complete failed: " + failure.what() + "]");
  }
  if (&sender == &c.chkComplete && c.Panel9.Visible())
    HideOptionsPanel();
}

// Unticking "Load complete" goes back to the live tail at once, with auto tail on.
void TForm1::ReturnToTailView() {
  MarkReloadDue();
  controls_.chkActive.SetChecked(true);
  options_.SetLoadCompleteFile(false);
  Timer1Timer();
}

// A requested load opens at the separator (at the top without one); a re-run keeps the
// reader's place.
void TForm1::RunCompleteLoad(bool requested) {
  ViewerControls& c = controls_;
  completeLoadRunning_ = true;
  struct Running {
    bool& flag;
    ~Running() { flag = false; }
  } running{completeLoadRunning_};
  c.Timer1->SetEnabled(false);
  c.chkActive.SetChecked(false);
  if (watcher_)
    watcher_->SetActive(false);
  options_.SetLoadCompleteFile(true);
  ui::TRAHLEditor& view = editor();
  const ui::TRAHLEditor::ViewPlace place = view.Place();
  ++completeLoads_;
  const std::optional<int> separator = complete_.Load(state_, types_, view, &loader_.Model());
  ShowStatusText();
  // A large file shows its end while it is indexed, and keeps the reader there.
  if (complete_.Indexing())
    return;
  if (!requested) {
    view.SetPlace(place);
    return;
  }
  view.ScrollTo(0, 0);
  if (separator)
    ShowMarkerRow(view, *separator);
  else
    view.SetCaretRow(0);
}

// --- keys
// ----------------------------------------------------------------------------------------------

void TForm1::FormKeyDown(ui::KeyCode& key, ui::ShiftState shift) {
  if (KeyToFindBar(key, shift)) {
    key = 0;
    return;
  }
  if (KeyToHost(key, shift) || KeyToView(key, ui::Modifiers(shift)))
    return;
  if (ui::Modifiers(shift) != ui::ShiftState::None)
    return;
  ui::HostWindow* host = Host();
  if (key >= '0' && key <= '9') {
    if (host)
      host->SendChar(static_cast<char>(key), 0);
    key = 0;
  } else if (key == 'N' || key == 'P') {
    const ui::KeyCode typed = key;
    key = 0;
    if (host) {
      host->TakeFocus();
      host->TypeKey(typed);
    }
  }
}

// The keys handed back to the host (and Esc); true when one of them matched.
// A key that matched is consumed (set to 0) before the host hears of it: a host may close the
// viewer while handling it, and then no control of the viewer may go on with the key.
bool TForm1::KeyToHost(ui::KeyCode& key, ui::ShiftState shift) {
  ViewerControls& c = controls_;
  ui::HostWindow* host = Host();
  const ui::ShiftState mods = ui::Modifiers(shift);
  const ui::KeyCode pressed = key;
  if (pressed == ui::vk::Escape) {
    key = 0;
    if (findBar_.Visible())
      findBar_.Close();
    else if (c.Panel9.Visible())
      HideOptionsPanel();
    else if (host && !host->HasParentWindow())
      host->SendClose(1, 1);
    return true;
  }
  const bool ctrl = mods == ui::ShiftState::Ctrl;
  if (pressed == ui::vk::F3 || pressed == ui::vk::F5 || pressed == ui::vk::F7 ||
      (pressed == 'Q' && ctrl) || (pressed == 'F' && ctrl)) {
    key = 0;
    if (pressed == 'F' && c.Panel9.Visible())
      c.CheckBox1.Toggle();
    else if (host)
      host->SendKeyDown(pressed, 0);
    return true;
  }
  return false;
}

// The keys the viewer handles itself, in table order after the host's.
bool TForm1::KeyToView(ui::KeyCode key, ui::ShiftState mods) {
  ViewerControls& c = controls_;
  const bool ctrl = IsExactly(mods, ui::ShiftState::Ctrl);
  const bool shiftCtrl = IsExactly(mods, ui::ShiftState::Shift | ui::ShiftState::Ctrl);
  if (key == 'C' && ctrl) {
    editor().CopyToClipboard();
    return true;
  }
  if ((key == 'E' || key == 'W' || key == 'U') && (ctrl || shiftCtrl)) {
    std::lock_guard<std::recursive_mutex> guard(viewerLock);
    RunTypeJump(editor(), types_, MarkerJump{static_cast<char>(key), ctrl});
    return true;
  }
  if (key == 'A' && ctrl) {
    c.EditSelectAll1.Execute();
    return true;
  }
  if (key == 'T' && ctrl) {
    c.chkActive.Toggle();
    return true;
  }
  if (key == 'Y' && ctrl) {
    c.CheckBox2.Toggle();
    return true;
  }
  if (key == 'L' && ctrl) {
    c.chkComplete.Toggle();
    return true;
  }
  return false;
}

bool TForm1::KeyToFindBar(ui::KeyCode key, ui::ShiftState shift) {
  if (key == ui::ShortCutKey(kFindBarShortCut) &&
      ui::Modifiers(shift) == ui::ShortCutShift(kFindBarShortCut)) {
    OpenFindBar();
    return true;
  }
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  return findBar_.KeyDown(key, shift);
}

// --- find and filter
// -----------------------------------------------------------------------------------

void TForm1::OpenFindBar() {
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  types_.LoadMsgTypes();
  std::vector<std::string> names;
  for (const MsgTypeMatcherInfo& type : types_.Types())
    names.push_back(type.name);
  findBar_.Open(loader_.Model().Filter(), names);
}

bool TForm1::ApplyFilter(const ViewFilter& filter, std::string& error) {
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  if (!loader_.Model().SetFilter(filter, types_, error))
    return false;
  // A complete view filters the lines it has indexed again, without loading the file again.
  if (options_.LoadCompleteFile && complete_.Refilter()) {
    ShowStatusText();
    return true;
  }
  RebuildView();
  return true;
}

void TForm1::RebuildView() {
  if (options_.LoadCompleteFile) {
    try {
      RunCompleteLoad(false);
    } catch (const std::exception& failure) {
      controls_.Label2.SetCaption(DisplayNameOf(path) +
                                  "  [Load complete failed: " + failure.what() + "]");
    }
    return;
  }
  UpdateFollowPause();
  state_.autoFollow = options_.AutoFollowMode && !followPaused_;
  ++tailLoads_;
  loader_.LoadTail(state_, types_, editor());
  ShowStatusText();
}

void TForm1::UpdateFollowPause() {
  if (!options_.AutoFollowMode) {
    followPaused_ = false;
    return;
  }
  const ui::TRAHLEditor& view = editor();
  const int last = view.RowCount() - 1;
  const bool lastRowInView = view.TopRow() + view.VisibleRows() > last;
  const bool caretInView =
      view.CaretRow() >= view.TopRow() && view.CaretRow() < view.TopRow() + view.VisibleRows();
  const bool atTheEnd = lastRowInView && (view.CaretRow() >= last || !caretInView);
  followPaused_ = !atTheEnd;
}

// --- navigation
// ----------------------------------------------------------------------------------------

void TForm1::RunJumpWithBeep(MarkerJump jump) {
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  if (!RunTypeJump(editor(), types_, jump))
    toolkit_.Beep();
}

// Following pauses in this view, so the next tail load stays put; the option stays as the user
// set it.
void TForm1::actGotoHistoryExecute() {
  std::lock_guard<std::recursive_mutex> guard(viewerLock);
  if (!GotoHistory(editor()))
    toolkit_.Beep();
  UpdateFollowPause();
  ShowStatusText();
}

}  // namespace brontel
