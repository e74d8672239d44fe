/** @file FileSizeText.h: the file size as the status line shows it. */
#pragma once

#include <string>

namespace brontel {

// "%.0lf Bytes" below 10240 bytes, "%.1lf KB" below 1048576, "%.2lf MB" below 1073741824,
// "%.2lf GB" from there on (1024-based units; the switch to KB is at 10240, not 1024).
std::string FormatFileSize(double size);

}  // namespace brontel
