#include "apps/brontel/ViewerSession.h"

#include <set>

namespace brontel::app {

int FindRequest::Flags(bool first) const {
  int flags = first ? kSearchFindFirst : 0;
  if (matchCase)
    flags |= kSearchMatchCase;
  if (wholeWords)
    flags |= kSearchWholeWords;
  if (backwards)
    flags |= kSearchBackwards;
  if (expression)
    flags |= kSearchExpression;
  return flags;
}

ViewerSession::ViewerSession(const ListerEntryPoints& module, void* parentWindow, int showFlags)
    : module_(module), parentWindow_(parentWindow), showFlags_(showFlags) {}

ViewerSession::~ViewerSession() {
  Close();
}

bool ViewerSession::Open(const std::string& file) {
  void* viewer = module_.load(parentWindow_, file.c_str(), showFlags_);
  if (viewer == nullptr)
    return false;
  Close();
  viewer_ = viewer;
  file_ = file;
  return true;
}

void ViewerSession::Close() {
  if (viewer_ == nullptr)
    return;
  void* closing = viewer_;
  viewer_ = nullptr;
  module_.closeWindow(closing);
}

bool ViewerSession::Step(FolderStep step) {
  if (file_.empty())
    return false;
  // Declined files are passed over; the set guards against a folder that changes under us.
  std::set<std::string> tried;
  for (std::string next = NeighbourFile(file_, step); !next.empty();
       next = NeighbourFile(next, step)) {
    if (!tried.insert(next).second)
      return false;
    if (Open(next))
      return true;
  }
  return false;
}

bool ViewerSession::Find(const FindRequest& request) {
  lastSearch_ = request;
  hasSearch_ = !request.text.empty();
  return hasSearch_ && Search(request, true);
}

bool ViewerSession::FindAgain(bool reverse) {
  if (!hasSearch_)
    return false;
  FindRequest again = lastSearch_;
  if (reverse)
    again.backwards = !again.backwards;
  return Search(again, false);
}

bool ViewerSession::Search(const FindRequest& request, bool first) {
  if (viewer_ == nullptr)
    return false;
  return module_.searchText(viewer_, request.text.c_str(), request.Flags(first)) == 0;
}

}  // namespace brontel::app
