#include "ui/LineStore.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::ui {
namespace {

TEST(LineStoreTest, JoinsEveryLineWithCrLfIncludingTheLast) {
  LineStore store;
  const std::vector<std::string> lines = {"ab", "c"};
  store.Assign(lines);
  EXPECT_EQ(store.TextLength(), 7u);
  EXPECT_EQ(store.Text(), "ab\r\nc\r\n");
  EXPECT_EQ(store.Line(0), "ab");
  EXPECT_EQ(store.Line(1), "c");
  EXPECT_EQ(store.LineStart(1), 4u);
  EXPECT_EQ(store.LineStart(2), 7u);  // one past the last line is the text's end
}

TEST(LineStoreTest, EmptyLinesAndEmptyStore) {
  LineStore store;
  EXPECT_TRUE(store.Empty());
  EXPECT_EQ(store.Text(), "");
  store.Add("");
  store.Add("");
  EXPECT_EQ(store.Count(), 2u);
  EXPECT_EQ(store.Text(), "\r\n\r\n");
  EXPECT_EQ(store.Line(1), "");
  store.Clear();
  EXPECT_TRUE(store.Empty());
  EXPECT_EQ(store.TextLength(), 0u);
}

TEST(LineStoreTest, EachTabBecomesThreeBlanksWhateverItsColumn) {
  LineStore store;
  store.Add("E\ttext");
  store.Add("ab\t\tc\t");
  EXPECT_EQ(store.Line(0), "E   text");
  EXPECT_EQ(store.Line(1), "ab      c   ");
  EXPECT_EQ(store.MaxLineLength(), 12u);
  EXPECT_EQ(LineStore::ExpandedLength("\t\t"), 6u);
  const std::vector<std::string_view> views = {"|\tx"};
  store.Assign(views);
  EXPECT_EQ(store.Text(), "|   x\r\n");
}

TEST(LineStoreTest, OffsetsMapToTheLineHoldingThem) {
  LineStore store;
  const std::vector<std::string> lines = {"ab", "", "cde"};
  store.Assign(lines);  // "ab\r\n" 0..3, "\r\n" 4..5, "cde\r\n" 6..10
  EXPECT_EQ(store.LineOf(0), 0u);
  EXPECT_EQ(store.LineOf(2), 0u);  // the CR of line 0
  EXPECT_EQ(store.LineOf(3), 0u);  // its LF
  EXPECT_EQ(store.LineOf(4), 1u);
  EXPECT_EQ(store.LineOf(5), 1u);
  EXPECT_EQ(store.LineOf(6), 2u);
  EXPECT_EQ(store.LineOf(10), 2u);
  EXPECT_EQ(store.LineOf(11), 2u);    // the end of the text
  EXPECT_EQ(store.LineOf(1000), 2u);  // and beyond
}

TEST(LineStoreTest, AssignReplacesAndAddAppends) {
  LineStore store;
  store.Add("old");
  const std::vector<std::string> lines = {"x", "y"};
  store.Assign(lines);
  store.Add("z");
  EXPECT_EQ(store.Text(), "x\r\ny\r\nz\r\n");
  EXPECT_EQ(store.Count(), 3u);
}

TEST(LineStoreTest, ReassigningAViewOfSimilarSizeLeavesNothingOfTheOldOne) {
  LineStore store;
  const std::vector<std::string> first = {"aaaaaaaaaa", "bbbbbbbbbb", "c\tc"};
  const std::vector<std::string> second = {"xyz", "", "0123456789012"};
  store.Assign(first);
  store.Assign(second);
  EXPECT_EQ(store.Text(), "xyz\r\n\r\n0123456789012\r\n");
  EXPECT_EQ(store.Count(), 3u);
  EXPECT_EQ(store.MaxLineLength(), 13u);
  const std::vector<std::string> longer(100, std::string(50, 'q'));
  store.Assign(longer);
  EXPECT_EQ(store.TextLength(), 100u * 52u);
  EXPECT_EQ(store.Line(99), std::string(50, 'q'));
  store.Assign(second);
  EXPECT_EQ(store.Text(), "xyz\r\n\r\n0123456789012\r\n");
}

TEST(LineStoreTest, LinesTakenFromTheStoreItselfSurviveReassignAndAdd) {
  LineStore store;
  const std::vector<std::string> lines = {"first line", "second line"};
  store.Assign(lines);
  const std::vector<std::string_view> own = {store.Line(1), store.Line(0)};
  store.Assign(own);
  EXPECT_EQ(store.Text(), "second line\r\nfirst line\r\n");
  for (int i = 0; i < 50; ++i)
    store.Add(store.Line(0));  // forces the buffer to grow
  EXPECT_EQ(store.Line(50), "second line");
}

TEST(LineStoreTest, SavesTheWholeTextAndReportsAnUnwritablePath) {
  LineStore store;
  store.Add("a\tb");
  store.Add("");
  const testing::ScratchFolder folder;
  store.SaveToFile(folder.File("saved.txt"));
  EXPECT_EQ(folder.Read("saved.txt"), "a   b\r\n\r\n");

  try {
    store.SaveToFile("/nonexistent-dir/brontel/x.txt");
    FAIL() << "writing into a missing directory must fail";
  } catch (const platform::PlatformError& error) {
    EXPECT_EQ(error.path(), "/nonexistent-dir/brontel/x.txt");
    EXPECT_FALSE(error.reason().empty());
  }
}

// Where the lines of a file's text start, and the lines: CR LF, LF or a lone CR end a line.
struct FileLines {
  std::vector<std::size_t> starts;
  std::vector<std::string_view> views;
};

FileLines SplitFileText(std::string_view text) {
  FileLines lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
      ++end;
    lines.starts.push_back(at);
    lines.views.push_back(text.substr(at, end - at));
    at = end + 1;
    if (end < text.size() && text[end] == '\r' && at < text.size() && text[at] == '\n')
      ++at;
  }
  return lines;
}

// Building in place must give exactly the store that assigning the head and the split lines
// gives: every kind of line end, tabs anywhere, text after the end mark, with and without room
// to grow in the text's buffer.
TEST(LineStoreTest, AssignInPlaceEqualsAssigningHeadAndSplitLines) {
  std::mt19937 random(1209);
  const std::vector<std::string> headLines = {"E\thead one", "", "|\tError:1, HistoryCount:2"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const std::size_t length = random() % (round % 10 == 0 ? 3 : 200);
    for (std::size_t i = 0; i < length; ++i)
      text += "abc\t\r\n"[random() % (round % 3 == 0 ? 4 : 6)];
    const std::size_t textEnd = round % 4 == 0 ? text.size() / 2 : text.size();
    const FileLines lines = SplitFileText(std::string_view(text).substr(0, textEnd));
    std::vector<std::string_view> head;
    for (std::size_t i = 0; i < static_cast<std::size_t>(round % 4); ++i)
      head.push_back(headLines[i % headLines.size()]);
    std::vector<std::string_view> all = head;
    all.insert(all.end(), lines.views.begin(), lines.views.end());
    LineStore expected;
    expected.Assign(all);

    std::string buffer = text;
    if (round % 2 == 0)
      buffer.shrink_to_fit();
    else
      buffer.reserve(text.size() * 4);
    LineStore store;
    store.Add("old line");
    store.AssignInPlace(head, std::move(buffer), textEnd, std::vector<std::size_t>(lines.starts));
    ASSERT_EQ(store.Text(), expected.Text()) << "round " << round;
    ASSERT_EQ(store.Count(), expected.Count());
    for (std::size_t i = 0; i < store.Count(); ++i)
      ASSERT_EQ(store.LineStart(i), expected.LineStart(i));
    ASSERT_EQ(store.MaxLineLength(), expected.MaxLineLength());
  }
}

// The lines a scan found come with tab hints, which spare most lines a search for tabs: the
// store must still be exactly the one assigning the head and the split lines gives, for tabs
// at a line's start, end and middle, one or several, and lines spanning the scan's blocks.
TEST(LineStoreTest, AssignInPlaceOfScannedLinesEqualsAssigningHeadAndSplitLines) {
  std::mt19937 random(1210);
  const std::vector<std::string_view> head = {"E\thead", "|\tError:1, HistoryCount:1"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const std::size_t length = random() % 600;
    for (std::size_t i = 0; i < length; ++i)
      text += "abcdefgh\t\r\n"[random() % (round % 3 == 0 ? 9 : 11)];
    if (round % 5 == 0 && !text.empty())
      text[random() % text.size()] = '\0';
    const std::string_view file(text);
    std::vector<std::string_view> all(head.begin(), head.begin() + round % 3);
    const auto split = SplitFileText(file);
    all.insert(all.end(), split.views.begin(), split.views.end());
    LineStore expected;
    expected.Assign(all);

    std::string buffer = text;
    ui::FileLines lines = ScanFileLines(buffer);  // not this file's FileLines
    LineStore store;
    const auto heads = static_cast<std::size_t>(round % 3);
    store.AssignInPlace(std::span(head.data(), heads), std::move(buffer), std::move(lines));
    ASSERT_EQ(store.Text(), expected.Text()) << "round " << round;
    ASSERT_EQ(store.Count(), expected.Count());
    for (std::size_t i = 0; i < store.Count(); ++i)
      ASSERT_EQ(store.LineStart(i), expected.LineStart(i));
    ASSERT_EQ(store.MaxLineLength(), expected.MaxLineLength());
  }
}

// Edits (lines dropped at the top, kept, replaced around a kept run) must leave exactly the
// store that assigning the resulting lines at once gives, also once the dropped lines' bytes are
// cut off the buffer's front or the buffer grows.
TEST(LineStoreTest, EditedStoreEqualsOneAssignedTheResultingLines) {
  std::mt19937 random(1211);
  const auto newLine = [&] {
    std::string line(random() % (random() % 20 == 0 ? 300 : 30), 'a');
    for (char& c : line)
      c = "abc\t "[random() % 5];
    return line;
  };
  const auto newLines = [&](std::vector<std::string>& lines) {
    lines.clear();
    for (std::size_t n = random() % 6; n-- > 0;)
      lines.push_back(newLine());
    return std::vector<std::string_view>(lines.begin(), lines.end());
  };
  std::vector<std::string> model(20000, std::string(100, 'm'));
  LineStore store;
  store.Assign(model);
  std::vector<std::string> before, after;
  for (int step = 0; step < 400; ++step) {
    LineEdit edit;
    // The first step drops most of the 2 MB: the dropped bytes are then cut off the front.
    edit.dropFront = step == 0 ? 19900 : random() % (model.size() / 8 + 2);
    const std::size_t left = model.size() - std::min(edit.dropFront, model.size());
    edit.keep = random() % (left + 1);
    edit.runFirst = edit.keep + random() % (left - edit.keep + 1);
    edit.runCount = random() % (left - edit.runFirst + 1);
    const std::vector<std::string_view> first = newLines(before);
    const std::vector<std::string_view> last = newLines(after);
    edit.before = first;
    edit.after = last;
    store.Edit(edit);

    std::vector<std::string> expected(model.begin() + std::min(edit.dropFront, model.size()),
                                      model.end());
    const auto run = expected.begin() + static_cast<std::ptrdiff_t>(edit.runFirst);
    std::vector<std::string> edited(expected.begin(),
                                    expected.begin() + static_cast<std::ptrdiff_t>(edit.keep));
    edited.insert(edited.end(), before.begin(), before.end());
    if (edit.runCount > 0)
      edited.insert(edited.end(), run, run + static_cast<std::ptrdiff_t>(edit.runCount));
    edited.insert(edited.end(), after.begin(), after.end());
    model = edited;
    LineStore fresh;
    fresh.Assign(model);
    ASSERT_EQ(store.Text(), fresh.Text()) << "step " << step;
    ASSERT_EQ(store.Count(), fresh.Count());
    ASSERT_EQ(store.MaxLineLength(), fresh.MaxLineLength()) << "step " << step;
    for (std::size_t i = 0; i < store.Count(); ++i)
      ASSERT_EQ(store.Line(i), fresh.Line(i));
    if (!store.Empty()) {
      const std::size_t offset = random() % (store.TextLength() + 2);
      ASSERT_EQ(store.LineOf(offset), fresh.LineOf(offset));
    }
  }
}

// A kept run moved behind many new lines: the line starts grow past what they had room for
// while the run is copied (a fault here shows under the address sanitizer).
TEST(LineStoreTest, AnEditThatGrowsTheStoreKeepsItsRunIntact) {
  LineStore store;
  store.Assign(std::vector<std::string>{"first", "run one", "run two"});
  const std::vector<std::string> texts(300, "new");
  const std::vector<std::string_view> before(texts.begin(), texts.end());
  LineEdit edit;
  edit.keep = 1;
  edit.before = before;
  edit.runFirst = 1;
  edit.runCount = 2;
  store.Edit(edit);
  ASSERT_EQ(store.Count(), 303u);
  EXPECT_EQ(store.Line(0), "first");
  EXPECT_EQ(store.Line(300), "new");
  EXPECT_EQ(store.Line(301), "run one");
  EXPECT_EQ(store.Line(302), "run two");
}

}  // namespace
}  // namespace brontel::ui
