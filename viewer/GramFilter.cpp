#include "viewer/GramFilter.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace brontel {

namespace {

constexpr std::size_t kMinimumBits = std::size_t{1} << 16;
constexpr std::size_t kMaximumBits = std::size_t{1} << 31;

}  // namespace

GramFilter::GramFilter(std::size_t expectedBytes) {
  const std::size_t wanted = std::bit_ceil(std::max(expectedBytes * 4, kMinimumBits));
  const std::size_t bits = std::min(wanted, kMaximumBits);
  bits_.assign(bits / 64, 0);
  shift_ = 64 - std::countr_zero(bits);
}

std::size_t GramFilter::BitOf(const char* at) const {
  std::uint64_t gram;
  std::memcpy(&gram, at, sizeof gram);
  return static_cast<std::size_t>((gram * 0x9E3779B97F4A7C15ull) >> shift_);
}

void GramFilter::Add(std::string_view text) {
  if (text.size() < kGram)
    return;
  const std::size_t last = text.size() - kGram;
  for (std::size_t at = 0; at <= last; ++at) {
    const std::size_t bit = BitOf(text.data() + at);
    bits_[bit / 64] |= std::uint64_t{1} << (bit % 64);
  }
  added_ += last + 1;
}

bool GramFilter::MayContain(std::string_view text) const {
  if (text.size() < kGram)
    return true;
  const std::size_t last = text.size() - kGram;
  for (std::size_t at = 0; at <= last; ++at) {
    const std::size_t bit = BitOf(text.data() + at);
    if ((bits_[bit / 64] & (std::uint64_t{1} << (bit % 64))) == 0)
      return false;
  }
  return true;
}

}  // namespace brontel
