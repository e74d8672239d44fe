/** @file FakeListerModule.h: entry points that record what a host asks of them. */
#pragma once

#include <set>
#include <string>
#include <vector>

#include "apps/brontel/ListerEntryPoints.h"

namespace brontel::app {

// One fake module per process, reset by each test. ListLoad declines the files named in
// `declined`; each accepted file gets a new viewer number, returned as its handle.
struct FakeListerModule {
  struct Search {
    void* viewer;
    std::string text;
    int flags;
  };

  static FakeListerModule& Instance();
  static ListerEntryPoints EntryPoints();
  void Reset() { *this = FakeListerModule(); }

  // Called back by ListLoad for an accepted file; the result becomes the viewer handle. The
  // default gives numbers 1, 2, ...
  void* (*makeViewer)(void* parent, int number) = nullptr;
  // Called back by ListCloseWindow, when set, to free what makeViewer made.
  void (*freeViewer)(void* viewer) = nullptr;

  std::set<std::string> declined;
  int searchAnswer = 0;
  std::vector<std::string> loaded;  // accepted files in order
  std::vector<void*> open;          // viewers loaded and not closed
  std::vector<void*> closed;
  std::vector<Search> searches;
  std::vector<std::string> defaultParams;
  void* lastParent = nullptr;
  int lastShowFlags = -1;
};

}  // namespace brontel::app
