/** @file RegSimpleNode.h: what one simple node of a program takes of the subject text. */
#pragma once

#include <cstdint>
#include <cstring>

#include "regex/RegProgram.h"

namespace brontel {

// A simple node tests one character: AnyChar, InSet, NotInSet, and a Literal by its first
// character (the compiler makes only one-character Literals the operand of a repetition). None
// takes the zero byte that ends the text.
inline bool IsSimpleNode(const std::uint8_t* node) {
  switch (static_cast<RegNode>(node[0])) {
    case RegNode::AnyChar:
    case RegNode::Literal:
    case RegNode::InSet:
    case RegNode::NotInSet:
      return true;
    default:
      return false;
  }
}

// Whether the simple `node` takes the character c; false for a node that is not simple.
inline bool TakesOne(const std::uint8_t* node, char c) {
  if (c == '\0')
    return false;
  const char* set = reinterpret_cast<const char*>(RegOperand(node));
  switch (static_cast<RegNode>(node[0])) {
    case RegNode::AnyChar:
      return true;
    case RegNode::Literal:
      return c == set[0];
    case RegNode::InSet:
      return std::strchr(set, c) != nullptr;
    case RegNode::NotInSet:
      return std::strchr(set, c) == nullptr;
    default:
      return false;
  }
}

// The end of the longest run from `text` of characters the simple `node` takes one by one;
// nullptr for a node that is not simple.
inline const char* EndOfRun(const std::uint8_t* node, const char* text) {
  const char* set = reinterpret_cast<const char*>(RegOperand(node));
  const char* scan = text;
  switch (static_cast<RegNode>(node[0])) {
    case RegNode::AnyChar:
      return scan + std::strlen(scan);
    case RegNode::Literal:
      while (*scan != '\0' && *scan == set[0])
        ++scan;
      return scan;
    case RegNode::InSet:
      while (*scan != '\0' && std::strchr(set, *scan) != nullptr)
        ++scan;
      return scan;
    case RegNode::NotInSet:
      while (*scan != '\0' && std::strchr(set, *scan) == nullptr)
        ++scan;
      return scan;
    default:
      return nullptr;
  }
}

}  // namespace brontel
