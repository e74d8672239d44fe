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

bool MsgTypeMatcherInfo::MatchesLine(MatchSubject& subject) {
  // Someone replaced `compiled` behind CompileExprs' back: run every expression as it is.
  const bool haveRejects = rejects_.size() == compiled.size();
  for (std::size_t i = 0; i < compiled.size(); ++i) {
    RegExpr& expr = *compiled[i];
    if (haveRejects ? rejects_[i].Rejects(subject.Line()) : expr.program() == nullptr)
      continue;
    if (expr.Execute(expr.program(), subject.Text()) != 0)
      return true;
  }
  return false;
}

bool MsgTypeMatcherInfo::MatchesLine(std::string_view line) {
  std::string buffer;
  MatchSubject subject(line, buffer);
  return MatchesLine(subject);
}

void MsgTypeMatcherInfo::DeriveQuickRejects() {
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

// For a program anchored at the start of the text whose first node after "^" is a literal:
// that literal, which every matching line starts with. Empty otherwise.
std::string_view AnchoredPrefix(const RegProgram& program) {
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
  if (second == nullptr || second[0] != RegCode(RegNode::Literal))
    return {};
  // The guard bytes after the program end every operand string inside the block.
  return reinterpret_cast<const char*>(RegOperand(second));
}

std::string_view TextOrEmpty(const char* text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

}  // namespace

MsgTypeMatcherInfo::QuickReject MsgTypeMatcherInfo::QuickRejectFor(const RegExpr& expr) {
  QuickReject reject;
  const RegProgram* program = expr.program();
  if (program == nullptr) {
    reject.neverMatches = true;
    return reject;
  }
  reject.firstChar = static_cast<char>(program->firstChar);
  reject.prefix = AnchoredPrefix(*program);
  reject.required1 = TextOrEmpty(program->mustText);
  reject.required2 = TextOrEmpty(program->requiredText);
  return reject;
}

// Each test mirrors a rejection the engine makes itself, so skipping the search never changes
// an answer; it only saves copying the line and starting the engine.
bool MsgTypeMatcherInfo::QuickReject::Rejects(std::string_view line) const {
  if (neverMatches)
    return true;
  if (firstChar != 0 && line.find(firstChar) == std::string_view::npos)
    return true;
  if (!prefix.empty() && !line.starts_with(prefix))
    return true;
  if (!required1.empty() && line.find(required1) == std::string_view::npos)
    return true;
  return !required2.empty() && line.find(required2) == std::string_view::npos;
}

}  // namespace brontel
