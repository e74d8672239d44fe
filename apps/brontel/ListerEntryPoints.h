/** @file ListerEntryPoints.h: the four functions a viewer plug-in module exports. */
#pragma once

namespace brontel::app {

// The entry points as a host calls them: C calling convention, file names and search texts as
// zero-terminated UTF-8, windows as opaque pointers (QWidget* for the Qt module).
struct ListerEntryPoints {
  void (*setDefaultParams)(const void* record) = nullptr;
  void* (*load)(void* parentWindow, const char* fileToLoad, int showFlags) = nullptr;
  void (*closeWindow)(void* listWindow) = nullptr;
  int (*searchText)(void* listWindow, const char* searchString, int searchParameter) = nullptr;

  bool Complete() const {
    return setDefaultParams != nullptr && load != nullptr && closeWindow != nullptr &&
           searchText != nullptr;
  }
};

// Show and search flags of the interface.
inline constexpr int kShowForce = 16;
inline constexpr int kSearchFindFirst = 1;
inline constexpr int kSearchMatchCase = 2;
inline constexpr int kSearchWholeWords = 4;
inline constexpr int kSearchBackwards = 8;
// brontel's own bit, which the viewer reads as "the text is a regular expression".
inline constexpr int kSearchExpression = 16;

}  // namespace brontel::app
