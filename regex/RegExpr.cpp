#include "regex/RegExpr.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace brontel {
namespace {

// Parse flags, combined upwards from atoms to the whole expression.
constexpr int NonEmpty = 1;       // never matches the empty string
constexpr int Simple = 2;         // matches exactly one character
constexpr int LeadingRepeat = 4;  // begins with a "*" or "?" repetition

constexpr const char* kMetaCharacters = "^$.[()|?+*\\";

bool IsRepeatOperator(char c) {
  return c == '*' || c == '+' || c == '?';
}

bool Is(const std::uint8_t* node, RegNode kind) {
  return node[0] == RegCode(kind);
}

// Pattern text up to its first zero byte: the compiler never looks further.
std::string PatternText(const char* pattern) {
  return pattern ? std::string(pattern) : "";
}

// Frame tags: node offsets stay below kRegProgramSizeLimit, so these never name a node.
constexpr std::uint16_t kCountTag = 0xFFFE;       // in `node`: the count a repetition tries
constexpr std::uint16_t kRepetitionTag = 0xFFFF;  // in `aux`: a repetition's frame

constexpr const char* kOutOfMemory = "search needs more than 64 MB";
// Backtracking steps before a search starts remembering failed states.
constexpr std::int64_t kStepsBeforeMemo = 1024;
// Frames a search keeps allocated for the next one.
constexpr std::size_t kKeptFrames = 16384;

bool OffsetInsideText(const char* text, int offset) {
  if (offset < 0)
    return false;
  for (int i = 0; i < offset; ++i) {
    if (text[i] == '\0')
      return false;
  }
  return true;
}

// Whether one character is taken by the simple operand of a repetition; false for an operand
// that is not simple, which counts nothing.
bool TakesOne(const std::uint8_t* operand, char c) {
  if (c == '\0')
    return false;
  const char* set = reinterpret_cast<const char*>(RegOperand(operand));
  switch (static_cast<RegNode>(operand[0])) {
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

char LookaheadOf(const std::uint8_t* next) {
  return next != nullptr && Is(next, RegNode::Literal) ? static_cast<char>(next[kRegNodeHeadSize])
                                                       : '\0';
}

std::uint32_t MinimumOf(const std::uint8_t* node) {
  return Is(node, RegNode::StarSimple) ? 0 : 1;
}

bool IsSimple(const std::uint8_t* node) {
  return Is(node, RegNode::AnyChar) || Is(node, RegNode::Literal) || Is(node, RegNode::InSet) ||
         Is(node, RegNode::NotInSet);
}

}  // namespace

RegExpr::RegExpr(const char* pattern) : pattern_(PatternText(pattern)) {
  Compile(pattern);
}

RegExpr::RegExpr(const std::string& pattern) : pattern_(pattern) {
  Compile(pattern_.c_str());
}

RegExpr::~RegExpr() = default;

// ---------------------------------------------------------------------------------------------
// Compiler

std::nullptr_t RegExpr::Fail(const char* message) {
  lastError_ = message;
  return nullptr;
}

void RegExpr::Compile(const char* pattern) {
  program_.reset();
  if (pattern == nullptr) {
    Fail("NULL argument");
    return;
  }
  int flags = 0;
  if (!RunPass(pattern, &sizeSink_, flags))
    return;
  if (programSize_ >= kRegProgramSizeLimit) {
    Fail("regexp too big");
    return;
  }
  RegProgram::Owner block = RegProgram::Allocate(programSize_);
  if (block == nullptr) {
    Fail("out of space");
    return;
  }
  program_ = std::move(block);
  // Same parser over the same text: the emit pass cannot fail once the size pass succeeded.
  RunPass(pattern, program_->code(), flags);
  CollectHeaderFacts(flags);
  CollectSearchShortcuts();
}

bool RegExpr::RunPass(const char* pattern, std::uint8_t* start, int& flags) {
  parsePos_ = pattern;
  nextGroup_ = 1;
  if (start == &sizeSink_)
    programSize_ = 0;
  emitPos_ = start;
  EmitByte(kRegSignature);
  return ParseExpression(false, flags) != nullptr;
}

std::uint8_t* RegExpr::ParseExpression(bool group, int& flags) {
  flags = NonEmpty;
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
    if (!(branchResult & NonEmpty))
      flags &= ~NonEmpty;
    flags |= branchResult & LeadingRepeat;
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
  for (std::uint8_t* node = result; node != nullptr; node = CompilerNext(node)) {
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

std::uint8_t* RegExpr::ParseBranch(int& flags) {
  flags = 0;
  std::uint8_t* result = EmitNode(RegNode::Alternative);
  std::uint8_t* previous = nullptr;
  while (*parsePos_ != '\0' && *parsePos_ != '|' && *parsePos_ != ')') {
    int pieceFlags = 0;
    std::uint8_t* latest = ParsePiece(pieceFlags);
    if (latest == nullptr)
      return nullptr;
    flags |= pieceFlags & NonEmpty;
    if (previous == nullptr) {
      flags |= pieceFlags & LeadingRepeat;
    } else {
      LinkChain(previous, latest);
    }
    previous = latest;
  }
  if (previous == nullptr)
    EmitNode(RegNode::Empty);
  return result;
}

std::uint8_t* RegExpr::ParsePiece(int& flags) {
  int atomFlags = 0;
  std::uint8_t* atom = ParseAtom(atomFlags);
  if (atom == nullptr)
    return nullptr;
  const char op = *parsePos_;
  if (!IsRepeatOperator(op)) {
    flags = atomFlags;
    return atom;
  }
  if (!(atomFlags & NonEmpty) && op != '?')
    return Fail("*+ operand could be empty");
  flags = op == '+' ? NonEmpty : LeadingRepeat;
  BuildRepetition(op, atom, atomFlags);
  ++parsePos_;
  if (IsRepeatOperator(*parsePos_))
    return Fail("nested *?+");
  return atom;
}

// Builds x*, x+ or x? around the operand x that starts at `operand`; the piece keeps starting
// there.
void RegExpr::BuildRepetition(char op, std::uint8_t* operand, int operandFlags) {
  const bool simple = operandFlags & Simple;
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

std::uint8_t* RegExpr::ParseAtom(int& flags) {
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
      flags = NonEmpty | Simple;
      return EmitNode(RegNode::AnyChar);
    case '[':
      flags = NonEmpty | Simple;
      return ParseSet();
    case '(': {
      int groupFlags = 0;
      std::uint8_t* group = ParseExpression(true, groupFlags);
      flags = groupFlags & (NonEmpty | LeadingRepeat);
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
      flags = NonEmpty | Simple;
      return literal;
    }
    default:
      --parsePos_;
      return ParseLiteralRun(flags);
  }
}

// After "[": the members up to "]" as one zero-terminated set.
std::uint8_t* RegExpr::ParseSet() {
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
std::uint8_t* RegExpr::ParseLiteralRun(int& flags) {
  std::size_t length = std::strcspn(parsePos_, kMetaCharacters);
  if (length == 0)
    return Fail("internal disaster");
  if (length > 1 && IsRepeatOperator(parsePos_[length]))
    --length;
  flags = NonEmpty | (length == 1 ? Simple : 0);
  std::uint8_t* literal = EmitNode(RegNode::Literal);
  for (std::size_t i = 0; i < length; ++i)
    EmitByte(static_cast<std::uint8_t>(parsePos_[i]));
  EmitByte(0);
  parsePos_ += length;
  return literal;
}

// During the size pass the count saturates just above the limit, so that no pattern, however
// long, can overflow it.
std::uint8_t* RegExpr::EmitNode(std::uint8_t code) {
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

void RegExpr::EmitByte(std::uint8_t byte) {
  if (InSizePass()) {
    if (programSize_ < kRegProgramSizeLimit)
      ++programSize_;
    return;
  }
  *emitPos_++ = byte;
}

void RegExpr::InsertNode(RegNode node, std::uint8_t* operand) {
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

std::uint8_t* RegExpr::CompilerNext(std::uint8_t* node) const {
  if (InSizePass())
    return nullptr;
  const std::uint16_t offset = RegNextOffset(node);
  if (offset == 0)
    return nullptr;
  return Is(node, RegNode::LoopBack) ? node - offset : node + offset;
}

void RegExpr::LinkChain(std::uint8_t* chain, const std::uint8_t* target) {
  if (InSizePass())
    return;
  std::uint8_t* last = chain;
  for (std::uint8_t* next = CompilerNext(last); next != nullptr; next = CompilerNext(last)) {
    last = next;
  }
  const std::ptrdiff_t offset = Is(last, RegNode::LoopBack) ? last - target : target - last;
  last[1] = static_cast<std::uint8_t>((offset >> 8) & 0xFF);
  last[2] = static_cast<std::uint8_t>(offset & 0xFF);
}

void RegExpr::LinkOperand(std::uint8_t* node, const std::uint8_t* target) {
  if (InSizePass() || !Is(node, RegNode::Alternative))
    return;
  LinkChain(node + kRegNodeHeadSize, target);
}

void RegExpr::CollectHeaderFacts(int topFlags) {
  RegProgram& program = *program_;
  program.firstChar = 0;
  program.anchored = 0;
  program.mustText = nullptr;
  program.mustLength = 0;
  std::uint8_t* top = program.code() + 1;
  std::uint8_t* afterTop = CompilerNext(top);
  if (afterTop == nullptr || !Is(afterTop, RegNode::End))
    return;
  std::uint8_t* first = top + kRegNodeHeadSize;
  if (Is(first, RegNode::Literal)) {
    program.firstChar = first[kRegNodeHeadSize];
  } else if (Is(first, RegNode::LineStart)) {
    ++program.anchored;
  }
  if (!(topFlags & LeadingRepeat))
    return;
  for (std::uint8_t* node = first; node != nullptr; node = CompilerNext(node)) {
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
void RegExpr::CollectSearchShortcuts() {
  RegProgram& program = *program_;
  std::uint8_t* top = program.code() + 1;
  std::uint8_t* afterTop = CompilerNext(top);
  if (afterTop == nullptr || !Is(afterTop, RegNode::End))
    return;
  std::uint8_t* first = top + kRegNodeHeadSize;
  const char* longest = nullptr;
  std::int32_t longestLength = 0;
  for (std::uint8_t* node = first; node != nullptr; node = CompilerNext(node)) {
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
                             CompilerNext(first) != nullptr &&
                             Is(CompilerNext(first), RegNode::Literal);
  if (longest != nullptr && longestLength > program.mustLength && !rejectsAtOnce) {
    program.requiredText = longest;
    program.requiredLength = longestLength;
  }
  const bool repeats = Is(first, RegNode::StarSimple) || Is(first, RegNode::PlusSimple);
  program.singleAttempt = repeats && Is(first + kRegNodeHeadSize, RegNode::AnyChar);
}

// ---------------------------------------------------------------------------------------------
// Matcher

int RegExpr::Match(const char* text, int& length, int offset) {
  if (text != nullptr && !OffsetInsideText(text, offset)) {
    lastError_ = "offset outside the text";
    return -1;
  }
  const char* subject = text != nullptr ? text + offset : nullptr;
  if (Execute(program_.get(), subject) == 0)
    return -1;
  length = static_cast<int>(program_->groupEnd[0] - program_->groupStart[0]);
  return static_cast<int>(program_->groupStart[0] - subject);
}

int RegExpr::Execute(RegProgram* program, const char* text) {
  if (program == nullptr || text == nullptr) {
    lastError_ = "NULL parameter";
    return 0;
  }
  // Frames address nodes by 16-bit offsets; the compiler never makes a larger program.
  if (program->codeSize < 1 || program->codeSize > kRegProgramSizeLimit ||
      program->code()[0] != kRegSignature) {
    lastError_ = "corrupted program";
    return 0;
  }
  if (program->mustText != nullptr && std::strstr(text, program->mustText) == nullptr)
    return 0;
  codeBegin_ = program->code();
  codeSize_ = program->codeSize;
  groupStarts_ = program->groupStart;
  groupEnds_ = program->groupEnd;
  // A failed search leaves every group slot none, rejected early or not.
  ClearGroups();
  if (program->requiredText != nullptr && std::strstr(text, program->requiredText) == nullptr) {
    return 0;
  }
  textStart_ = text;
  steps_ = 0;
  aborted_ = false;
  const int found = Search(*program, text);
  if (memo_.active() || stack_.capacity() > kKeptFrames)
    ReleaseLargeState();
  return found;
}

int RegExpr::Search(RegProgram& program, const char* text) {
  if (program.anchored != 0)
    return Attempt(program, text) ? 1 : 0;
  if (program.firstChar != 0) {
    const char first = static_cast<char>(program.firstChar);
    for (const char* start = std::strchr(text, first); start != nullptr;
         start = std::strchr(start + 1, first)) {
      if (Attempt(program, start))
        return 1;
      if (aborted_)
        return 0;
    }
    return 0;
  }
  for (const char* start = text;; ++start) {
    if (Attempt(program, start))
      return 1;
    if (aborted_ || *start == '\0' || program.singleAttempt)
      return 0;
  }
}

void RegExpr::ClearGroups() {
  for (int slot = 0; slot < kRegGroupSlots; ++slot) {
    groupStarts_[slot] = nullptr;
    groupEnds_[slot] = nullptr;
  }
}

// The memo lasts for one search only: its states are facts about this text. A search that
// needed much memory gives it back, so that an idle expression holds little.
void RegExpr::ReleaseLargeState() {
  memo_.Stop();
  if (stack_.capacity() > kKeptFrames)
    std::vector<Frame>().swap(stack_);
}

// Slots are only set once an attempt succeeded, so a failed attempt leaves them as it found
// them: none.
bool RegExpr::Attempt(RegProgram& program, const char* start) {
  inputPos_ = start;
  stack_.clear();
  // Depth-first over the choices in their order: walk forward until End or a failure, then
  // resume at the latest pending choice.
  passedGroup_ = false;
  for (const std::uint8_t* resume = codeBegin_ + 1; !Walk(resume);) {
    if (aborted_ || stack_.empty() || !Backtrack(resume))
      return false;
  }
  const char* const end = inputPos_;
  if (passedGroup_)
    SetGroupsFromPath(start);
  program.groupStart[0] = start;
  program.groupEnd[0] = end;
  return true;
}

// The group slots of the path that reached End from `start`. Group nodes leave no frames, so
// the path is walked once more: each choice takes the branch its frame holds, or the first
// viable one where it made no frame (it had no other then), and each repetition the count its
// frame holds, or its least where it made none (it could not be shorter then). A frame is the
// one of a choice when it names the choice's node and position: a path passes a node at a
// position once. The last pass of a group node gives its slot, which is the last repetition
// of the group. Stops, leaving the slots so far, where a damaged program strays from the path.
void RegExpr::SetGroupsFromPath(const char* start) {
  inputPos_ = start;
  std::size_t frame = 0;
  const auto framed = [&](std::size_t at, const std::uint8_t* node) {
    return at < stack_.size() && stack_[at].node == Offset(node) &&
           stack_[at].position == Position();
  };
  const char* progressAt = inputPos_;
  std::ptrdiff_t visits = 0;
  for (const std::uint8_t* node = codeBegin_ + 1;
       node != nullptr && node - codeBegin_ < codeSize_;) {
    if (++visits == codeSize_) {
      if (inputPos_ == progressAt)
        return;
      progressAt = inputPos_;
      visits = 0;
    }
    const std::uint8_t* next = Next(node);
    const std::uint8_t code = node[0];
    if (code == RegCode(RegNode::End))
      return;
    if (code == RegCode(RegNode::Alternative) && next != nullptr &&
        Is(next, RegNode::Alternative)) {
      const bool choice = framed(frame, node) && stack_[frame].aux != kRepetitionTag;
      const std::uint8_t* branch =
          choice ? codeBegin_ + stack_[frame++].aux : ViableAlternative(node);
      if (branch == nullptr)
        return;
      node = RegOperand(branch);
    } else if (code == RegCode(RegNode::Alternative)) {
      node = RegOperand(node);
    } else if (code == RegCode(RegNode::StarSimple) || code == RegCode(RegNode::PlusSimple)) {
      std::uint32_t count = MinimumOf(node);
      if (frame + 1 < stack_.size() && stack_[frame].node == kCountTag &&
          stack_[frame + 1].aux == kRepetitionTag && framed(frame + 1, node)) {
        count = stack_[frame].position;
        frame += 2;
      }
      inputPos_ += count;
      node = next;
    } else if (IsGroupOpenCode(code)) {
      groupStarts_[code - kRegGroupOpenBase] = inputPos_;
      node = next;
    } else if (IsGroupCloseCode(code)) {
      groupEnds_[code - kRegGroupCloseBase] = inputPos_;
      node = next;
    } else if (StepNode(node)) {
      node = next;
    } else {
      return;
    }
  }
}

bool RegExpr::Abort(const char* message) {
  if (!aborted_) {
    aborted_ = true;
    lastError_ = message;
  }
  return false;
}

// The successor through the next link; none when there is no link or it leads out of the
// program.
const std::uint8_t* RegExpr::Next(const std::uint8_t* node) const {
  const std::uint16_t offset = RegNextOffset(node);
  if (offset == 0)
    return nullptr;
  std::ptrdiff_t at = node - codeBegin_;
  at = Is(node, RegNode::LoopBack) ? at - offset : at + offset;
  if (at < 0 || at >= codeSize_)
    return nullptr;
  return codeBegin_ + at;
}

// Runs the node chain from `node` until End (true) or a failure (false), leaving a frame for
// every choice that has a way left to try and every repetition that could be shorter.
bool RegExpr::Walk(const std::uint8_t* node) {
  // Without input consumed a compiled program visits each node at most once, so any run of as
  // many visits as the program has bytes consumes something; one that does not belongs to a
  // damaged program that loops.
  const char* progressAt = inputPos_;
  std::ptrdiff_t visits = 0;
  while (node != nullptr && node - codeBegin_ < codeSize_) {
    if (++visits == codeSize_) {
      if (inputPos_ == progressAt)
        return Abort("endless loop in program");
      progressAt = inputPos_;
      visits = 0;
    }
    const std::uint8_t* next = Next(node);
    const std::uint8_t code = node[0];
    if (code == RegCode(RegNode::End))
      return true;
    if (code == RegCode(RegNode::Alternative)) {
      if (next == nullptr || !Is(next, RegNode::Alternative)) {
        node = RegOperand(node);
        continue;
      }
      node = EnterAlternatives(node);
      if (node == nullptr)
        return false;
      continue;
    }
    if (code == RegCode(RegNode::StarSimple) || code == RegCode(RegNode::PlusSimple)) {
      if (!EnterRepetition(node, next))
        return false;
      node = next;
      continue;
    }
    if (IsGroupOpenCode(code) || IsGroupCloseCode(code)) {
      passedGroup_ = true;  // its slot is found when the path is known (SetGroupsFromPath)
      node = next;
      continue;
    }
    if (!StepNode(node))
      return false;
    node = next;
  }
  lastError_ = "corrupted pointers";
  return false;
}

// Resumes at the latest choice that has an untried way left, noting every choice it leaves
// exhausted as failed; false when none is left.
bool RegExpr::Backtrack(const std::uint8_t*& resume) {
  while (!stack_.empty()) {
    if (++steps_ > kStepsBeforeMemo && !memo_.active())
      StartMemo();
    Frame& top = stack_.back();
    if (top.node == kCountTag) {
      stack_.pop_back();
      continue;
    }
    if (top.aux == kRepetitionTag) {
      if (RetryRepetition(resume))
        return true;
      if (aborted_)
        return false;
      continue;
    }
    const std::uint8_t* next = Next(codeBegin_ + top.aux);
    if (next != nullptr && Is(next, RegNode::Alternative)) {
      top.aux = static_cast<std::uint16_t>(Offset(next));
      inputPos_ = textStart_ + top.position;
      resume = RegOperand(next);
      return true;
    }
    const Frame exhausted = top;
    stack_.pop_back();
    if (!NoteFailure(exhausted.node, exhausted.position))
      return false;
  }
  return false;
}

// The first alternative that can start here, in chain order, from `node` on; none at the end of
// the chain.
const std::uint8_t* RegExpr::ViableAlternative(const std::uint8_t* node) const {
  while (node != nullptr && Is(node, RegNode::Alternative) && !MayStartHere(RegOperand(node)))
    node = Next(node);
  return node != nullptr && Is(node, RegNode::Alternative) ? node : nullptr;
}

// Whether a branch may match at the current position: false only for one whose first test of a
// character (after group openings and inside a branch without alternatives) fails here, which
// would fail at once. The walk goes forward only, so it ends.
bool RegExpr::MayStartHere(const std::uint8_t* branch) const {
  const char c = *inputPos_;
  for (const std::uint8_t* node = branch; node != nullptr && node - codeBegin_ < codeSize_;) {
    if (Is(node, RegNode::Literal))
      return node[kRegNodeHeadSize] == c;
    if (IsSimple(node))
      return TakesOne(node, c);
    if (Is(node, RegNode::PlusSimple) && IsSimple(RegOperand(node)))
      return TakesOne(RegOperand(node), c);
    const std::uint8_t* next = Next(node);
    if (IsGroupOpenCode(node[0]))
      node = next;
    else if (Is(node, RegNode::Alternative) && (next == nullptr || !Is(next, RegNode::Alternative)))
      node = RegOperand(node);
    else
      return true;
  }
  return true;
}

// Skipping branches that fail at their first test changes neither the order nor the outcome.
// A frame remembers the branches left to try; with none left the walk needs no frame (and the
// memo does without the state: its failure is the failure of the one branch's states).
const std::uint8_t* RegExpr::EnterAlternatives(const std::uint8_t* node) {
  const std::uint32_t at = Offset(node);
  const std::uint32_t position = Position();
  if (KnownToFail(at, position))
    return nullptr;
  const std::uint8_t* first = ViableAlternative(node);
  if (first == nullptr) {
    NoteFailure(at, position);
    return nullptr;
  }
  const std::uint8_t* next = Next(first);
  if (ViableAlternative(next) != nullptr && !Push({position, static_cast<std::uint16_t>(at),
                                                   static_cast<std::uint16_t>(Offset(first))})) {
    return nullptr;
  }
  return RegOperand(first);
}

// Greedy: the successor is tried after the longest run first, then one character less each
// time. Every start inside one run of the operand ends that run at the same place, which lets
// the memo settle a repetition from its neighbours: having failed from s - 1, it tried the
// successor at every end it could reach from s; having failed from s + 1, only the shortest
// run from s is new.
bool RegExpr::EnterRepetition(const std::uint8_t* node, const std::uint8_t* next) {
  const std::uint32_t minimum = MinimumOf(node);
  const char lookahead = LookaheadOf(next);
  const std::uint8_t* operand = RegOperand(node);
  const std::uint32_t at = Offset(node);
  const std::uint32_t start = Position();
  std::ptrdiff_t count = 0;
  if (memo_.active()) {
    if (memo_.Failed(at, start))
      return false;
    if (start > 0 && memo_.Failed(at, start - 1) && TakesOne(operand, inputPos_[-1])) {
      NoteFailure(at, start);
      return false;
    }
  }
  if (memo_.active() && TakesOne(operand, *inputPos_) && memo_.Failed(at, start + 1)) {
    count = minimum;
  } else {
    count = CountRepetitions(operand);
  }
  while (count >= static_cast<std::ptrdiff_t>(minimum) && lookahead != '\0' &&
         textStart_[start + count] != lookahead) {
    --count;
  }
  if (count < static_cast<std::ptrdiff_t>(minimum)) {
    NoteFailure(at, start);
    return false;
  }
  inputPos_ = textStart_ + start;
  // A run that cannot be shorter needs frames only for the memo to learn of its failure.
  const bool retryable = count > static_cast<std::ptrdiff_t>(minimum) || memo_.active();
  if (retryable && (!Push({static_cast<std::uint32_t>(count), kCountTag, 0}) ||
                    !Push({start, static_cast<std::uint16_t>(at), kRepetitionTag}))) {
    return false;
  }
  inputPos_ += count;
  return true;
}

// The repetition frame on top of the stack, with its count frame below it, tries its next
// shorter run; when none is left both frames go and the repetition is noted as failed.
bool RegExpr::RetryRepetition(const std::uint8_t*& resume) {
  const Frame repetition = stack_.back();
  Frame& counter = stack_[stack_.size() - 2];
  const std::uint8_t* node = codeBegin_ + repetition.node;
  const std::uint8_t* next = Next(node);
  const char lookahead = LookaheadOf(next);
  const std::uint32_t minimum = MinimumOf(node);
  for (std::uint32_t count = counter.position; count > minimum;) {
    --count;
    if (lookahead == '\0' || textStart_[repetition.position + count] == lookahead) {
      counter.position = count;
      inputPos_ = textStart_ + repetition.position + count;
      resume = next;
      return true;
    }
  }
  stack_.pop_back();
  stack_.pop_back();
  NoteFailure(repetition.node, repetition.position);
  return false;
}

bool RegExpr::KnownToFail(std::uint32_t node, std::uint32_t position) {
  return memo_.active() && memo_.Failed(node, position);
}

bool RegExpr::NoteFailure(std::uint32_t node, std::uint32_t position) {
  if (!memo_.active())
    return true;
  const std::size_t stackBytes = stack_.capacity() * sizeof(Frame);
  if (!memo_.Record(node, position, kSearchMemoryLimit - stackBytes))
    return Abort(kOutOfMemory);
  return true;
}

// Searches that settle within a few hundred steps, as nearly all do, never pay for the memo.
// Searches that settle within a few hundred steps, as nearly all do, never pay for the memo.
void RegExpr::StartMemo() {
  textLength_ = std::strlen(textStart_);
  memo_.Start(static_cast<std::int32_t>(codeSize_), textLength_);
}

bool RegExpr::Push(Frame frame) {
  if (static_cast<std::uint64_t>(inputPos_ - textStart_) > UINT32_MAX)
    return Abort("text too long");
  if (stack_.size() == stack_.capacity() && !GrowStack())
    return false;
  stack_.push_back(frame);
  return true;
}

bool RegExpr::GrowStack() {
  const std::size_t limit = (kSearchMemoryLimit - memo_.bytes()) / sizeof(Frame);
  if (stack_.capacity() >= limit)
    return Abort(kOutOfMemory);
  // Large stacks grow by a quarter, so that little of the limit sits unused beside the memo.
  const std::size_t capacity = stack_.capacity();
  const std::size_t step = capacity < (std::size_t{1} << 20) ? capacity : capacity / 4;
  const std::size_t wanted = std::min(limit, std::max<std::size_t>(256, capacity + step));
  try {
    stack_.reserve(wanted);
  } catch (const std::bad_alloc&) {
    return Abort(kOutOfMemory);
  }
  return true;
}

// The nodes that consume or test input without making a choice; false when the node fails.
bool RegExpr::StepNode(const std::uint8_t* node) {
  const char* operand = reinterpret_cast<const char*>(RegOperand(node));
  const char c = *inputPos_;
  switch (static_cast<RegNode>(node[0])) {
    case RegNode::LineStart:
      return inputPos_ == textStart_;
    case RegNode::LineEnd:
      return c == '\0';
    case RegNode::AnyChar:
      if (c == '\0')
        return false;
      ++inputPos_;
      return true;
    case RegNode::InSet:
      if (c == '\0' || std::strchr(operand, c) == nullptr)
        return false;
      ++inputPos_;
      return true;
    case RegNode::NotInSet:
      if (c == '\0' || std::strchr(operand, c) != nullptr)
        return false;
      ++inputPos_;
      return true;
    case RegNode::Literal: {
      if (operand[0] != c)
        return false;
      const std::size_t length = std::strlen(operand);
      if (length > 1 && std::strncmp(operand, inputPos_, length) != 0)
        return false;
      inputPos_ += length;
      return true;
    }
    case RegNode::Empty:
    case RegNode::LoopBack:
      return true;
    default:
      lastError_ = "memory corruption";
      return false;
  }
}

std::ptrdiff_t RegExpr::CountRepetitions(const std::uint8_t* operand) {
  const char* text = inputPos_;
  const char* scan = text;
  const char* set = reinterpret_cast<const char*>(RegOperand(operand));
  switch (static_cast<RegNode>(operand[0])) {
    case RegNode::AnyChar:
      scan += std::strlen(scan);
      break;
    case RegNode::Literal:
      while (*scan != '\0' && *scan == set[0])
        ++scan;
      break;
    case RegNode::InSet:
      while (*scan != '\0' && std::strchr(set, *scan) != nullptr)
        ++scan;
      break;
    case RegNode::NotInSet:
      while (*scan != '\0' && std::strchr(set, *scan) == nullptr)
        ++scan;
      break;
    default:
      lastError_ = "internal foulup";
      break;
  }
  inputPos_ = scan;
  return scan - text;
}

}  // namespace brontel
