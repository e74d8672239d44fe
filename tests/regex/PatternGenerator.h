/** @file PatternGenerator.h: random expressions and short texts for the property tests. */
#pragma once

#include <cstddef>
#include <random>
#include <string>

namespace brontel {

// Patterns in the syntax this engine shares with ECMAScript: letters a-c, ".", simple sets,
// groups, alternatives, the three repetitions and the two anchors.
class PatternGenerator {
 public:
  explicit PatternGenerator(unsigned seed) : random_(seed) {}

  std::string Pattern() { return Expression(0); }

  // A long stretch of mostly a and b, with a rare c or d, for a short Text() to follow.
  std::string Filler(std::size_t length) {
    std::string text(length, 'a');
    for (char& c : text)
      c = Pick(64) == 0 ? "cd"[Pick(2)] : "ab"[Pick(2)];
    return text;
  }

  std::string Text() {
    std::string text;
    const int length = Pick(10);
    for (int i = 0; i < length; ++i)
      text += "abcd"[Pick(4)];
    return text;
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  std::string Expression(int depth) {
    std::string result = Branch(depth);
    while (Pick(4) == 0)
      result += "|" + Branch(depth);
    return result;
  }

  std::string Branch(int depth) {
    std::string result;
    const int pieces = 1 + Pick(3);
    for (int i = 0; i < pieces; ++i)
      result += Piece(depth);
    return result;
  }

  std::string Piece(int depth) {
    std::string atom = Atom(depth);
    if (atom == "^" || atom == "$")
      return atom;  // ECMAScript refuses repeated assertions
    switch (Pick(6)) {
      case 0:
        return atom + "*";
      case 1:
        return atom + "+";
      case 2:
        return atom + "?";
      default:
        return atom;
    }
  }

  std::string Atom(int depth) {
    static const char* const kSets[] = {"[ab]", "[^a]", "[a-c]", "[^bc]"};
    switch (Pick(depth < 3 ? 9 : 7)) {
      case 0:
        return ".";
      case 1:
        return kSets[Pick(4)];
      case 2:
        return Pick(8) == 0 ? "^" : "a";
      case 3:
        return Pick(8) == 0 ? "$" : "b";
      case 4:
        return "c";
      case 5:
      case 6:
        return std::string(1, "abcd"[Pick(4)]);
      default:
        return "(" + Expression(depth + 1) + ")";
    }
  }

  std::mt19937 random_;
};

}  // namespace brontel
