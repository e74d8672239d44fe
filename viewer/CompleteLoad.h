/** @file CompleteLoad.h: the complete view of a log of any size, indexed rather than held. */
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/DecodedFile.h"
#include "platform/FileEncoding.h"
#include "ui/Timer.h"
#include "ui/Toolkit.h"
#include "viewer/FilterPass.h"
#include "viewer/IndexedLines.h"
#include "viewer/TailLoader.h"
#include "viewer/WorkerThread.h"

namespace brontel {

class ExtManager;

// The complete load of one viewer window. The file is not held: its lines are indexed (where
// each starts, a byte and a half a line) while they are counted and their history kept, and the
// view reads the lines it shows through a small cache of blocks. A file up to AtOnceBytes() is
// indexed at once; a larger one shows its end at once (as the tail view does) and is indexed on
// a worker thread, the status text telling how far (" [indexing 37 %]"), the whole view taking
// its place when the index is complete. A load, a new load or the end of the object stops the
// indexing at once, and so does the view being filled by anyone else.
//
// While the complete view is shown, the file is looked at about once a second: lines appended
// extend the index; a file cut shorter or replaced (its first bytes changed) is loaded afresh,
// and the status text says so: a few stretches of what was appended each tick, on the UI
// thread, since the view reads the index meanwhile. UTF-16 and compressed logs are decoded and
// held as the whole text, as before.
//
// Ownership: `state`, `types` and `view` given to Load must outlive the object (or the next
// Load). Threads: UI thread, apart from the worker it owns.
class CompleteLoad {
 public:
  static constexpr std::uint64_t kAtOnceBytes = std::uint64_t{32} << 20;

  CompleteLoad(ui::Toolkit& toolkit, ExtManager& store);
  ~CompleteLoad();
  CompleteLoad(const CompleteLoad&) = delete;
  CompleteLoad& operator=(const CompleteLoad&) = delete;

  // As LoadCompleteFile: clears the history and counts, shows history + separator + all lines
  // (or only the lines), answers the separator's row; throws PlatformError when the file cannot
  // be opened. When the file is indexed in the background, the view shows the file's end for
  // now and nullopt is answered.
  // The body is what `model`'s filter lets through (every line without a model), and the model
  // counts the lines shown for its status text.
  std::optional<int> Load(TailViewerState& state, LineClassifier& types, ui::TRAHLEditor& view,
                          ViewModel* model = nullptr);
  // Shows what the model's filter (changed since) lets through of the file indexed already,
  // without loading it again: the lines are read by the index and filtered, at once or (for a
  // file larger than AtOnceBytes) on the worker, the view staying as it was meanwhile. False
  // when there is no such index to filter (none yet, still indexing, a decoded log, another
  // view): then the caller loads the file again.
  bool Refilter();
  // Stops the indexing and the watching of the file; the view keeps what it shows.
  void Stop();
  bool Indexing() const { return thread_ != nullptr || extending_; }

  // One look at the work: progress, the finished index, changes of the file. Run by the
  // object's own timer every 100 ms; public for tests.
  void Tick();

  std::uint64_t AtOnceBytes() const { return atOnceBytes_; }
  void SetAtOnceBytes(std::uint64_t bytes) { atOnceBytes_ = bytes; }

  // The status text changed (state.statusText holds it).
  std::function<void()> OnStatus;

 private:
  // Starts indexing state_.path afresh; `note` is added to the status text.
  void Begin(const std::string& note);
  // Shows the finished index: history, separator, lines; the reader keeps the place counted
  // from the end when `keepFromEnd`.
  void Show(bool keepFromEnd);
  void ShowEnd();
  void SetStatus(const std::string& extra);
  void LookAtFile();
  void LookAtDecodedFile(std::uint64_t size);
  // How far the indexing got, per mille: of the file's goal, or of the encoded file where it is
  // decoded as it is indexed.
  int PerMille() const;
  // Indexes a few more stretches of what was appended, on the UI thread: the view reads the
  // index meanwhile. Shows the lines once they are all indexed.
  void ExtendSome();
  // Takes the finished pass's filter and rows into the index and shows them.
  void ShowPass();
  std::string FirstBytes();

  ui::Toolkit& toolkit_;
  ExtManager& store_;
  std::unique_ptr<ui::Timer> timer_;
  TailViewerState* state_ = nullptr;
  LineClassifier* types_ = nullptr;
  ui::TRAHLEditor* view_ = nullptr;
  ViewModel* model_ = nullptr;
  std::shared_ptr<FileIndexer> indexer_;
  platform::DecodedFile* decoded_ = nullptr;  // the indexer's file, for a UTF-16 or compressed log
  std::uint64_t encodedSize_ = 0;             // the file's size when it was last read
  std::unique_ptr<WorkerThread> thread_;
  std::shared_ptr<FilterPass> pass_;  // what thread_ runs while a changed filter is applied
  bool extending_ = false;
  std::uint64_t shownVersion_ = 0;
  platform::FileEncoding encoding_ = platform::FileEncoding::kBytes;
  std::string firstBytes_;  // how the file began when it was loaded
  std::string note_;
  int ticks_ = 0;
  std::uint64_t atOnceBytes_ = kAtOnceBytes;
  std::optional<int> separator_;
};

}  // namespace brontel
