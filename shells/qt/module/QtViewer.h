/** @file QtViewer.h: the viewer window shown in Qt widgets inside a Qt host's widget. */
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "shells/qt/QtFormWindow.h"
#include "shells/qt/QtToolkit.h"
#include "ui/Action.h"
#include "viewer/TForm1.h"

namespace brontel::qt {

// A TForm1 with its window: the widgets are made once the viewer stands (before FormCreate and
// FormShow, which they follow) as a child of `parent`, the widget the host passed, and the
// window is the viewer's native handle. Keys of the text view and the key preview of the other
// controls run FormKeyDown; a key nobody used runs the shortcuts the key table does not cover
// already (Ctrl+H, "Goto History"), so no command runs twice for one key.
//
// Destruction deletes the window before the viewer's controls go; a window the host deleted
// with its own widget is simply gone. UI thread only; made with new (closing frees it).
class QtViewer final : public TForm1 {
 public:
  QtViewer(QtToolkit& toolkit, QWidget* parent, const std::string& fileName);
  // The same with the settings store and directory-change source given.
  QtViewer(QtToolkit& toolkit, QWidget* parent, const std::string& fileName, ExtManager& store,
           platform::DirectoryChangeSource& changes);
  ~QtViewer() override;

  // nullptr once the host has deleted its widget (and ours with it).
  QtFormWindow* window() const { return window_.data(); }

 private:
  void BuildWindow(QWidget* parent);

  ui::ActionList shortCuts_{"ShortCuts"};
  QPointer<QtFormWindow> window_;
};

}  // namespace brontel::qt
