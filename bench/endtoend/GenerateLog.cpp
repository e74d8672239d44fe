// Writes a realistic service log of a given size for the end-to-end measurements:
//   brontel_perf_log FILE BYTES [SEED]
// About 2 % of the lines are errors ("E" and a tab), 1 % warnings ("W" and a tab), the rest
// informational lines of 60 to 160 bytes, every line unique (time stamp and request number).
// Line 10 carries the word PerfMarkHead and the 100th line before the end PerfMarkTail, so
// searches can be sent over (almost) the whole file. The same seed gives the same file.

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// A small, fast generator: the file is gigabytes of lines, and the lines need not be strong.
class XorShift {
 public:
  explicit XorShift(std::uint64_t seed) : state_(seed | 1) {}
  std::uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }

 private:
  std::uint64_t state_;
};

constexpr std::string_view kComponents[] = {"http", "db", "cache", "auth", "queue", "mailer"};
constexpr std::string_view kInfo[] = {
    "handled GET /api/v2/orders in",
    "handled POST /api/v2/basket/items in",
    "session refreshed for customer after",
    "cache hit ratio recomputed in",
    "batch of invoices exported to archive in",
    "health probe answered in",
    "scheduled cleanup of temporary uploads took",
};
constexpr std::string_view kErrors[] = {
    "connection to db-2 lost: timeout after",
    "payment gateway answered 503 after",
    "unhandled exception in order pipeline after",
    "disk quota exceeded on /var/spool after",
};
constexpr std::string_view kWarnings[] = {
    "slow query on table orders took",
    "retrying message delivery to broker after",
    "certificate of api.example.test expires soon; checked in",
};
constexpr std::string_view kPadding =
    " trace=9f2c4e7a1b3d5f60 user-agent=ServiceClient/4.2 (linux; x86_64) region=eu-central-1";

template <std::size_t N>
std::string_view Pick(const std::string_view (&texts)[N], XorShift& random) {
  return texts[random.Below(N)];
}

struct LineMaker {
  XorShift random;
  std::uint64_t sequence = 0;
  std::uint64_t milliseconds = 0;  // since 2026-12-09 00:00:00

  // One line with its line feed into `out`; `extra` is appended before the line end.
  void Make(std::string& out, std::string_view extra = {}) {
    milliseconds += random.Below(40);
    const std::uint64_t roll = random.Below(100);
    const char kind = roll < 2 ? 'E' : roll < 3 ? 'W' : 'I';
    const std::string_view text = kind == 'E'   ? Pick(kErrors, random)
                                  : kind == 'W' ? Pick(kWarnings, random)
                                                : Pick(kInfo, random);
    const std::string_view component = Pick(kComponents, random);
    char head[96];
    const std::uint64_t seconds = milliseconds / 1000;
    const int length = std::snprintf(head, sizeof head,
                                     "%c\t2026-12-09 %02" PRIu64 ":%02" PRIu64 ":%02" PRIu64
                                     ".%03" PRIu64 " [%.*s-%02" PRIu64 "] #%08" PRIu64 " ",
                                     kind, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60,
                                     milliseconds % 1000, static_cast<int>(component.size()),
                                     component.data(), random.Below(16), ++sequence);
    out.append(head, static_cast<std::size_t>(length));
    out.append(text);
    out.append(" " + std::to_string(random.Below(5000)) + " ms");
    out.append(kPadding.substr(0, random.Below(kPadding.size())));
    out.append(extra);
    out.push_back('\n');
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FILE BYTES [SEED]\n", argv[0]);
    return 2;
  }
  const std::uint64_t target = std::strtoull(argv[2], nullptr, 10);
  LineMaker maker{XorShift(argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20261209)};
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  // The file is written in pieces; the last 100 lines are held back so the tail mark can be
  // placed before them.
  constexpr std::size_t kPiece = 1 << 20;
  constexpr std::uint64_t kTailLines = 100;
  constexpr std::uint64_t kTailReserve = kTailLines * 200;
  std::string piece;
  std::uint64_t written = 0;
  std::uint64_t lines = 0;
  bool failed = false;
  while (written + piece.size() + kTailReserve < target) {
    maker.Make(piece, ++lines == 10 ? " PerfMarkHead" : "");
    if (piece.size() >= kPiece) {
      failed |= std::fwrite(piece.data(), 1, piece.size(), out) != piece.size();
      written += piece.size();
      piece.clear();
    }
  }
  maker.Make(piece, " PerfMarkTail");
  for (std::uint64_t i = 1; i < kTailLines; ++i)
    maker.Make(piece);
  failed |= std::fwrite(piece.data(), 1, piece.size(), out) != piece.size();
  failed |= std::fclose(out) != 0;
  if (failed) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
