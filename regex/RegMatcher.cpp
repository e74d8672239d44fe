#include "regex/RegMatcher.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "regex/RegLiteralFinder.h"
#include "regex/RegSimpleNode.h"

namespace brontel {
namespace {

bool Is(const std::uint8_t* node, RegNode kind) {
  return node[0] == RegCode(kind);
}

// Frame tags: node offsets stay below kRegProgramSizeLimit, so these never name a node.
constexpr std::uint16_t kCountTag = 0xFFFE;       // in `node`: the count a repetition tries
constexpr std::uint16_t kRepetitionTag = 0xFFFF;  // in `aux`: a repetition's frame

constexpr const char* kOutOfMemory = "search needs more than 64 MB";
// Backtracking steps before a search starts remembering failed states.
constexpr std::int64_t kStepsBeforeMemo = 1024;
// Frames a search keeps allocated for the next one.
constexpr std::size_t kKeptFrames = 16384;

char LookaheadOf(const std::uint8_t* next) {
  return next != nullptr && Is(next, RegNode::Literal) ? static_cast<char>(next[kRegNodeHeadSize])
                                                       : '\0';
}

std::uint32_t MinimumOf(const std::uint8_t* node) {
  return Is(node, RegNode::StarSimple) ? 0 : 1;
}

}  // namespace

int RegMatcher::Execute(RegProgram* program, const char* text) {
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
  if (program->foldedText != nullptr &&
      !RegLiteralFinder(program->foldedText, true).FoundIn(std::string_view(text))) {
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

int RegMatcher::Search(RegProgram& program, const char* text) {
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
  if (program.hasStartBytes)
    return SearchFromStartBytes(program, text);
  for (const char* start = text;; ++start) {
    if (Attempt(program, start))
      return 1;
    if (aborted_ || *start == '\0' || program.singleAttempt)
      return 0;
  }
}

// Every match begins with one of the start bytes, never the zero byte, so only their places
// are tried, in order.
int RegMatcher::SearchFromStartBytes(RegProgram& program, const char* text) {
  const auto starts = [&program](char c) {
    const auto byte = static_cast<std::uint8_t>(c);
    return (program.startBytes[byte / 8] >> (byte % 8) & 1) != 0;
  };
  for (const char* start = text; *start != '\0'; ++start) {
    if (!starts(*start))
      continue;
    if (Attempt(program, start))
      return 1;
    if (aborted_)
      return 0;
  }
  return 0;
}

void RegMatcher::ClearGroups() {
  for (int slot = 0; slot < kRegGroupSlots; ++slot) {
    groupStarts_[slot] = nullptr;
    groupEnds_[slot] = nullptr;
  }
}

// The memo lasts for one search only: its states are facts about this text. A search that
// needed much memory gives it back, so that an idle expression holds little.
void RegMatcher::ReleaseLargeState() {
  memo_.Stop();
  if (stack_.capacity() > kKeptFrames)
    std::vector<Frame>().swap(stack_);
}

// Slots are only set once an attempt succeeded, so a failed attempt leaves them as it found
// them: none.
bool RegMatcher::Attempt(RegProgram& program, const char* start) {
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
void RegMatcher::SetGroupsFromPath(const char* start) {
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

bool RegMatcher::Abort(const char* message) {
  if (!aborted_) {
    aborted_ = true;
    lastError_ = message;
  }
  return false;
}

// The successor through the next link; none when there is no link or it leads out of the
// program.
const std::uint8_t* RegMatcher::Next(const std::uint8_t* node) const {
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
bool RegMatcher::Walk(const std::uint8_t* node) {
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
bool RegMatcher::Backtrack(const std::uint8_t*& resume) {
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
const std::uint8_t* RegMatcher::ViableAlternative(const std::uint8_t* node) const {
  while (node != nullptr && Is(node, RegNode::Alternative) && !MayStartHere(RegOperand(node)))
    node = Next(node);
  return node != nullptr && Is(node, RegNode::Alternative) ? node : nullptr;
}

// Whether a branch may match at the current position: false only for one whose first test of a
// character (after group openings and inside a branch without alternatives) fails here, which
// would fail at once. The walk goes forward only, so it ends.
bool RegMatcher::MayStartHere(const std::uint8_t* branch) const {
  const char c = *inputPos_;
  for (const std::uint8_t* node = branch; node != nullptr && node - codeBegin_ < codeSize_;) {
    if (Is(node, RegNode::Literal))
      return node[kRegNodeHeadSize] == c;
    if (IsSimpleNode(node))
      return TakesOne(node, c);
    if (Is(node, RegNode::PlusSimple) && IsSimpleNode(RegOperand(node)))
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
const std::uint8_t* RegMatcher::EnterAlternatives(const std::uint8_t* node) {
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
bool RegMatcher::EnterRepetition(const std::uint8_t* node, const std::uint8_t* next) {
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
bool RegMatcher::RetryRepetition(const std::uint8_t*& resume) {
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

bool RegMatcher::KnownToFail(std::uint32_t node, std::uint32_t position) {
  return memo_.active() && memo_.Failed(node, position);
}

bool RegMatcher::NoteFailure(std::uint32_t node, std::uint32_t position) {
  if (!memo_.active())
    return true;
  const std::size_t stackBytes = stack_.capacity() * sizeof(Frame);
  if (!memo_.Record(node, position, kSearchMemoryLimit - stackBytes))
    return Abort(kOutOfMemory);
  return true;
}

// Searches that settle within a few hundred steps, as nearly all do, never pay for the memo.
void RegMatcher::StartMemo() {
  textLength_ = std::strlen(textStart_);
  memo_.Start(static_cast<std::int32_t>(codeSize_), textLength_);
}

bool RegMatcher::Push(Frame frame) {
  if (static_cast<std::uint64_t>(inputPos_ - textStart_) > UINT32_MAX)
    return Abort("text too long");
  if (stack_.size() == stack_.capacity() && !GrowStack())
    return false;
  stack_.push_back(frame);
  return true;
}

bool RegMatcher::GrowStack() {
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
bool RegMatcher::StepNode(const std::uint8_t* node) {
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

std::ptrdiff_t RegMatcher::CountRepetitions(const std::uint8_t* operand) {
  const char* end = EndOfRun(operand, inputPos_);
  if (end == nullptr) {
    lastError_ = "internal foulup";
    return 0;
  }
  const std::ptrdiff_t count = end - inputPos_;
  inputPos_ = end;
  return count;
}

}  // namespace brontel
