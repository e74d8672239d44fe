#include "platform/TextFileReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MemoryFile.h"
#include "platform/PlatformError.h"
#include "tests/platform/EndlessFile.h"

namespace brontel::platform {
namespace {

std::vector<std::string> Pieces(TextFileReader& reader, std::size_t limit) {
  std::vector<std::string> pieces;
  for (TextPiece piece; reader.NextPiece(limit, piece);)
    pieces.emplace_back(piece.text);
  return pieces;
}

std::vector<std::string> PiecesOf(const std::string& content, std::uint64_t offset,
                                  std::size_t limit) {
  MemoryFile file(content);
  TextFileReader reader;
  reader.ReadFrom(file, offset);
  return Pieces(reader, limit);
}

using Lines = std::vector<std::string>;

TEST(ConvertToTextMode, DropsCarriageReturnsAndStopsAtCtrlZ) {
  std::string text =
      "a\r\nb\rc\r\r\n\x1A"
      "after\n";
  text.resize(ConvertToTextMode(text.data(), text.size()));
  EXPECT_EQ(text, "a\nbc\n");
  std::string plain = "no returns\n";
  EXPECT_EQ(ConvertToTextMode(plain.data(), plain.size()), plain.size());
}

TEST(TextFileReader, PiecesEndAfterLineFeedsAndKeepThem) {
  EXPECT_EQ(PiecesOf("one\ntwo\n\nlast", 0, 100), (Lines{"one\n", "two\n", "\n", "last"}));
  EXPECT_EQ(PiecesOf("", 0, 100), Lines{});
}

TEST(TextFileReader, CrLfAndLoneCrLeaveNoTrace) {
  EXPECT_EQ(PiecesOf("a\r\nb\rc\r\n", 0, 100), (Lines{"a\n", "bc\n"}));
}

TEST(TextFileReader, FileGrowingFasterThanItIsReadEndsTheReadAtTheGrowthLimit) {
  EndlessFile file;
  TextFileReader reader;
  reader.ReadFrom(file, 40);
  EXPECT_EQ(file.BytesRead(), 60 + kTextFileGrowthLimit);
  EXPECT_EQ(reader.EndOffset(), 100 + kTextFileGrowthLimit);
  EXPECT_EQ(reader.Text().size(), 60 + kTextFileGrowthLimit);
}

TEST(TextFileReader, CtrlZEndsTheText) {
  EXPECT_EQ(PiecesOf("a\nb\x1A"
                     "c\nd\n",
                     0, 100),
            (Lines{"a\n", "b"}));
}

TEST(TextFileReader, LongLineArrivesInPiecesOfTheLimit) {
  // A 30000-byte line read with a 10 KB buffer: pieces of at most 10239 bytes.
  const std::string line(30000, 'x');
  const Lines pieces = PiecesOf(line + "\n", 0, 10239);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].size(), 10239u);
  EXPECT_EQ(pieces[1].size(), 10239u);
  EXPECT_EQ(pieces[2], std::string(9522, 'x') + "\n");
}

TEST(TextFileReader, LineFillingTheLimitLeavesItsLineFeedAsAPieceOfItsOwn) {
  EXPECT_EQ(PiecesOf("abcd\nef\n", 0, 4), (Lines{"abcd", "\n", "ef\n"}));
  EXPECT_EQ(PiecesOf("abc\n", 0, 4), (Lines{"abc\n"}));
}

TEST(TextFileReader, LimitCountsTextAfterCarriageReturnsAreDropped) {
  EXPECT_EQ(PiecesOf("a\r\r\rbc\r\nd", 0, 3), (Lines{"abc", "\n", "d"}));
}

TEST(TextFileReader, StartsAtTheOffsetInsideALine) {
  // The last 20 KB of a 100 000-byte file start at 79 520, inside a line.
  std::string content;
  while (content.size() < 100000)
    content += "line " + std::to_string(content.size()) + "\n";
  content.resize(100000);
  const Lines pieces = PiecesOf(content, 100000 - 20480, 20479);
  ASSERT_FALSE(pieces.empty());
  const std::size_t lineStart = content.rfind('\n', 79520 - 1) + 1;
  const std::size_t lineEnd = content.find('\n', 79520) + 1;
  EXPECT_LT(lineStart, 79520u);
  EXPECT_EQ(pieces.front(), content.substr(79520, lineEnd - 79520));
  EXPECT_EQ(pieces.back(), content.substr(content.rfind('\n') + 1));  // last line, no line feed
}

TEST(TextFileReader, OffsetAtOrBeyondTheEndReadsNothing) {
  EXPECT_EQ(PiecesOf("abc\n", 4, 100), Lines{});
  EXPECT_EQ(PiecesOf("abc\n", 50, 100), Lines{});
}

TEST(TextFileReader, ReadsWhatTheFileGainedSinceItsSizeWasTaken) {
  MemoryFile file(std::string(200000, 'a') + "\nnew line\n");
  file.SetReportedSize(10);  // the size seen before the writer appended
  TextFileReader reader;
  reader.ReadFrom(file, 0);
  EXPECT_EQ(Pieces(reader, 1 << 20), (Lines{std::string(200000, 'a') + "\n", "new line\n"}));
  EXPECT_EQ(reader.EndOffset(), 200010u);
}

TEST(TextFileReader, ReusedReaderForgetsTheEarlierText) {
  MemoryFile file("first\r\nsecond\r\nthird\r\n");
  TextFileReader reader;
  reader.ReadFrom(file, 0);
  EXPECT_EQ(Pieces(reader, 100).size(), 3u);
  file.SetContent("x\n");  // truncated and rewritten
  reader.ReadFrom(file, 0);
  EXPECT_EQ(Pieces(reader, 100), (Lines{"x\n"}));
  EXPECT_EQ(reader.Text(), "x\n");
}

TEST(TextFileReader, PiecesKnowWhereTheyEndInTheFile) {
  MemoryFile file("ab\r\n\rc\nlong-line\r\n\x1Atail");
  TextFileReader reader;
  reader.ReadFrom(file, 2);  // "\r\n\rc\nlong-line\r\n"
  std::vector<std::uint64_t> ends;
  for (TextPiece piece; reader.NextPiece(4, piece);)
    ends.push_back(piece.fileEnd);
  // Pieces: "\n" (to 4), "c\n" (the lone CR at 4 belongs to it, to 7), "long", "-lin", "e\n".
  EXPECT_EQ(ends, (std::vector<std::uint64_t>{4, 7, 11, 15, 18}));
  EXPECT_EQ(reader.EndOffset(), 18u);
}

class FailingFile final : public ReadOnlyFile {
 public:
  const std::string& Path() const override { return path_; }
  std::uint64_t Size() const override { return 100; }
  std::size_t ReadAt(std::uint64_t offset, char* buffer, std::size_t count) override {
    if (offset >= 10)
      throw PlatformError(path_, "device gone");
    const std::size_t n = count < 10 - offset ? count : static_cast<std::size_t>(10 - offset);
    std::fill(buffer, buffer + n, 'z');
    return n;
  }

 private:
  std::string path_ = "failing";
};

TEST(TextFileReader, FailedReadRaisesAndLeavesNoText) {
  FailingFile file;
  TextFileReader reader;
  EXPECT_THROW(reader.ReadFrom(file, 0), PlatformError);
  TextPiece piece;
  EXPECT_FALSE(reader.NextPiece(100, piece));
  EXPECT_TRUE(reader.Text().empty());
}

TEST(TextFileReader, KeepsNulBytesInsidePieces) {
  const Lines pieces = PiecesOf(std::string("a\0b\nc", 5), 0, 100);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], std::string("a\0b\n", 4));
}

}  // namespace
}  // namespace brontel::platform
