#include "tests/apps/FakeListerModule.h"

#include <algorithm>
#include <cstdint>

namespace brontel::app {
namespace {

void BRONTEL_LISTER_CALL FakeSetDefaultParams(const void* record) {
  FakeListerModule::Instance().defaultParams.emplace_back(
      static_cast<const ListerDefaultParams*>(record)->defaultIniName);
}

void* BRONTEL_LISTER_CALL FakeLoad(void* parent, const char* file, int showFlags) {
  FakeListerModule& fake = FakeListerModule::Instance();
  fake.lastParent = parent;
  fake.lastShowFlags = showFlags;
  if (fake.declined.count(file) != 0)
    return nullptr;
  fake.loaded.emplace_back(file);
  const int number = static_cast<int>(fake.loaded.size());
  void* viewer = fake.makeViewer != nullptr
                     ? fake.makeViewer(parent, number)
                     : reinterpret_cast<void*>(static_cast<std::uintptr_t>(number));
  fake.open.push_back(viewer);
  return viewer;
}

void BRONTEL_LISTER_CALL FakeCloseWindow(void* viewer) {
  FakeListerModule& fake = FakeListerModule::Instance();
  fake.closed.push_back(viewer);
  fake.open.erase(std::remove(fake.open.begin(), fake.open.end(), viewer), fake.open.end());
  if (fake.freeViewer != nullptr)
    fake.freeViewer(viewer);
}

int BRONTEL_LISTER_CALL FakeSearchText(void* viewer, const char* text, int flags) {
  FakeListerModule& fake = FakeListerModule::Instance();
  fake.searches.push_back({viewer, text, flags});
  return fake.searchAnswer;
}

}  // namespace

FakeListerModule& FakeListerModule::Instance() {
  static FakeListerModule fake;
  return fake;
}

ListerEntryPoints FakeListerModule::EntryPoints() {
  ListerEntryPoints entryPoints;
  entryPoints.setDefaultParams = &FakeSetDefaultParams;
  entryPoints.load = &FakeLoad;
  entryPoints.closeWindow = &FakeCloseWindow;
  entryPoints.searchText = &FakeSearchText;
  return entryPoints;
}

}  // namespace brontel::app
