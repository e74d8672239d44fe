/** @file RegCompiler.h: turns a pattern into the program RegMatcher runs. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "regex/RegProgram.h"

namespace brontel {

// Compiles one pattern (the syntax is described in RegExpr.h) in two passes of the same parser:
// a size pass that only counts bytes, so that the program is allocated once at its exact size,
// and an emit pass that writes them. Then it notes in the header the facts that let a search
// reject a text or stop early. The state is that of one compilation; nothing of it is needed
// once the program is made.
//
// Errors: Compile never throws; a pattern that does not compile gives nullptr, and the reason
// replaces the text of the string given at construction.
class RegCompiler {
 public:
  // `lastError` receives the errors; it must outlive the compiler.
  explicit RegCompiler(std::string& lastError) : lastError_(lastError) {}
  RegCompiler(const RegCompiler&) = delete;
  RegCompiler& operator=(const RegCompiler&) = delete;

  // The program of `pattern`, read up to its first zero byte; nullptr is "NULL argument".
  RegProgram::Owner Compile(const char* pattern);

 private:
  bool RunPass(const char* pattern, std::uint8_t* start, int& flags);
  void CollectHeaderFacts(RegProgram& program, int topFlags);
  void CollectSearchShortcuts(RegProgram& program);
  void CollectFoldedText(RegProgram& program);
  const char* FoldedGroupText(std::uint8_t* groupOpen);
  void CollectStartBytes(RegProgram& program);
  bool AddStartBytes(std::uint8_t* node, std::uint8_t (&bytes)[32], int depth);
  std::uint8_t* ParseExpression(bool group, int& flags);
  std::uint8_t* ParseBranch(int& flags);
  std::uint8_t* ParsePiece(int& flags);
  std::uint8_t* ParseAtom(int& flags);
  std::uint8_t* ParseSet();
  std::uint8_t* ParseLiteralRun(int& flags);
  void BuildRepetition(char op, std::uint8_t* operand, int operandFlags);
  bool InSizePass() const { return emitPos_ == &sizeSink_; }
  std::uint8_t* EmitNode(RegNode node) { return EmitNode(RegCode(node)); }
  std::uint8_t* EmitNode(std::uint8_t code);
  void EmitByte(std::uint8_t byte);
  void InsertNode(RegNode node, std::uint8_t* operand);
  void LinkChain(std::uint8_t* chain, const std::uint8_t* target);
  void LinkOperand(std::uint8_t* node, const std::uint8_t* target);
  std::uint8_t* Next(std::uint8_t* node) const;
  std::nullptr_t Fail(const char* message);

  std::string& lastError_;
  const char* parsePos_ = nullptr;
  std::int32_t nextGroup_ = 1;
  // Its address marks the size pass: while emitPos_ points here bytes are counted, not stored.
  std::uint8_t sizeSink_ = 0;
  std::uint8_t* emitPos_ = nullptr;
  std::int32_t programSize_ = 0;
};

}  // namespace brontel
