#include "tests/reliability/support/ViewerHarness.h"

#include <algorithm>
#include <cstdlib>

#include "platform/DirectoryChanges.h"

namespace brontel::reliability {

double RunSeconds(const char* name, double fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr)
    return fallback;
  const double seconds = std::atof(text);
  return seconds > 0 ? seconds : fallback;
}

ViewerHarness::ViewerHarness(ExtManager& store) : store_(&store) {}

ViewerHarness::ViewerHarness() = default;

ViewerHarness::~ViewerHarness() {
  while (!open_.empty())
    Close(*open_.back());
  toolkit_.queuedPoster().RunPending();
}

TForm1& ViewerHarness::Open(const std::string& path) {
  const std::uintptr_t host = nextHostWindow_++;
  TForm1* form = store_ != nullptr ? new TForm1(toolkit_, host, path, *store_,
                                                platform::SystemDirectoryChangeSource())
                                   : new TForm1(toolkit_, host, path);
  form->FormCreate();
  form->FormShow();
  open_.push_back(form);
  return *form;
}

void ViewerHarness::Close(TForm1& form) {
  open_.erase(std::remove(open_.begin(), open_.end(), &form), open_.end());
  form.Close();
  toolkit_.queuedPoster().RunPending();
}

void ViewerHarness::Pump(std::uint64_t milliseconds) {
  toolkit_.queuedPoster().RunPending();
  toolkit_.clock().Advance(milliseconds);
}

bool ViewerHarness::PumpUntilReload(TForm1& form, std::uint64_t limitMs) {
  const std::uint64_t before = form.TailLoads();
  for (std::uint64_t waited = 0; waited < limitMs; waited += 50) {
    Pump(50);
    if (form.TailLoads() != before)
      return true;
  }
  return false;
}

}  // namespace brontel::reliability
