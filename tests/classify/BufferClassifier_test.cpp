#include "classify/BufferClassifier.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/MemorySettings.h"

namespace brontel {
namespace {

using testing::MemorySettings;

// A buffer of lines built from fragments the expressions below look for, so that needed texts
// fall inside lines, across line ends and at the buffer's end.
std::string MakeBuffer(unsigned seed, std::size_t lines) {
  static const char* const kPieces[] = {"E   ", "E\t", "W\t", "U\t",  "|\t",   "FAILED", "FAIL",
                                        "ED",   "x",   "ab",  " ",    "[1]",   "E",      "\t",
                                        "A ",   "B-",  "zzz", "|   ", "FAILE", "D ok"};
  std::mt19937 random(seed);
  std::string text;
  for (std::size_t i = 0; i < lines; ++i) {
    const int pieces = static_cast<int>(random() % 5);
    for (int p = 0; p < pieces; ++p)
      text += kPieces[random() % std::size(kPieces)];
    if (i + 1 < lines)
      text += '\n';
  }
  return text;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void ExpectSameAnswers(MemorySettings& store, unsigned seed) {
  const std::string text = MakeBuffer(seed, 4000);
  LineClassifier single(store);
  LineClassifier batch(store);
  BufferClassifier buffer(batch, text);
  for (const std::string_view line : Lines(text)) {
    ASSERT_EQ(buffer.CountLine(line), single.CountLine(line)) << '"' << line << '"';
    ASSERT_EQ(buffer.FindMsgType(line), single.FindMsgType(line)) << '"' << line << '"';
  }
  EXPECT_EQ(batch.MsgTypeCountsText(), single.MsgTypeCountsText());
}

TEST(BufferClassifier, BuiltInTypesAnswerAsLineByLine) {
  MemorySettings store;
  ExpectSameAnswers(store, 1);
}

void AddType(MemorySettings& store, int item, const std::vector<std::string>& exprs) {
  const std::string name = "T" + std::to_string(item);
  const std::string section = "MsgTypes." + name + "\\";
  store.values["MsgTypes\\Item" + std::to_string(item)] = name;
  store.values[section + "Name"] = name;
  store.values[section + "ExprCount"] = std::to_string(exprs.size());
  for (std::size_t i = 0; i < exprs.size(); ++i)
    store.values[section + "Expr" + std::to_string(i)] = exprs[i];
}

TEST(BufferClassifier, ConfiguredTypesAnswerAsLineByLine) {
  MemorySettings store;
  store.values["MsgTypes\\Count"] = "5";
  AddType(store, 0, {"^[AB][ -]", "(unclosed"});
  AddType(store, 1, {"x.*FAILED", "ab$"});
  AddType(store, 2, {"ED ok", "^E.*D"});
  AddType(store, 3, {"FAIL(ED)?", "[[]1]"});
  AddType(store, 4, {"z+"});
  ExpectSameAnswers(store, 2);
}

TEST(BufferClassifier, MoreExpressionsThanItsTablesHoldAnswerAsLineByLine) {
  MemorySettings store;
  store.values["MsgTypes\\Count"] = "3";
  AddType(store, 0, std::vector<std::string>(70, "^zzzz"));
  AddType(store, 1, {"FAILED"});
  AddType(store, 2, {"^E"});
  ExpectSameAnswers(store, 3);
}

// Needed texts are searched a stretch at a time: occurrences just before, across and after a
// stretch's end, in lines longer than a stretch, must answer as line by line.
TEST(BufferClassifier, NeededTextsAcrossSearchStretchesAnswerAsLineByLine) {
  MemorySettings store;
  std::string text;
  for (int shift = -8; shift <= 8; ++shift) {
    const auto before =
        static_cast<std::size_t>(static_cast<long>(BufferClassifier::kSearchStretch) + shift);
    text += std::string(before, 'x') + "FAILED" + (shift % 2 == 0 ? "y\n" : "\n");
    text += "zFAILEDz\n" + std::string(before, 'q') + "FAIL\nED q\n";
  }
  LineClassifier single(store);
  LineClassifier batch(store);
  BufferClassifier buffer(batch, text);
  for (const std::string_view line : Lines(text))
    ASSERT_EQ(buffer.FindMsgType(line), single.FindMsgType(line)) << line.substr(0, 20);
}

}  // namespace
}  // namespace brontel
