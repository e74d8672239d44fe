/** @file FolderFiles.h: the next and previous file of a file's folder, in name order. */
#pragma once

#include <string>

namespace brontel::app {

enum class FolderStep { Next, Previous };

// The regular file that follows (or precedes) `file` among the regular files of its folder,
// ordered by name byte for byte; empty at either end, when the folder cannot be read, or when
// it holds no other file. `file` itself need not exist any more: the step goes from where its
// name would stand. Never throws.
std::string NeighbourFile(const std::string& file, FolderStep step);

}  // namespace brontel::app
