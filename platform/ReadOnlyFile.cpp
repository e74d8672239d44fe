#include "platform/ReadOnlyFile.h"

namespace brontel::platform {

std::size_t ReadFullyAt(ReadOnlyFile& file, std::uint64_t offset, char* buffer, std::size_t count) {
  std::size_t got = 0;
  while (got < count) {
    const std::size_t n = file.ReadAt(offset + got, buffer + got, count - got);
    if (n == 0)
      break;
    got += n;
  }
  return got;
}

std::string ReadBytesAt(ReadOnlyFile& file, std::uint64_t offset, std::size_t count) {
  std::string bytes(count, '\0');
  bytes.resize(ReadFullyAt(file, offset, bytes.data(), count));
  return bytes;
}

}  // namespace brontel::platform
