#include "viewer/FileSizeText.h"

#include <cstdio>

namespace brontel {
namespace {

constexpr double kKilo = 1024.0;
constexpr double kFirstKilobyteSize = 10240.0;
constexpr double kMega = kKilo * kKilo;
constexpr double kGiga = kMega * kKilo;

std::string Formatted(const char* format, double value) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, format, value);
  return length > 0 ? std::string(text) : std::string();
}

}  // namespace

std::string FormatFileSize(double size) {
  if (size < kFirstKilobyteSize)
    return Formatted("%.0lf Bytes", size);
  if (size < kMega)
    return Formatted("%.1lf KB", size / kKilo);
  if (size < kGiga)
    return Formatted("%.2lf MB", size / kKilo / kKilo);
  return Formatted("%.2lf GB", size / kKilo / kKilo / kKilo);
}

}  // namespace brontel
