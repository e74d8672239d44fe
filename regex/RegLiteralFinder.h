/** @file RegLiteralFinder.h: whether a text holds one literal, found by its rarest bytes. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brontel {

// Answers whether a text holds one literal, such as the text every match of an expression must
// hold, at a cost close to one scan of the text. A search by the literal's first byte stops at
// every blank or common letter of a log line and pays a library call each time; this one tests
// two of its rarest bytes at their places in the literal instead:
// - where one of them is rare in log text (a capital, most punctuation), a memchr for it, which
//   seldom stops;
// - otherwise sixteen places at a time, each tested for both bytes, so that a place holding only
//   one of them costs nothing.
// The choice changes the cost only, never the answer.
//
// The literal is viewed, not copied: its bytes must outlive the finder.
class RegLiteralFinder {
 public:
  RegLiteralFinder() = default;  // the empty literal, found in every text
  explicit RegLiteralFinder(std::string_view literal);

  // Whether `text` holds the literal; zero bytes in `text` are bytes like any other.
  bool FoundIn(std::string_view text) const;
  std::string_view literal() const { return literal_; }

 private:
  bool FoundByRareByte(std::string_view text) const;
  bool FoundByPair(std::string_view text) const;
  bool HoldsAt(const char* place) const;

  std::string_view literal_;
  std::size_t firstAt_ = 0;   // the rarest byte's place in the literal
  std::size_t secondAt_ = 0;  // the next rarest's place (firstAt_ for a one-byte literal)
  bool rareFirst_ = false;    // the rarest byte is rare enough for a memchr
};

}  // namespace brontel
