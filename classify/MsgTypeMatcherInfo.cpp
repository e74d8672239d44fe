#include "classify/MsgTypeMatcherInfo.h"

#include <cstring>

#include "regex/RegProgram.h"

namespace brontel {

const char* MatchSubject::Text() {
  if (!copied_) {
    buffer_.assign(line_);
    copied_ = true;
  }
  return buffer_.c_str();
}

MsgTypeMatcherInfo::MsgTypeMatcherInfo(const MsgTypeMatcherInfo& other)
    : exprTexts(other.exprTexts),
      typeNo(other.typeNo),
      color(other.color),
      count(other.count),
      name(other.name),
      shortName(other.shortName) {
  CompileExprs();
}

MsgTypeMatcherInfo& MsgTypeMatcherInfo::operator=(const MsgTypeMatcherInfo& other) {
  if (this != &other) {
    MsgTypeMatcherInfo copy(other);
    *this = std::move(copy);
  }
  return *this;
}

void MsgTypeMatcherInfo::AddExpr(std::string_view text) {
  exprTexts.emplace_back(text);
}

void MsgTypeMatcherInfo::CompileExprs() {
  compiled.clear();
  compiled.reserve(exprTexts.size());
  for (const std::string& text : exprTexts)
    compiled.push_back(std::make_unique<RegExpr>(text));
  DeriveQuickRejects();
}

// Each test checks something that every match must hold, so skipping the search never changes
// an answer; it only saves copying the line and starting the engine. Cheapest tests first.
bool MsgTypeMatcherInfo::QuickReject::Rejects(std::string_view line) const {
  if (neverMatches)
    return true;
  // The first byte settles nearly every line without a library call.
  if (!prefix.empty() && (line.empty() || line[0] != prefix[0] || !line.starts_with(prefix)))
    return true;
  if (!firstSet.empty() && (line.empty() || firstSet.find(line[0]) == std::string_view::npos))
    return true;
  if (testFirstChar && line.find(firstChar) == std::string_view::npos)
    return true;
  if (!required1.FoundIn(line))
    return true;
  if (testRequired2 && !required2.FoundIn(line))
    return true;
  return !folded.FoundIn(line);
}

// The texts Rejects searches for, in its order; their count.
int MsgTypeMatcherInfo::QuickReject::SearchedTexts(const RegLiteralFinder* (&searched)[3]) const {
  int count = 0;
  if (!required1.literal().empty())
    searched[count++] = &required1;
  if (testRequired2 && !required2.literal().empty())
    searched[count++] = &required2;
  if (!folded.literal().empty())
    searched[count++] = &folded;
  return count;
}

bool MsgTypeMatcherInfo::MatchesLine(MatchSubject& subject) {
  // Someone replaced `compiled` behind CompileExprs' back: run every expression as it is.
  const bool haveRejects = rejects_.size() == compiled.size();
  for (std::size_t i = 0; i < compiled.size(); ++i) {
    RegExpr& expr = *compiled[i];
    if (haveRejects ? rejects_[i].RejectsQuickly(subject.Line()) : expr.program() == nullptr)
      continue;
    if (expr.Execute(expr.program(), subject.Text()) != 0)
      return true;
  }
  return false;
}

// A loop of its own, so that the types that share nothing pay nothing for it.
bool MsgTypeMatcherInfo::MatchesLineSharing(MatchSubject& subject) {
  if (sharedTexts_ == nullptr || subject.SharedTexts() != sharedTexts_ ||
      rejects_.size() != compiled.size())
    return MatchesLine(subject);
  for (std::size_t i = 0; i < compiled.size(); ++i) {
    if (Rejects(i, subject, true))
      continue;
    RegExpr& expr = *compiled[i];
    if (expr.Execute(expr.program(), subject.Text()) != 0)
      return true;
  }
  return false;
}

bool MsgTypeMatcherInfo::ExprMatches(std::size_t expr, MatchSubject& subject) {
  RegExpr& compiledExpr = *compiled[expr];
  const bool haveRejects = rejects_.size() == compiled.size();
  const bool shared = sharedTexts_ != nullptr && subject.SharedTexts() == sharedTexts_;
  if (haveRejects ? Rejects(expr, subject, shared) : compiledExpr.program() == nullptr)
    return false;
  return compiledExpr.Execute(compiledExpr.program(), subject.Text()) != 0;
}

void MsgTypeMatcherInfo::ShareSearches(RegLiteralSet* texts) {
  sharedTexts_ = texts;
  sharedNeeds_.assign(rejects_.size(), 0);
  if (texts == nullptr)
    return;
  for (std::size_t i = 0; i < rejects_.size(); ++i)
    sharedNeeds_[i] = SharedNeedsOf(rejects_[i], *texts);
}

// Only an expression whose quick rejection is its searches alone hands them over: one that
// looks at the line's start first rejects nearly every line without a search, and a scan of
// the line for its texts would cost more than the searches it then seldom makes. 0 where the
// expression keeps its tests.
std::uint64_t MsgTypeMatcherInfo::SharedNeedsOf(const QuickReject& reject, RegLiteralSet& texts) {
  if (reject.neverMatches || !reject.prefix.empty() || !reject.firstSet.empty() ||
      reject.testFirstChar)
    return 0;
  const RegLiteralFinder* searched[3] = {};
  const int count = reject.SearchedTexts(searched);
  std::uint64_t needs = 0;
  for (int i = 0; i < count; ++i) {
    const std::size_t index = texts.Add(searched[i]->literal(), searched[i]->ignoresCase());
    if (index == RegLiteralSet::kNone)
      return 0;
    needs |= std::uint64_t{1} << index;
  }
  return needs;
}

MsgTypeMatcherInfo::LineNeeds MsgTypeMatcherInfo::NeedsOf(std::size_t expr) const {
  LineNeeds needs;
  if (rejects_.size() != compiled.size()) {
    needs.never = compiled[expr]->program() == nullptr;
    return needs;
  }
  const QuickReject& reject = rejects_[expr];
  needs.never = reject.neverMatches;
  needs.prefix = reject.prefix;
  needs.firstSet = reject.firstSet;
  if (reject.firstChar != 0)
    needs.texts[0] = std::string_view(reject.firstText, 1);
  needs.texts[1] = reject.required1.literal();
  needs.texts[2] = reject.required2.literal();
  return needs;
}

bool MsgTypeMatcherInfo::MatchesLine(std::string_view line) {
  std::string buffer;
  MatchSubject subject(line, buffer);
  return MatchesLine(subject);
}

void MsgTypeMatcherInfo::DeriveQuickRejects() {
  sharedTexts_ = nullptr;
  sharedNeeds_.clear();
  rejects_.clear();
  rejects_.reserve(compiled.size());
  for (const std::unique_ptr<RegExpr>& expr : compiled)
    rejects_.push_back(QuickRejectFor(*expr));
}

namespace {

// The node a forward next link leads to, or null when there is none or it leaves the program.
const std::uint8_t* ForwardNext(const RegProgram& program, const std::uint8_t* node) {
  const std::uint16_t offset = RegNextOffset(node);
  if (offset == 0 || node[0] == RegCode(RegNode::LoopBack))
    return nullptr;
  const std::ptrdiff_t at = (node - program.code()) + offset;
  if (at + kRegNodeHeadSize > program.codeSize)
    return nullptr;
  return program.code() + at;
}

// What every line matched by an anchored program starts with, from the node after "^".
struct AnchoredStart {
  std::string_view prefix;    // a literal: the line starts with it
  std::string_view firstSet;  // a set: the line's first character is one of these
};

AnchoredStart AnchoredStartOf(const RegProgram& program) {
  if (program.anchored == 0 || program.codeSize < 1 + 2 * kRegNodeHeadSize)
    return {};
  const std::uint8_t* top = program.code() + 1;
  const std::uint8_t* afterTop = ForwardNext(program, top);
  if (afterTop == nullptr || afterTop[0] != RegCode(RegNode::End))
    return {};
  const std::uint8_t* first = RegOperand(top);
  if (first[0] != RegCode(RegNode::LineStart))
    return {};
  const std::uint8_t* second = ForwardNext(program, first);
  if (second == nullptr)
    return {};
  // The guard bytes after the program end every operand string inside the block.
  const char* operand = reinterpret_cast<const char*>(RegOperand(second));
  if (second[0] == RegCode(RegNode::Literal))
    return {operand, {}};
  if (second[0] == RegCode(RegNode::InSet))
    return {{}, operand};
  return {};
}

std::string_view TextOrEmpty(const char* text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

}  // namespace

// Most expressions need only one text searched: theirs takes the short way in MatchesLine.
void MsgTypeMatcherInfo::NoteSoleSearch(QuickReject& reject) {
  if (reject.neverMatches || !reject.prefix.empty() || !reject.firstSet.empty() ||
      reject.testFirstChar)
    return;
  const RegLiteralFinder* searched[3] = {};
  if (reject.SearchedTexts(searched) != 1)
    return;
  reject.sole = *searched[0];
  reject.soleSearch = true;
}

MsgTypeMatcherInfo::QuickReject MsgTypeMatcherInfo::QuickRejectFor(const RegExpr& expr) {
  QuickReject reject;
  const RegProgram* program = expr.program();
  if (program == nullptr) {
    reject.neverMatches = true;
    return reject;
  }
  reject.firstChar = static_cast<char>(program->firstChar);
  reject.firstText[0] = reject.firstChar;
  const AnchoredStart start = AnchoredStartOf(*program);
  reject.prefix = start.prefix;
  reject.firstSet = start.firstSet;
  reject.required1 = RegLiteralFinder(TextOrEmpty(program->mustText));
  reject.required2 = RegLiteralFinder(TextOrEmpty(program->requiredText));
  reject.folded = RegLiteralFinder(TextOrEmpty(program->foldedText), true);
  reject.testRequired2 = reject.required2.literal().size() >= reject.folded.literal().size();
  // One character rejects little beside a text that is searched anyway (mostly the first
  // literal is that text): it is tested only where no text is.
  const bool searchesText = !reject.required1.literal().empty() ||
                            (reject.testRequired2 && !reject.required2.literal().empty()) ||
                            !reject.folded.literal().empty();
  reject.testFirstChar = reject.firstChar != 0 && !searchesText;
  NoteSoleSearch(reject);
  return reject;
}

}  // namespace brontel
