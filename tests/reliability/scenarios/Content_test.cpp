#include <gtest/gtest.h>

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

}  // namespace
}  // namespace brontel::reliability
