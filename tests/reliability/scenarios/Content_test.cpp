#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/reliability/support/ScenarioFixture.h"

namespace brontel::reliability {
namespace {

using namespace std::string_literals;

struct Content {
  const char* name;
  std::string bytes;
};

class ContentTest : public ScenarioFixture, public ::testing::WithParamInterface<Content> {
 protected:
  // Searching the view must answer, whatever the text holds.
  void SearchEverywhere() {
    for (const char* pattern : {"E", "\x1A", "\xC3", "Lines:"}) {
      for (const int flags : {0, 2, 4, 8, 14})
        form->FindText(pattern, 0, flags);
    }
    EXPECT_GT(form->GetTextLength(), 0);
  }
};

// Each content is written in three parts, with reloads in between, and must be shown exactly.
TEST_P(ContentTest, IsShownExactlyAsTheBytesSayAndCanBeSearched) {
  const std::string& bytes = GetParam().bytes;
  OpenViewer();
  RunChecked(200);
  for (std::size_t part = 0; part < 3; ++part) {
    writer.Append(bytes.substr(part * bytes.size() / 3, bytes.size() / 3 + (part == 2 ? 3 : 0)));
    form->CheckFileChanged();
    RunChecked(500);
    SearchEverywhere();
  }
  writer.Append("\nE   after the odd content\n");
  form->CheckFileChanged();
  RunChecked(500);
  SettleAndCheck();
  if (bytes.find('\x1A') == std::string::npos) {
    EXPECT_TRUE(form->viewerState().history.Contains("E   after the odd content"));
  }
}

std::string Repeated(const std::string& piece, std::size_t size) {
  std::string text;
  while (text.size() < size)
    text += piece;
  text.resize(size);
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    OddBytes, ContentTest,
    ::testing::Values(
        Content{"TenMegabyteLineWithoutLineEnd", Repeated("E   no end in sight ", 10 << 20)},
        Content{"NulBytes", Repeated("E   before\0after\nW   \0\0\0\n\0\0\0\0\n"s, 30000)},
        Content{"CarriageReturnOnly", Repeated("E   one\rW   two\rplain\r\r", 30000)},
        Content{"CtrlZInTheMiddle", "E   visible\nplain\n\x1A" + Repeated("U   hidden\n", 300)},
        Content{"InvalidUtf8",
                Repeated("E   \xC3\x28 \xFF\xFE \xE2\x82 \xF0\x9F\x98\nplain \xC0\xAF\n", 40000)}),
    [](const ::testing::TestParamInfo<Content>& info) { return std::string(info.param.name); });

using LongLineTest = ScenarioFixture;

TEST_F(LongLineTest, TenMegabyteLineIsCutIntoBufferSizedPiecesWithTheLargestBuffer) {
  SetBufferIndex(6);
  OpenViewer();
  writer.Append(Repeated("x", 10 << 20));
  form->CheckFileChanged();
  RunChecked(500);
  SettleAndCheck();
  EXPECT_EQ(ShownTailLines(*form).size(), 2u);  // 1048575 bytes, then one byte
}

TEST_F(LongLineTest, FileOfFiveGigabytesShowsItsTrueEnd) {
  writer.Append("E   at the very start\n");
  std::filesystem::resize_file(logPath, 5ull << 30);  // sparse: costs no disk
  const std::string end = "plain\nE   at the end\n";
  folder.Append(logPath, end);
  OpenViewer();
  ASSERT_TRUE(harness.PumpUntilReload(*form));
  EXPECT_TRUE(ViewMatchesFile(*form, FileTail(logPath, form->viewerState().bufferSize)));
  EXPECT_EQ(ShownTailLines(*form).back(), "E   at the end");
  EXPECT_EQ(form->viewerState().currentInfo.Size(), (5ull << 30) + end.size());
}

TEST_F(LongLineTest, CompleteLoadWhileTheWriterAppendsAndCutsShowsOneVersionOfTheFile) {
  for (int i = 0; i < 3000; ++i)
    writer.AppendNextLine();
  writer.Start(3000);
  OpenViewer();
  RunChecked(500);
  for (int round = 0; round < 6; ++round) {
    if (round % 2 == 1)
      writer.TruncateTo(writer.Size() / 2);
    form->controls().chkComplete.SetChecked(true);
    // Whatever moment the read saw, the complete view holds only whole lines of the log that
    // were there (the last perhaps cut), and its history only lines of the counted types.
    const LineHistory& history = form->viewerState().history;
    for (std::size_t i = 0; i < history.Count(); ++i) {
      const int type = form->messageTypes().FindMsgType(history.Line(i));
      EXPECT_TRUE(type >= 0 && type < kCountedMsgTypes) << history.Line(i);
    }
    EXPECT_GT(form->editor().LineCount(), 100u);
    // The complete load rebuilds the history from the file as it is: lines cut off are gone.
    witness = HistoryWitness();
    form->controls().chkActive.SetChecked(true);
    RunChecked(1000);
  }
  SettleAndCheck();
}

}  // namespace
}  // namespace brontel::reliability
