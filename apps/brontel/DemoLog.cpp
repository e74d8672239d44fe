#include "apps/brontel/DemoLog.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace brontel::app {
namespace {

constexpr std::array<const char*, 8> kPlain = {
    "request GET /api/orders served in 12 ms",
    "cache refreshed: 1 204 entries",
    "user alice signed in from 10.0.4.17",
    "scheduler: job nightly-report queued",
    "request POST /api/orders served in 48 ms",
    "connection pool: 7 of 20 in use",
    "heartbeat ok",
    "config reloaded from /etc/shop/shop.conf",
};
constexpr std::array<const char*, 4> kErrors = {
    "database connection lost: timeout after 30 s",
    "order 4711 rejected: payment service answered 503",
    "cannot write /var/spool/shop/invoice-88.pdf: disk full",
    "worker 3 crashed with signal 11",
};
constexpr std::array<const char*, 4> kWarnings = {
    "disk /var at 91 % of its size",
    "request GET /api/search took 2 300 ms",
    "certificate expires in 9 days",
    "retrying mail delivery to ops@example.org",
};
constexpr std::array<const char*, 3> kUrgent = {
    "payment service unreachable for 5 minutes",
    "replica lag above 60 s",
    "backup of the night FAILED twice in a row",
};

template <std::size_t N>
const char* Pick(const std::array<const char*, N>& texts, std::mt19937& random) {
  return texts[random() % N];
}

}  // namespace

std::string DemoLineSource::Next() {
  ++sequence_;
  const unsigned roll = random_() % 100;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "10:%02u:%02u.%03u", unsigned(sequence_ / 60 % 60),
                unsigned(sequence_ % 60), unsigned(random_() % 1000));
  if (roll < 6)
    return std::string("E\t") + stamp + " " + Pick(kErrors, random_);
  if (roll < 12)
    return std::string("W\t") + stamp + " " + Pick(kWarnings, random_);
  if (roll < 15)
    return std::string("U\t") + stamp + " " + Pick(kUrgent, random_);
  if (roll < 17)
    return std::string("I\t") + stamp + " unit test run FAILED: see build 77 log";
  return std::string("I\t") + stamp + " " + Pick(kPlain, random_);
}

void WriteDemoLog(const std::filesystem::path& path, int lines) {
  DemoLineSource source(1, 0);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (int i = 0; i < lines; ++i)
    out << source.Next() << "\r\n";
}

DemoWriter::DemoWriter(std::filesystem::path path, int periodMs, std::uint64_t firstLine)
    : path_(std::move(path)),
      periodMs_(periodMs),
      firstLine_(firstLine),
      thread_([this] { Run(); }) {}

DemoWriter::~DemoWriter() {
  stop_ = true;
  thread_.join();
}

void DemoWriter::Run() {
  DemoLineSource source(2, firstLine_);
  while (!stop_) {
    std::this_thread::sleep_for(std::chrono::milliseconds(periodMs_));
    std::ofstream out(path_, std::ios::binary | std::ios::app);
    for (int i = 0; i < 3; ++i)
      out << source.Next() << "\r\n";
  }
}

DemoFolder::DemoFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100 && folder_.empty(); ++attempt) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("brontel-demo-" + std::to_string(random()));
    if (std::filesystem::create_directory(folder))
      folder_ = folder;
  }
  if (folder_.empty())
    throw std::runtime_error("cannot create a temporary folder for the demo log");
  WriteDemoLog(log(), kFirstLines);
}

DemoFolder::~DemoFolder() {
  std::error_code error;
  std::filesystem::remove_all(folder_, error);
}

}  // namespace brontel::app
