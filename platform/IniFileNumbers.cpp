#include "platform/IniFileNumbers.h"

#include <charconv>
#include <limits>

namespace brontel::platform {
namespace {

// Reads unsigned digits of `base` filling the whole text; empty optional on anything else or
// on a value above `limit`.
std::optional<std::uint64_t> ParseDigits(std::string_view digits, int base, std::uint64_t limit) {
  if (digits.empty())
    return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (error != std::errc() || end != digits.data() + digits.size() || value > limit) {
    return std::nullopt;
  }
  return value;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // from_chars would take a second sign as part of the digits; refuse it here.
  if (!text.empty() && (text.front() == '-' || text.front() == '+'))
    return std::nullopt;
  const bool hex = StartsWith(text, "0x") || StartsWith(text, "0X") || StartsWith(text, "$");
  if (hex) {
    text.remove_prefix(text.front() == '$' ? 1 : 2);
    const auto value = ParseDigits(text, 16, std::numeric_limits<std::uint32_t>::max());
    if (!value)
      return std::nullopt;
    const std::uint32_t bits = static_cast<std::uint32_t>(negative ? 0u - *value : *value);
    return static_cast<std::int32_t>(bits);
  }
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
  const auto value = ParseDigits(text, 10, limit);
  if (!value)
    return std::nullopt;
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(*value))
                  : static_cast<std::int32_t>(*value);
}

std::optional<double> ParseIniFloat(std::string_view text) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-')
      return std::nullopt;
  }
  if (text.empty())
    return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

std::string FormatIniFloat(double value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

}  // namespace brontel::platform
