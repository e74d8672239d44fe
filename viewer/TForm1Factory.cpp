#include "viewer/TForm1Factory.h"

#include <memory>
#include <stdexcept>

#include "viewer/TForm1.h"

namespace brontel {

TListWindowIntf& TForm1Factory::CreateViewer(std::uintptr_t parentWindow,
                                             const std::string& fileName) {
  auto form = std::make_unique<TForm1>(toolkit_, parentWindow, fileName);
  form->FormCreate();
  form->SetVisible(true);
  form->FormShow();
  return *form.release();
}

void TForm1Factory::CloseViewer(TListWindowIntf& viewer) {
  auto* form = dynamic_cast<TForm1*>(&viewer);
  if (form == nullptr)
    throw std::invalid_argument("not a viewer window of this factory");
  form->Close();
}

}  // namespace brontel
