#include "shells/qt/module/QtViewer.h"

#include <cstdint>

namespace brontel::qt {

namespace {

// Keys that FormKeyDown already acts on; their actions would otherwise run a second time.
bool KeyTableCovers(const ui::Action& action) {
  const ui::KeyCode key = ui::ShortCutKey(action.GetShortCut());
  return key == 'C' || key == 'E' || key == 'W' || key == 'U' || key == 'A';
}

}  // namespace

QtViewer::QtViewer(QtToolkit& toolkit, QWidget* parent, const std::string& fileName)
    : TForm1(toolkit, reinterpret_cast<std::uintptr_t>(parent), fileName) {
  BuildWindow(parent);
}

QtViewer::QtViewer(QtToolkit& toolkit, QWidget* parent, const std::string& fileName,
                   ExtManager& store, platform::DirectoryChangeSource& changes)
    : TForm1(toolkit, reinterpret_cast<std::uintptr_t>(parent), fileName, store, changes) {
  BuildWindow(parent);
}

void QtViewer::BuildWindow(QWidget* parent) {
  for (ui::Action* action : controls().ActionList2.Actions()) {
    if (action->GetShortCut() != 0 && !KeyTableCovers(*action))
      shortCuts_.Add(*action);
  }
  QtFormWindow::Handlers handlers;
  handlers.keyPreview = [this](ui::KeyCode& key, ui::ShiftState shift) { FormKeyDown(key, shift); };
  handlers.unusedKey = [this](ui::KeyCode key, ui::ShiftState shift) {
    shortCuts_.HandleShortCut(key, shift);
  };
  window_ = new QtFormWindow(*this, parent, std::move(handlers));
  BindNativeWindow(reinterpret_cast<std::uintptr_t>(window_.data()));
}

QtViewer::~QtViewer() {
  delete window_.data();
}

}  // namespace brontel::qt
