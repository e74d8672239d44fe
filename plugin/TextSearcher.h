/** @file TextSearcher.h: finds a pattern in a viewer's whole text for the host's search. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Casing.h"

namespace brontel {

// The host's search flags. Other bits (1, find first) are accepted and ignored.
inline constexpr int kSearchMatchCase = 2;
inline constexpr int kSearchWholeWords = 4;
inline constexpr int kSearchBackwards = 8;
// Our own host's flag, which no other host sets: the pattern is a regular expression.
inline constexpr int kSearchExpression = 16;

// Text offsets are positions in a viewer's whole text: all its lines, each followed by carriage
// return and line feed. −1 means "not found".
using TextOffset = std::int64_t;
inline constexpr TextOffset kNotFound = -1;

// True for the 18 bytes that separate words: tab, line feed, carriage return, space and
// # ( ) , . / : ; [ \ ] _ { }. Every other byte, the zero byte and all bytes from 128 up included,
// belongs to a word.
bool IsWordDelimiter(char c);

// The four scans. `text` is a viewer's whole text; it is read in place, never copied. Without
// `casing` the scans match case; with it, text and pattern are compared in their upper-case forms
// under that map, exactly as if both had been upper-cased first (a byte's neighbours in the whole
// text count, also outside the searched region). A pattern ends at its first zero byte. An empty
// pattern is never found by these scans.
//
// Forward scans search the region from `start` up to the first zero byte at or after it (or the
// end of the text) and answer the first occurrence's offset. A whole word must begin at the
// region's start or after a delimiter, and end at the region's end or before a delimiter;
// occurrences that fail are skipped one byte at a time, so overlapping ones are tried too.
// A start after the end of the text finds nothing.
TextOffset ScanForward(std::string_view text, std::size_t start, std::string_view pattern,
                       const platform::UpperCaseMap* casing);
TextOffset ScanForwardWholeWords(std::string_view text, std::size_t start, std::string_view pattern,
                                 const platform::UpperCaseMap* casing);

// Backward scans search the region of the first `end` bytes of the text, cut at its first zero
// byte, and answer the offset of the occurrence that ends last in it. A whole word needs a
// delimiter before it and a delimiter after it, both inside the region: in this direction an
// occurrence at the text's start or at the region's end is never a whole word. An end after the
// end of the text stands for the whole text.
TextOffset ScanBackward(std::string_view text, std::size_t end, std::string_view pattern,
                        const platform::UpperCaseMap* casing);
TextOffset ScanBackwardWholeWords(std::string_view text, std::size_t end, std::string_view pattern,
                                  const platform::UpperCaseMap* casing);

// One search over a viewer's whole text, with the host's flags. Holds a view of the text, which
// the caller keeps alive and unchanged while the searcher is used; keeps nothing from one search
// to the next. Every operation runs on the calling thread and takes no lock.
class TextSearcher {
 public:
  // A searcher without text: every search answers kNotFound.
  TextSearcher();
  // A searcher over `text` that upper-cases with the user's locale unless a search matches case.
  explicit TextSearcher(std::string_view text);
  // A searcher over `text` that upper-cases with `casing`.
  TextSearcher(std::string_view text, platform::UpperCaseMap casing);
  virtual ~TextSearcher() = default;

  // The offset of the match, or kNotFound. Forwards the region runs from `start` to the end (from
  // the beginning when start is 0); backwards it is the first start − 1 bytes of the text (all of
  // it when start is 0), so that a match the caret stands at the end of is not found again. An
  // empty pattern is found only by a plain forward search, at `start`. A start below 0 finds
  // nothing; a start after the end of the text finds nothing forwards and searches the whole text
  // backwards. Never throws: any failure answers kNotFound.
  virtual TextOffset Search(std::string_view pattern, TextOffset start, int flags) const;

  // The same search under the name the window host uses for it.
  virtual TextOffset SearchText(std::string_view pattern, TextOffset start, int flags) const;

 private:
  std::optional<std::string_view> text_;
  platform::UpperCaseMap casing_;
};

}  // namespace brontel
