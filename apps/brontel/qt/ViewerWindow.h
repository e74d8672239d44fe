/** @file ViewerWindow.h: a top-level window hosting one viewer of the module. */
#pragma once

#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QWidget>

#include "apps/brontel/HostKeys.h"
#include "apps/brontel/ViewerSession.h"

namespace brontel::app {

// The window gives the module what a Qt file manager's viewer does: the parent is the viewport
// of a scroll area, the viewer widget fills it and follows its size, and the keys the viewer
// hands back arrive at the scroll area, where the window acts on them (HostKeys). Keys that the
// viewer leaves alone stop at the viewport, as in such a host: what the viewer means the host
// to have, it hands back itself, so a key never acts twice. Closing the window, by Esc or
// otherwise, closes the viewer through the entry points first. A search that finds nothing
// says so in a line below the viewer until the next search or file.
//
// The window deletes itself when closed.
class ViewerWindow : public QWidget {
 public:
  // `module` outlives the window. Open() shows the first file.
  ViewerWindow(const ListerEntryPoints& module, int showFlags);

  // Shows `file`; false when the module declined it.
  bool Open(const QString& file);

  ViewerSession& session() { return session_; }
  QScrollArea& hostArea() { return *area_; }
  // The line below the viewer that reports a failed search; hidden while there is none.
  const QLabel& notice() const { return *notice_; }
  // The module's widget, or null.
  QWidget* viewerWidget() const;

  // What the window does with a handed-back key; true when it used it.
  bool RunCommand(HostCommand command);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void OpenFindDialog();
  void FindAgain(bool reverse);
  void ReportSearch(bool found);
  void StepFile(FolderStep step);
  void PlaceViewer();
  void ShowFileInTitle();
  bool HandleKey(QKeyEvent& key);

  QScrollArea* area_;
  QLabel* notice_;
  ViewerSession session_;
};

}  // namespace brontel::app
