/** @file MsgTypeLoader.h: the built-in message types and the loading of the configured ones. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classify/MsgTypeMatcherInfo.h"
#include "settings/ExtManager.h"

namespace brontel {

// Guards against a corrupt settings file: "MsgTypes\Count" and each "\ExprCount" are honoured
// up to these numbers only, and once kMaxConfiguredExprs expressions have been read in all,
// later types get none, so that absurd values cannot keep the viewer reading for hours (every
// read scans the file).
inline constexpr std::int32_t kMaxConfiguredMsgTypes = 4096;
inline constexpr std::int32_t kMaxExprsPerMsgType = 4096;
inline constexpr std::int32_t kMaxConfiguredExprs = 4096;

// The four built-in types Error, Warning, Urgent and Summary (type numbers 0..3), compiled.
std::vector<MsgTypeMatcherInfo> BuiltinMsgTypes();

// The built-in Summary type, which also closes every configured list, with `typeNo`.
MsgTypeMatcherInfo SummaryMsgType(std::int32_t typeNo);

// Appends the message types of the settings store to `types` (normally empty):
// - "MsgTypes\Count" below 1 (or absent): the built-in types;
// - otherwise each non-empty item "MsgTypes\Item" + i, i = 0 .. Count-1, read from its section
//   "MsgTypes." + item (Name, ShortName, ForeColor, BackColor, Style, ExprCount, Expr + j), with
//   `typeNo` = i, followed by the Summary type with `typeNo` = Count.
// Defaults of an item: colours "clWindowText" on "clWindow", style "1" (bold), no expressions.
// A colour text that is neither a colour name nor an integer gives that key's default colour,
// and loading goes on: one typo never drops the rest of the list or the Summary type.
// Reads only; never writes the store. Throws only what the store throws.
void LoadMsgTypes(ExtManager& store, std::vector<MsgTypeMatcherInfo>& types);

// What is wrong with the first expression of `types` that did not compile, such as "the
// expression (( of Error does not compile: ...", or empty when every one compiled. Such an
// expression stays in its type and never matches; this is how the user hears of it.
std::string MsgTypesProblem(const std::vector<MsgTypeMatcherInfo>& types);

}  // namespace brontel
