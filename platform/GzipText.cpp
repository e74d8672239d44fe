#include "platform/GzipText.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/ReadOnlyFile.h"
#include "platform/TextFileReader.h"

namespace brontel::platform {
namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr int kGzipWindowBits = 15 + 16;  // a gzip header and trailer around the deflate data

// One inflate stream, ended however the read ends.
class Inflater {
 public:
  Inflater() : ready_(inflateInit2(&stream_, kGzipWindowBits) == Z_OK) {}
  ~Inflater() {
    if (ready_)
      inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  bool Ready() const { return ready_; }
  z_stream& Stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ready_;
};

// Streams the text of every member of `file` to sink(const char*, std::size_t).
template <typename Sink>
GunzipOutcome Inflate(ReadOnlyFile& file, std::uint64_t textLimit, Sink&& sink) {
  GunzipOutcome outcome;
  Inflater inflater;
  if (!inflater.Ready()) {
    outcome.incomplete = true;
    return outcome;
  }
  z_stream& stream = inflater.Stream();
  std::vector<unsigned char> in(kChunk);
  std::vector<unsigned char> out(kChunk);
  const std::uint64_t inputLimit = file.Size() + kTextFileGrowthLimit;
  std::uint64_t offset = 0;
  bool memberEnded = false;  // the last member's trailer was read
  for (;;) {
    if (stream.avail_in == 0) {
      const std::size_t got =
          offset < inputLimit
              ? file.ReadAt(
                    offset, reinterpret_cast<char*>(in.data()),
                    static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, inputLimit - offset)))
              : 0;
      if (got == 0) {
        outcome.incomplete = !memberEnded;  // a member cut short: the file is truncated
        return outcome;
      }
      offset += got;
      stream.next_in = in.data();
      stream.avail_in = static_cast<uInt>(got);
    }
    if (memberEnded) {
      // Only another member may follow a member's trailer.
      if (stream.next_in[0] != 0x1F || inflateReset(&stream) != Z_OK) {
        outcome.incomplete = true;
        return outcome;
      }
      memberEnded = false;
    }
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_NO_FLUSH);
    std::uint64_t produced = out.size() - stream.avail_out;
    const bool overLimit = produced > textLimit - outcome.textSize;
    if (overLimit)
      produced = textLimit - outcome.textSize;
    sink(reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(produced));
    outcome.textSize += produced;
    if (overLimit) {
      outcome.incomplete = true;
      outcome.limited = true;
      return outcome;
    }
    if (result == Z_STREAM_END) {
      memberEnded = true;
    } else if (result != Z_OK && !(result == Z_BUF_ERROR && stream.avail_in == 0)) {
      outcome.incomplete = true;  // corrupt data, a bad header or a bad check value
      return outcome;
    }
  }
}

}  // namespace

GunzipOutcome GunzipTail(ReadOnlyFile& file, std::size_t keepBytes, std::string& tail,
                         std::uint64_t textLimit) {
  tail.clear();
  const std::size_t holdLimit = std::max<std::size_t>(2 * keepBytes, kChunk);
  const GunzipOutcome outcome = Inflate(file, textLimit, [&](const char* data, std::size_t size) {
    if (tail.size() + size > holdLimit && tail.size() > keepBytes)
      tail.erase(0, tail.size() - std::min(tail.size(), keepBytes > size ? keepBytes - size : 0));
    if (size > keepBytes) {
      data += size - keepBytes;
      size = keepBytes;
    }
    tail.append(data, size);
  });
  if (tail.size() > keepBytes)
    tail.erase(0, tail.size() - keepBytes);
  return outcome;
}

GunzipOutcome GunzipAll(ReadOnlyFile& file, std::string& text, std::uint64_t textLimit) {
  return Inflate(file, textLimit,
                 [&](const char* data, std::size_t size) { text.append(data, size); });
}

}  // namespace brontel::platform
