#include "platform/WholeFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "platform/MemoryFile.h"
#include "platform/PlatformError.h"
#include "platform/TextFileReader.h"
#include "tests/platform/EndlessFile.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::platform {
namespace {

using Lines = std::vector<std::string>;

TEST(ReadAllOf, ReadsEveryByteAndReservesTheRoomAskedFor) {
  const std::string content(
      "a\r\nb\0c\x1A"
      "d",
      8);
  MemoryFile file(content);
  const std::string text = ReadAllOf(file, 100);
  EXPECT_EQ(text, content);
  EXPECT_GE(text.capacity(), 100u);
}

TEST(ReadAllOf, FileGrowingFasterThanItIsReadEndsTheReadAtTheGrowthLimit) {
  EndlessFile file;
  const std::string text = ReadAllOf(file);
  EXPECT_EQ(text.size(), 100 + kTextFileGrowthLimit);
  EXPECT_EQ(file.BytesRead(), 100 + kTextFileGrowthLimit);
}

// The text is read a stretch at a time into room that is never filled with zeros first: it
// holds exactly the bytes the file gave, whatever its size said, and a mark over many
// stretches is left out once.
TEST(ReadAllOf, HoldsWhatTheFileGaveNotWhatItsSizeSaid) {
  std::string content;
  for (int i = 0; content.size() < 700 * 1024; ++i)
    content += "line " + std::to_string(i) + "\n";
  MemoryFile shrunk(content);
  shrunk.SetReportedSize(3 * content.size());
  EXPECT_EQ(ReadAllOf(shrunk, 4 * content.size()), content);
  MemoryFile grown(content);
  grown.SetReportedSize(content.size() / 3);
  EXPECT_EQ(ReadAllOf(grown), content);

  MemoryFile marked("\xEF\xBB\xBF" + content);
  const WholeText whole = ReadWholeText(marked);
  EXPECT_EQ(whole.encoding, FileEncoding::kUtf8Mark);
  EXPECT_EQ(whole.text, content);
  EXPECT_EQ(whole.end, content.size() + 3);
}

// A sparse file of gigabytes costs no disk space; a 32-bit process cannot hold it whole and must
// say so rather than hand back a part of it.
TEST(ReadWholeFile, AFileBeyondTheAddressSpaceIsRefusedNotCut) {
  if (sizeof(std::size_t) > 4)
    GTEST_SKIP() << "a 64-bit process addresses any file";
  const testing::ScratchFolder folder;
  for (const std::uintmax_t size : {std::uintmax_t{5} << 30, std::uintmax_t{3} << 29}) {
    const std::string path = folder.Write("sparse.log", "first line\n");
    std::filesystem::resize_file(path, size);
    try {
      const std::string text = ReadWholeFile(path);
      ADD_FAILURE() << size << " bytes read as " << text.size();
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.path(), path);
      EXPECT_THAT(error.reason(), ::testing::HasSubstr("MB)"));
    }
  }
}

TEST(SplitTextLines, EndsLinesAtCrLfLfAndLoneCr) {
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitTextLines("a\r\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitTextLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF then CR: two line ends
}

TEST(SplitTextLines, FinalLineEndAddsNoEmptyLine) {
  EXPECT_EQ(SplitTextLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(SplitTextLines("a\n\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitTextLines("\n"), (Lines{""}));
  EXPECT_EQ(SplitTextLines(""), Lines{});
}

TEST(SplitTextLines, TextEndsAtFirstNul) {
  EXPECT_EQ(SplitTextLines(std::string_view("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
  EXPECT_EQ(SplitTextLines(std::string_view("\0a", 2)), Lines{});
}

TEST(SplitTextLines, KeepsTabsAndOtherBytes) {
  EXPECT_EQ(SplitTextLines("\tx\x1Ay\xff\n"), (Lines{"\tx\x1Ay\xff"}));
}

TEST(LineViewsOf, EndsLinesLikeSplitTextLinesButKeepsNulBytes) {
  using namespace std::string_view_literals;
  const std::string_view text = "a\r\nb\rc\n\nd\0e\r\n\rf"sv;
  EXPECT_THAT(LineViewsOf(text), ::testing::ElementsAre("a", "b", "c", "", "d\0e"sv, "", "f"));
  EXPECT_THAT(LineViewsOf("x\r\n"), ::testing::ElementsAre("x"));
  EXPECT_TRUE(LineViewsOf("").empty());
}

}  // namespace
}  // namespace brontel::platform
