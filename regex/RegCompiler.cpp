#include "regex/RegCompiler.h"

#include <cstring>

namespace brontel {
namespace {

// Parse flags, combined upwards from atoms to the whole expression.
constexpr int kNonEmpty = 1;       // never matches the empty string
constexpr int kSimple = 2;         // matches exactly one character
constexpr int kLeadingRepeat = 4;  // begins with a "*" or "?" repetition

constexpr const char* kMetaCharacters = "^$.[()|?+*\\";

bool IsRepeatOperator(char c) {
  return c == '*' || c == '+' || c == '?';
}

bool Is(const std::uint8_t* node, RegNode kind) {
  return node[0] == RegCode(kind);
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (LowerAscii(*a) != LowerAscii(*b))
      return false;
  }
  return *a == *b;
}

}  // namespace

std::nullptr_t RegCompiler::Fail(const char* message) {
  lastError_ = message;
  return nullptr;
}

RegProgram::Owner RegCompiler::Compile(const char* pattern) {
  if (pattern == nullptr)
    return Fail("NULL argument");
  int flags = 0;
  if (!RunPass(pattern, &sizeSink_, flags))
    return nullptr;
  if (programSize_ >= kRegProgramSizeLimit)
    return Fail("regexp too big");
  RegProgram::Owner program = RegProgram::Allocate(programSize_);
  if (program == nullptr)
    return Fail("out of space");
  // Same parser over the same text: the emit pass cannot fail once the size pass succeeded.
  RunPass(pattern, program->code(), flags);
  CollectHeaderFacts(*program, flags);
  CollectSearchShortcuts(*program);
  CollectFoldedText(*program);
  CollectStartBytes(*program);
  return program;
}

bool RegCompiler::RunPass(const char* pattern, std::uint8_t* start, int& flags) {
  parsePos_ = pattern;
  nextGroup_ = 1;
  if (start == &sizeSink_)
    programSize_ = 0;
  emitPos_ = start;
  EmitByte(kRegSignature);
  return ParseExpression(false, flags) != nullptr;
}

std::uint8_t* RegCompiler::ParseExpression(bool group, int& flags) {
  flags = kNonEmpty;
  std::uint8_t* result = nullptr;
  int groupNumber = 0;
  if (group) {
    if (nextGroup_ >= kRegGroupSlots)
      return Fail("too many ()");
    groupNumber = nextGroup_++;
    result = EmitNode(static_cast<std::uint8_t>(kRegGroupOpenBase + groupNumber));
  }
  int branchFlags = 0;
  std::uint8_t* branch = ParseBranch(branchFlags);
  if (branch == nullptr)
    return nullptr;
  if (result != nullptr) {
    LinkChain(result, branch);
  } else {
    result = branch;
  }
  auto combine = [&flags](int branchResult) {
    if (!(branchResult & kNonEmpty))
      flags &= ~kNonEmpty;
    flags |= branchResult & kLeadingRepeat;
  };
  combine(branchFlags);
  while (*parsePos_ == '|') {
    ++parsePos_;
    branch = ParseBranch(branchFlags);
    if (branch == nullptr)
      return nullptr;
    LinkChain(result, branch);
    combine(branchFlags);
  }
  std::uint8_t* ender = group
                            ? EmitNode(static_cast<std::uint8_t>(kRegGroupCloseBase + groupNumber))
                            : EmitNode(RegNode::End);
  LinkChain(result, ender);
  for (std::uint8_t* node = result; node != nullptr; node = Next(node)) {
    LinkOperand(node, ender);
  }
  if (group) {
    if (*parsePos_ != ')')
      return Fail("unmatched ()");
    ++parsePos_;
  } else if (*parsePos_ != '\0') {
    return Fail(*parsePos_ == ')' ? "unmatched ()" : "junk on end");
  }
  return result;
}

std::uint8_t* RegCompiler::ParseBranch(int& flags) {
  flags = 0;
  std::uint8_t* result = EmitNode(RegNode::Alternative);
  std::uint8_t* previous = nullptr;
  while (*parsePos_ != '\0' && *parsePos_ != '|' && *parsePos_ != ')') {
    int pieceFlags = 0;
    std::uint8_t* latest = ParsePiece(pieceFlags);
    if (latest == nullptr)
      return nullptr;
    flags |= pieceFlags & kNonEmpty;
    if (previous == nullptr) {
      flags |= pieceFlags & kLeadingRepeat;
    } else {
      LinkChain(previous, latest);
    }
    previous = latest;
  }
  if (previous == nullptr)
    EmitNode(RegNode::Empty);
  return result;
}

std::uint8_t* RegCompiler::ParsePiece(int& flags) {
  int atomFlags = 0;
  std::uint8_t* atom = ParseAtom(atomFlags);
  if (atom == nullptr)
    return nullptr;
  const char op = *parsePos_;
  if (!IsRepeatOperator(op)) {
    flags = atomFlags;
    return atom;
  }
  if (!(atomFlags & kNonEmpty) && op != '?')
    return Fail("*+ operand could be empty");
  flags = op == '+' ? kNonEmpty : kLeadingRepeat;
  BuildRepetition(op, atom, atomFlags);
  ++parsePos_;
  if (IsRepeatOperator(*parsePos_))
    return Fail("nested *?+");
  return atom;
}

// Builds x*, x+ or x? around the operand x that starts at `operand`; the piece keeps starting
// there.
void RegCompiler::BuildRepetition(char op, std::uint8_t* operand, int operandFlags) {
  const bool simple = operandFlags & kSimple;
  if (op == '*' && simple) {
    InsertNode(RegNode::StarSimple, operand);
  } else if (op == '*') {
    // Alternative(x, LoopBack to this Alternative), Alternative(Empty).
    InsertNode(RegNode::Alternative, operand);
    LinkOperand(operand, EmitNode(RegNode::LoopBack));
    LinkOperand(operand, operand);
    LinkChain(operand, EmitNode(RegNode::Alternative));
    LinkChain(operand, EmitNode(RegNode::Empty));
  } else if (op == '+' && simple) {
    InsertNode(RegNode::PlusSimple, operand);
  } else if (op == '+') {
    // x, Alternative(LoopBack to x), Alternative(Empty).
    std::uint8_t* loop = EmitNode(RegNode::Alternative);
    LinkChain(operand, loop);
    LinkChain(EmitNode(RegNode::LoopBack), operand);
    LinkChain(loop, EmitNode(RegNode::Alternative));
    LinkChain(operand, EmitNode(RegNode::Empty));
  } else {
    // Alternative(x), Alternative(Empty), Empty.
    InsertNode(RegNode::Alternative, operand);
    LinkChain(operand, EmitNode(RegNode::Alternative));
    std::uint8_t* empty = EmitNode(RegNode::Empty);
    LinkChain(operand, empty);
    LinkOperand(operand, empty);
  }
}

std::uint8_t* RegCompiler::ParseAtom(int& flags) {
  flags = 0;
  const char c = *parsePos_;
  if (c != '\0')
    ++parsePos_;
  switch (c) {
    case '^':
      return EmitNode(RegNode::LineStart);
    case '$':
      return EmitNode(RegNode::LineEnd);
    case '.':
      flags = kNonEmpty | kSimple;
      return EmitNode(RegNode::AnyChar);
    case '[':
      flags = kNonEmpty | kSimple;
      return ParseSet();
    case '(': {
      int groupFlags = 0;
      std::uint8_t* group = ParseExpression(true, groupFlags);
      flags = groupFlags & (kNonEmpty | kLeadingRepeat);
      return group;
    }
    case '\0':
    case '|':
    case ')':
      return Fail("internal urp");
    case '?':
    case '+':
    case '*':
      return Fail("?+* follows nothing");
    case '\\': {
      if (*parsePos_ == '\0')
        return Fail("trailing \\");
      std::uint8_t* literal = EmitNode(RegNode::Literal);
      EmitByte(static_cast<std::uint8_t>(*parsePos_++));
      EmitByte(0);
      flags = kNonEmpty | kSimple;
      return literal;
    }
    default:
      --parsePos_;
      return ParseLiteralRun(flags);
  }
}

// After "[": the members up to "]" as one zero-terminated set.
std::uint8_t* RegCompiler::ParseSet() {
  std::uint8_t* set = nullptr;
  if (*parsePos_ == '^') {
    set = EmitNode(RegNode::NotInSet);
    ++parsePos_;
  } else {
    set = EmitNode(RegNode::InSet);
  }
  if (*parsePos_ == ']' || *parsePos_ == '-')
    EmitByte(static_cast<std::uint8_t>(*parsePos_++));
  while (*parsePos_ != '\0' && *parsePos_ != ']') {
    if (*parsePos_ != '-') {
      EmitByte(static_cast<std::uint8_t>(*parsePos_++));
      continue;
    }
    ++parsePos_;
    if (*parsePos_ == ']' || *parsePos_ == '\0') {
      EmitByte('-');
      continue;
    }
    // The character before "-" has already been emitted as a member.
    const int from = static_cast<std::uint8_t>(parsePos_[-2]);
    const int to = static_cast<std::uint8_t>(*parsePos_);
    if (to < from)
      return Fail("invalid [] range");
    for (int member = from + 1; member <= to; ++member) {
      EmitByte(static_cast<std::uint8_t>(member));
    }
    ++parsePos_;
  }
  EmitByte(0);
  if (*parsePos_ != ']')
    return Fail("unmatched []");
  ++parsePos_;
  return set;
}

// The longest run of ordinary characters as one Literal; a repetition operator after the run
// applies to its last character alone, which is then left for the next atom.
std::uint8_t* RegCompiler::ParseLiteralRun(int& flags) {
  std::size_t length = std::strcspn(parsePos_, kMetaCharacters);
  if (length == 0)
    return Fail("internal disaster");
  if (length > 1 && IsRepeatOperator(parsePos_[length]))
    --length;
  flags = kNonEmpty | (length == 1 ? kSimple : 0);
  std::uint8_t* literal = EmitNode(RegNode::Literal);
  for (std::size_t i = 0; i < length; ++i)
    EmitByte(static_cast<std::uint8_t>(parsePos_[i]));
  EmitByte(0);
  parsePos_ += length;
  return literal;
}

// During the size pass the count saturates just above the limit, so that no pattern, however
// long, can overflow it.
std::uint8_t* RegCompiler::EmitNode(std::uint8_t code) {
  std::uint8_t* node = emitPos_;
  if (InSizePass()) {
    if (programSize_ < kRegProgramSizeLimit)
      programSize_ += kRegNodeHeadSize;
    return node;
  }
  *emitPos_++ = code;
  *emitPos_++ = 0;
  *emitPos_++ = 0;
  return node;
}

void RegCompiler::EmitByte(std::uint8_t byte) {
  if (InSizePass()) {
    if (programSize_ < kRegProgramSizeLimit)
      ++programSize_;
    return;
  }
  *emitPos_++ = byte;
}

void RegCompiler::InsertNode(RegNode node, std::uint8_t* operand) {
  if (InSizePass()) {
    if (programSize_ < kRegProgramSizeLimit)
      programSize_ += kRegNodeHeadSize;
    return;
  }
  std::memmove(operand + kRegNodeHeadSize, operand, static_cast<std::size_t>(emitPos_ - operand));
  emitPos_ += kRegNodeHeadSize;
  operand[0] = RegCode(node);
  operand[1] = 0;
  operand[2] = 0;
}

std::uint8_t* RegCompiler::Next(std::uint8_t* node) const {
  if (InSizePass())
    return nullptr;
  const std::uint16_t offset = RegNextOffset(node);
  if (offset == 0)
    return nullptr;
  return Is(node, RegNode::LoopBack) ? node - offset : node + offset;
}

void RegCompiler::LinkChain(std::uint8_t* chain, const std::uint8_t* target) {
  if (InSizePass())
    return;
  std::uint8_t* last = chain;
  for (std::uint8_t* next = Next(last); next != nullptr; next = Next(last)) {
    last = next;
  }
  const std::ptrdiff_t offset = Is(last, RegNode::LoopBack) ? last - target : target - last;
  last[1] = static_cast<std::uint8_t>((offset >> 8) & 0xFF);
  last[2] = static_cast<std::uint8_t>(offset & 0xFF);
}

void RegCompiler::LinkOperand(std::uint8_t* node, const std::uint8_t* target) {
  if (InSizePass() || !Is(node, RegNode::Alternative))
    return;
  LinkChain(node + kRegNodeHeadSize, target);
}

void RegCompiler::CollectHeaderFacts(RegProgram& program, int topFlags) {
  program.firstChar = 0;
  program.anchored = 0;
  program.mustText = nullptr;
  program.mustLength = 0;
  std::uint8_t* top = program.code() + 1;
  std::uint8_t* afterTop = Next(top);
  if (afterTop == nullptr || !Is(afterTop, RegNode::End))
    return;
  std::uint8_t* first = top + kRegNodeHeadSize;
  if (Is(first, RegNode::Literal)) {
    program.firstChar = first[kRegNodeHeadSize];
  } else if (Is(first, RegNode::LineStart)) {
    ++program.anchored;
  }
  if (!(topFlags & kLeadingRepeat))
    return;
  for (std::uint8_t* node = first; node != nullptr; node = Next(node)) {
    if (!Is(node, RegNode::Literal))
      continue;
    const char* text = reinterpret_cast<const char*>(node + kRegNodeHeadSize);
    const auto length = static_cast<std::int32_t>(std::strlen(text));
    if (length >= program.mustLength) {
      program.mustText = text;
      program.mustLength = length;
    }
  }
}

// With one top-level alternative every Literal on its chain of next links lies on every path to
// End, so a text without the longest of them cannot match. A leading .* or .+ tries every later
// end position from the first start already, so when that attempt fails every later one fails.
void RegCompiler::CollectSearchShortcuts(RegProgram& program) {
  std::uint8_t* top = program.code() + 1;
  std::uint8_t* afterTop = Next(top);
  if (afterTop == nullptr || !Is(afterTop, RegNode::End))
    return;
  std::uint8_t* first = top + kRegNodeHeadSize;
  const char* longest = nullptr;
  std::int32_t longestLength = 0;
  for (std::uint8_t* node = first; node != nullptr; node = Next(node)) {
    if (!Is(node, RegNode::Literal))
      continue;
    const char* text = reinterpret_cast<const char*>(node + kRegNodeHeadSize);
    const auto length = static_cast<std::int32_t>(std::strlen(text));
    if (length > longestLength) {
      longest = text;
      longestLength = length;
    }
  }
  // An anchored expression that starts with a literal is rejected at its first character.
  const bool rejectsAtOnce = program.anchored != 0 && Is(first, RegNode::LineStart) &&
                             Next(first) != nullptr && Is(Next(first), RegNode::Literal);
  if (longest != nullptr && longestLength > program.mustLength && !rejectsAtOnce) {
    program.requiredText = longest;
    program.requiredLength = longestLength;
  }
  const bool repeats = Is(first, RegNode::StarSimple) || Is(first, RegNode::PlusSimple);
  program.singleAttempt = repeats && Is(first + kRegNodeHeadSize, RegNode::AnyChar);
}

// A group on the chain of next links of the one top-level alternative lies on every path to
// End, as its Literals do; when its alternatives are Literals that differ in letter case only,
// as in (error|Error|ERROR), every match holds that text in one case or another. The longest
// such text is noted.
void RegCompiler::CollectFoldedText(RegProgram& program) {
  std::uint8_t* top = program.code() + 1;
  std::uint8_t* afterTop = Next(top);
  if (afterTop == nullptr || !Is(afterTop, RegNode::End))
    return;
  for (std::uint8_t* node = top + kRegNodeHeadSize; node != nullptr; node = Next(node)) {
    const char* text = IsGroupOpenCode(node[0]) ? FoldedGroupText(node) : nullptr;
    if (text == nullptr)
      continue;
    const auto length = static_cast<std::int32_t>(std::strlen(text));
    if (length > program.foldedLength) {
      program.foldedText = text;
      program.foldedLength = length;
    }
  }
}

// The Literal of the first alternative of the group opened at `groupOpen`, when the group has
// two or more alternatives, each a single Literal that leads straight to the group's close and
// that equals the first ignoring ASCII letter case; otherwise none.
const char* RegCompiler::FoldedGroupText(std::uint8_t* groupOpen) {
  const char* first = nullptr;
  int alternatives = 0;
  std::uint8_t* close = nullptr;
  std::uint8_t* node = Next(groupOpen);
  for (; node != nullptr && Is(node, RegNode::Alternative); node = Next(node), ++alternatives) {
    std::uint8_t* literal = node + kRegNodeHeadSize;
    std::uint8_t* after = Next(literal);
    if (!Is(literal, RegNode::Literal) || after == nullptr || !IsGroupCloseCode(after[0]))
      return nullptr;
    if (close != nullptr && after != close)
      return nullptr;
    close = after;
    const char* text = reinterpret_cast<const char*>(literal + kRegNodeHeadSize);
    if (first == nullptr)
      first = text;
    else if (!SameIgnoringCase(first, text))
      return nullptr;
  }
  return alternatives >= 2 && node == close ? first : nullptr;
}

// For an expression that neither starts with a literal nor is anchored, the bytes its matches
// can begin with, so that a search skips the places where an attempt would fail at once.
void RegCompiler::CollectStartBytes(RegProgram& program) {
  if (program.firstChar != 0 || program.anchored != 0 || program.singleAttempt)
    return;
  std::uint8_t bytes[32] = {};
  if (!AddStartBytes(program.code() + 1, bytes, 0))
    return;
  std::memcpy(program.startBytes, bytes, sizeof bytes);
  program.hasStartBytes = true;
}

// Adds the bytes a match from `node` can begin with; false where that is not known, as for a
// path that may take no character first (x*, x?, an empty branch, an anchor) or any character.
bool RegCompiler::AddStartBytes(std::uint8_t* node, std::uint8_t (&bytes)[32], int depth) {
  constexpr int kDepthLimit = 2 * kRegGroupSlots;  // groups nest at most nine deep
  const auto add = [&bytes](std::uint8_t byte) {
    bytes[byte / 8] = static_cast<std::uint8_t>(bytes[byte / 8] | (1 << (byte % 8)));
  };
  for (; node != nullptr && depth < kDepthLimit; node = Next(node)) {
    const char* operand = reinterpret_cast<const char*>(node + kRegNodeHeadSize);
    if (IsGroupOpenCode(node[0]))
      continue;
    if (Is(node, RegNode::Literal)) {
      add(static_cast<std::uint8_t>(operand[0]));
      return true;
    }
    if (Is(node, RegNode::InSet)) {
      for (const char* member = operand; *member != '\0'; ++member)
        add(static_cast<std::uint8_t>(*member));
      return true;
    }
    if (Is(node, RegNode::PlusSimple))
      return AddStartBytes(node + kRegNodeHeadSize, bytes, depth + 1);
    if (!Is(node, RegNode::Alternative))
      return false;
    // One branch, or a chain of them: each must say how it begins.
    for (std::uint8_t* branch = node; branch != nullptr && Is(branch, RegNode::Alternative);
         branch = Next(branch)) {
      if (!AddStartBytes(branch + kRegNodeHeadSize, bytes, depth + 1))
        return false;
    }
    return true;
  }
  return false;
}

}  // namespace brontel
