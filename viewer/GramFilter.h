/** @file GramFilter.h: a quick "certainly not in this text" test for substring searches. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace brontel {

// Remembers every run of kGram consecutive bytes of the texts added to it, as bits of a hashed
// set (a Bloom filter with one hash). A text that holds some run the filter never saw cannot
// occur in what was added: MayContain answers false only then, so a search it skips could not
// have found anything. Removing text is not possible; a filter that holds more than its text
// only answers "maybe" more often.
//
// Sized at about four bits per byte of `expectedBytes` (a fifth of the bits set when that much
// was added); Saturated() tells when far more was added and most answers would be "maybe".
class GramFilter {
 public:
  static constexpr std::size_t kGram = 8;

  explicit GramFilter(std::size_t expectedBytes);

  // Adds every run of kGram bytes that lies wholly in `text`.
  void Add(std::string_view text);
  // False when `text` cannot occur in the added texts; texts shorter than kGram always may.
  bool MayContain(std::string_view text) const;
  // True when so many runs were added that the filter rejects little any more.
  bool Saturated() const { return added_ > bits_.size() * 64 / 4; }

 private:
  std::size_t BitOf(const char* at) const;

  std::vector<std::uint64_t> bits_;
  int shift_ = 0;          // 64 minus log2 of the number of bits
  std::size_t added_ = 0;  // runs added so far
};

}  // namespace brontel
