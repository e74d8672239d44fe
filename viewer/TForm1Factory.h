/** @file TForm1Factory.h: the viewer factory that makes TForm1 windows on one toolkit. */
#pragma once

#include <cstdint>
#include <string>

#include "plugin/ViewerFactory.h"
#include "ui/Toolkit.h"

namespace brontel {

// Makes viewer windows as the entry points ask for them: construction, FormCreate, FormShow.
// A viewer that throws on the way is freed before the failure goes on. Closing runs the
// window's close, which frees it once the UI thread's posted work runs. The toolkit must
// outlive the factory and every viewer it made. UI thread only.
class TForm1Factory : public ViewerFactory {
 public:
  explicit TForm1Factory(ui::Toolkit& toolkit) : toolkit_(toolkit) {}

  TListWindowIntf& CreateViewer(std::uintptr_t parentWindow, const std::string& fileName) override;
  // REQUIRES: `viewer` was made by this factory (a TForm1).
  void CloseViewer(TListWindowIntf& viewer) override;

 private:
  ui::Toolkit& toolkit_;
};

}  // namespace brontel
