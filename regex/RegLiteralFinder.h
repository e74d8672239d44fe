/** @file RegLiteralFinder.h: whether a text holds one literal, found by its rarest bytes. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brontel {

// Answers whether (and where first) a text holds one literal, such as the text every match of an
// expression must hold, at a cost close to one scan of the text. A search by the literal's first
// byte stops at every blank or common letter of a log line and pays a library call each time; this
// one tests two of its rarest bytes at their places in the literal instead:
// - where one of them is rare in log text (a capital, most punctuation), a memchr for it, which
//   seldom stops; after one place that fails, a memchr for the other where it is rare too, and
//   from there on the other way;
// - otherwise sixteen places at a time, each tested for both bytes, so that a place holding only
//   one of them costs nothing.
// The choice changes the cost only, never the answer. Where letter case is ignored (ASCII
// letters only), both anchors are looked for in the sixteen-place way, a letter by its two
// forms.
//
// The literal is viewed, not copied: its bytes must outlive the finder.
class RegLiteralFinder {
 public:
  RegLiteralFinder() = default;  // the empty literal, found in every text
  explicit RegLiteralFinder(std::string_view literal, bool ignoreCase = false);

  // Whether `text` holds the literal; zero bytes in `text` are bytes like any other. Inline for
  // the many callers whose literal is empty or longer than the text.
  bool FoundIn(std::string_view text) const { return Find(text) != std::string_view::npos; }
  // Where the literal first begins in `text` (0 for the empty literal), or npos.
  std::size_t Find(std::string_view text) const {
    if (literal_.empty())
      return 0;
    return text.size() >= literal_.size() ? Search(text) : std::string_view::npos;
  }
  std::string_view literal() const { return literal_; }
  bool ignoresCase() const { return ignoreCase_; }

 private:
  static constexpr unsigned char kCaseBit = 0x20;  // a capital with it set is its lower case

  // One byte a place must hold: `byte` once `fold` is set in the text's byte.
  struct Anchor {
    unsigned char byte = 0;
    unsigned char fold = 0;
    bool Takes(char c) const { return (static_cast<unsigned char>(c) | fold) == byte; }
  };
  Anchor AnchorOf(char c) const;
  // Each answers the first place of the literal, or npos.
  std::size_t Search(std::string_view text) const;
  std::size_t FoundByRareByte(std::string_view text) const;
  std::size_t FoundByPair(std::string_view text, std::size_t place) const;
  template <bool kFold>
  std::size_t FoundByPairIn(std::string_view text, std::size_t place) const;
  bool HoldsAt(const char* place) const;

  std::string_view literal_;
  std::size_t firstAt_ = 0;   // the rarest byte's place in the literal
  std::size_t secondAt_ = 0;  // the next rarest's place (firstAt_ for a one-byte literal)
  bool rareFirst_ = false;    // the rarest byte is rare enough for a memchr
  bool rareSecond_ = false;   // and so is the next rarest, at another place
  bool ignoreCase_ = false;
  Anchor first_;
  Anchor second_;
};

}  // namespace brontel
