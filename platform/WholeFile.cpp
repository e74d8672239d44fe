#include "platform/WholeFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/GzipText.h"
#include "platform/LargePages.h"
#include "platform/PlatformError.h"
#include "platform/ReadOnlyFile.h"
#include "platform/TextFileReader.h"
#include "platform/Utf16Text.h"

namespace brontel::platform {

namespace {

// The size of `file` as a buffer length. A file larger than the process can address (a 32-bit
// process and a file of gigabytes) is refused: cutting its size would read a part of it and
// pass that for the whole.
std::size_t AddressableSize(const ReadOnlyFile& file, std::size_t capacity) {
  const std::uint64_t size = file.Size();
  const std::uint64_t most = std::string().max_size() - kTextFileGrowthLimit;
  if (size > most || capacity > most)
    throw PlatformError(file.Path(), "is too large to load whole in this process (" +
                                         std::to_string(size / (1024 * 1024)) + " MB)");
  return static_cast<std::size_t>(size);
}

// The bytes of `file` from offset `skip` to its end (see ReadAllOf). They are read a stretch at
// a time through a small buffer and appended: the large buffer is written once, by this
// process, and never filled with zeros first.
std::string ReadAllFrom(ReadOnlyFile& file, std::uint64_t skip, std::size_t capacity) {
  constexpr std::size_t kReadStep = 256 * 1024;
  const std::size_t size = AddressableSize(file, capacity);
  const std::uint64_t limit = size + kTextFileGrowthLimit;
  std::string content;
  try {
    content.reserve(LargePageBlockSize(std::max(capacity, size) + 1) - 1);
  } catch (const std::bad_alloc&) {
    throw PlatformError(file.Path(), "does not fit into the memory left to load it whole (" +
                                         std::to_string(size / (1024 * 1024)) + " MB)");
  }
  AdviseLargePages(content.data(), content.capacity());
  const std::size_t step = std::clamp<std::size_t>(size, 4096, kReadStep);
  const std::unique_ptr<char[]> stretch(new char[step]);
  for (std::uint64_t offset = skip; offset < limit;) {
    const std::size_t got =
        file.ReadAt(offset, stretch.get(),
                    static_cast<std::size_t>(std::min<std::uint64_t>(step, limit - offset)));
    if (got == 0)
      break;
    content.append(stretch.get(), got);
    offset += got;
  }
  return content;
}

}  // namespace

std::string ReadAllOf(ReadOnlyFile& file, std::size_t capacity) {
  return ReadAllFrom(file, 0, capacity);
}

namespace {

constexpr std::size_t kDecodedRoom = 64 * 1024;

void ReserveRoom(std::string& text) {
  text.reserve(text.size() + text.size() / 4 + kDecodedRoom);
}

// The text of UTF-16 bytes after their mark, converted a stretch at a time so that only the
// text itself (and one stretch's worst case) is held.
std::string Utf16Text(const std::string& raw, bool bigEndian) {
  constexpr std::size_t kStretchUnits = 1 << 20;
  const char* const units = raw.data() + std::min<std::size_t>(raw.size(), 2);
  std::size_t count = raw.size() > 2 ? (raw.size() - 2) / 2 : 0;
  if (count > 0 && IsHighSurrogate(Utf16UnitAt(units, count - 1, bigEndian)))
    --count;  // the first half of a character the writer has not finished
  std::string text;
  // Room for a text of one byte a unit (most logs), its expansion and a stretch's worst case,
  // reserved before the text is written rather than copied afterwards.
  text.reserve(count + count / 4 + kDecodedRoom + 2 * std::min(kStretchUnits, count));
  for (std::size_t at = 0; at < count;) {
    std::size_t stretch = std::min(kStretchUnits, count - at);
    if (at + stretch < count && IsHighSurrogate(Utf16UnitAt(units, at + stretch - 1, bigEndian)))
      --stretch;  // keep a surrogate pair together
    const std::size_t filled = text.size();
    text.resize(filled + stretch * kTextBytesPerUtf16Unit);
    text.resize(filled + Utf16ToText(units + 2 * at, stretch, bigEndian, text.data() + filled));
    at += stretch;
  }
  return text;
}

}  // namespace

WholeText ReadWholeText(ReadOnlyFile& file, std::size_t capacity) {
  WholeText whole;
  whole.encoding = DetectFileEncoding(file);
  switch (whole.encoding) {
    case FileEncoding::kBytes:
      whole.text = ReadAllOf(file, capacity);
      whole.end = whole.text.size();
      break;
    case FileEncoding::kUtf8Mark: {
      // The mark is left out as the file is read: no move of the whole text afterwards.
      const std::size_t mark = EncodingMarkSize(whole.encoding);
      whole.text = ReadAllFrom(file, mark, capacity);
      // A file cut short since its mark was seen may now end before the mark did.
      whole.end = whole.text.empty() ? std::min<std::uint64_t>(file.Size(), mark)
                                     : mark + whole.text.size();
      break;
    }
    case FileEncoding::kUtf16Le:
    case FileEncoding::kUtf16Be: {
      const std::string raw = ReadAllOf(file);
      whole.end = raw.size();
      whole.text = Utf16Text(raw, whole.encoding == FileEncoding::kUtf16Be);
      ReserveRoom(whole.text);  // a no-op unless the text came out longer than one byte a unit
      break;
    }
    case FileEncoding::kGzip: {
      GunzipOutcome outcome;
      try {
        outcome = GunzipAll(file, whole.text);
      } catch (const std::bad_alloc&) {
        throw PlatformError(file.Path(), "does not fit into the memory left to load it whole");
      }
      whole.end = outcome.textSize;
      whole.incomplete = outcome.incomplete;
      whole.limited = outcome.limited;
      ReserveRoom(whole.text);
      break;
    }
  }
  return whole;
}

std::string ReadWholeFile(const std::string& path) {
  const std::unique_ptr<ReadOnlyFile> file = OpenReadOnlyFile(path);
  return ReadAllOf(*file);
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  const void* nul = text.empty() ? nullptr : std::memchr(text.data(), '\0', text.size());
  if (nul != nullptr) {
    text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos)
      end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') {
      ++start;
    }
  }
  return lines;
}

std::vector<std::string_view> LineViewsOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, stop - start));
    start = stop + 1;
    if (text[stop] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

}  // namespace brontel::platform
