#include "platform/FileEncoding.h"

#include "platform/ReadOnlyFile.h"

namespace brontel::platform {

FileEncoding DetectFileEncoding(ReadOnlyFile& file) {
  char start[4] = {};
  const std::size_t filled = ReadFullyAt(file, 0, start, sizeof start);
  return EncodingOfStart(std::string_view(start, filled));
}

FileEncoding EncodingOfStart(std::string_view start) {
  if (start.starts_with("\xEF\xBB\xBF"))
    return FileEncoding::kUtf8Mark;
  // The UTF-32 marks begin like the UTF-16 one or with zeros: such a file is shown byte for
  // byte (its zeros as the view shows NUL bytes) rather than as UTF-16 it is not.
  if (start.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
      start.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
    return FileEncoding::kBytes;
  if (start.starts_with("\xFF\xFE"))
    return FileEncoding::kUtf16Le;
  if (start.starts_with("\xFE\xFF"))
    return FileEncoding::kUtf16Be;
  if (start.starts_with("\x1F\x8B"))
    return FileEncoding::kGzip;
  return FileEncoding::kBytes;
}

std::size_t EncodingMarkSize(FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::kUtf8Mark:
      return 3;
    case FileEncoding::kUtf16Le:
    case FileEncoding::kUtf16Be:
      return 2;
    case FileEncoding::kBytes:
    case FileEncoding::kGzip:
      break;
  }
  return 0;
}

std::string_view EncodingLabel(FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::kUtf8Mark:
      return " [UTF-8]";
    case FileEncoding::kUtf16Le:
      return " [UTF-16 LE]";
    case FileEncoding::kUtf16Be:
      return " [UTF-16 BE]";
    case FileEncoding::kGzip:
      return " [gzip]";
    case FileEncoding::kBytes:
      break;
  }
  return {};
}

}  // namespace brontel::platform
