/** @file ViewerSession.h: one host window's viewer: which file it shows, its searches, N and P. */
#pragma once

#include <string>

#include "apps/brontel/FolderFiles.h"
#include "apps/brontel/ListerEntryPoints.h"

namespace brontel::app {

// A search as the find dialog gathers it.
struct FindRequest {
  std::string text;
  bool matchCase = false;
  bool wholeWords = false;
  bool backwards = false;
  bool expression = false;  // the text is a regular expression

  // The search flags of the interface; `first` for a search that the dialog starts.
  int Flags(bool first) const;
};

// The viewer that a host window shows, driven through the module's entry points only.
//
// At most one viewer at a time; a new file's viewer is loaded before the old one is closed, so
// a file the module declines leaves the window as it was. The session closes its viewer when
// destroyed. The module's ListSetDefaultParams is the caller's (once per module).
//
// Threads: the host's UI thread. Ownership: `module` and the parent window outlive the session.
class ViewerSession {
 public:
  // `showFlags` goes to every ListLoad (the force-show bit, or 0).
  ViewerSession(const ListerEntryPoints& module, void* parentWindow, int showFlags);
  ~ViewerSession();
  ViewerSession(const ViewerSession&) = delete;
  ViewerSession& operator=(const ViewerSession&) = delete;

  // Shows `file` instead of the current one; false (nothing changed) when the module declines.
  bool Open(const std::string& file);
  // Closes the viewer, if any.
  void Close();
  // Opens the next (or previous) file of the folder that the module accepts; false when there
  // is none, the viewer staying as it was.
  bool Step(FolderStep step);

  // Searches and remembers the request for FindAgain; true when a match was selected.
  bool Find(const FindRequest& request);
  // The remembered search again, from the current selection on (`reverse`: the other way);
  // false without a remembered search or when nothing more was found.
  bool FindAgain(bool reverse);
  bool HasSearch() const { return hasSearch_; }
  const FindRequest& lastSearch() const { return lastSearch_; }

  void* viewer() const { return viewer_; }
  const std::string& file() const { return file_; }

 private:
  bool Search(const FindRequest& request, bool first);

  ListerEntryPoints module_;
  void* parentWindow_;
  int showFlags_;
  void* viewer_ = nullptr;
  std::string file_;
  FindRequest lastSearch_;
  bool hasSearch_ = false;
};

}  // namespace brontel::app
