// Logs in UTF-16, with a UTF-8 mark, and gzip-compressed: read as text with bounded memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FileEncoding.h"
#include "platform/GzipText.h"
#include "platform/MemoryFile.h"
#include "platform/TextFileReader.h"
#include "platform/WholeFile.h"
#include "tests/support/EncodedText.h"

namespace brontel::platform {
namespace {

using testing::Gzip;
using testing::Utf16;

struct Piece {
  std::string text;
  std::uint64_t fileEnd;
  bool operator==(const Piece&) const = default;
};

std::vector<Piece> Utf16Pieces(const std::string& bytes, std::uint64_t offset, std::size_t limit,
                               bool bigEndian = false) {
  MemoryFile file(bytes);
  TextFileReader reader;
  reader.ReadUtf16From(file, offset, bigEndian);
  std::vector<Piece> pieces;
  for (TextPiece piece; reader.NextPiece(limit, piece);)
    pieces.push_back({std::string(piece.text), piece.fileEnd});
  return pieces;
}

TEST(FileEncoding, TheFirstBytesTellTheEncoding) {
  EXPECT_EQ(EncodingOfStart("\xFF\xFE"
                            "a"),
            FileEncoding::kUtf16Le);
  EXPECT_EQ(EncodingOfStart("\xFE\xFF"), FileEncoding::kUtf16Be);
  EXPECT_EQ(EncodingOfStart("\xEF\xBB\xBF"
                            "E x"),
            FileEncoding::kUtf8Mark);
  EXPECT_EQ(EncodingOfStart("\x1F\x8B\x08"), FileEncoding::kGzip);
  EXPECT_EQ(EncodingOfStart("\xEF\xBB"), FileEncoding::kBytes);  // a mark cut short is text
  EXPECT_EQ(EncodingOfStart("E   plain"), FileEncoding::kBytes);
  // UTF-32 is no UTF-16: shown byte for byte, not as a view of empty lines.
  EXPECT_EQ(EncodingOfStart(std::string_view("\xFF\xFE\0\0E\0\0\0", 8)), FileEncoding::kBytes);
  EXPECT_EQ(EncodingOfStart(std::string_view("\0\0\xFE\xFF", 4)), FileEncoding::kBytes);
  EXPECT_EQ(EncodingOfStart(std::string_view("\xFF\xFE\0E", 4)), FileEncoding::kUtf16Le);
  MemoryFile file(Utf16(u"x", true));
  EXPECT_EQ(DetectFileEncoding(file), FileEncoding::kUtf16Be);
  EXPECT_EQ(EncodingLabel(FileEncoding::kUtf16Le), " [UTF-16 LE]");
  EXPECT_EQ(EncodingLabel(FileEncoding::kBytes), "");
}

TEST(Utf16Reading, BothByteOrdersGiveTheSameLinesAndUnitOffsets) {
  const std::u16string text = u"E   one\r\nplain\nlast";
  for (const bool bigEndian : {false, true}) {
    EXPECT_EQ(Utf16Pieces(Utf16(text, bigEndian), 0, 100, bigEndian),
              (std::vector<Piece>{{"E   one\n", 20}, {"plain\n", 32}, {"last", 40}}))
        << bigEndian;
  }
}

TEST(Utf16Reading, AReadStartingInsideACharacterBeginsAtTheNextWholeOne) {
  const std::string bytes = Utf16(
      u"ab\xD83D\xDE00"
      u"cd\n",
      false);  // a surrogate pair
  // Odd offsets move to the next unit; the second half of a pair is skipped.
  EXPECT_EQ(Utf16Pieces(bytes, 3, 100).front().text.front(), 'b');
  EXPECT_EQ(Utf16Pieces(bytes, 8, 100).front(), (Piece{"cd\n", 16}));
  EXPECT_EQ(Utf16Pieces(bytes, 1, 100).front().text.front(), 'a');  // never the mark
  // A last half character (an odd byte or a lone first half of a pair) waits for the writer.
  EXPECT_EQ(Utf16Pieces(bytes.substr(0, 7), 0, 100), (std::vector<Piece>{{"ab", 6}}));
  EXPECT_EQ(Utf16Pieces(bytes.substr(0, 9), 0, 100), (std::vector<Piece>{{"ab", 6}}));
}

TEST(Utf16Reading, CtrlZEndsTheTextAndEmptyInputGivesNothing) {
  EXPECT_EQ(Utf16Pieces(Utf16(u"a\nb\x001A"
                              u"c\n",
                              false),
                        0, 100),
            (std::vector<Piece>{{"a\n", 6}, {"b", 8}}));
  EXPECT_TRUE(Utf16Pieces(Utf16(u"", false), 0, 100).empty());
  EXPECT_TRUE(Utf16Pieces(Utf16(u"abc", false), 100, 100).empty());
}

#ifndef _WIN32  // the 8-bit text is UTF-8 here; on Windows it is the ANSI code page
TEST(Utf16Reading, BecomesUtf8AndLongLinesAreCutOnWholeCharacters) {
  const std::string bytes = Utf16(u"\x00E9t\x00E9 \xD83D\xDE00!\n\xDC00x\n", false);
  const std::vector<Piece> pieces = Utf16Pieces(bytes, 0, 4);
  // "été 😀!" is 11 bytes of UTF-8: pieces of at most 4 bytes never split a character, and each
  // piece's end is the offset of its last unit in the file.
  EXPECT_EQ(pieces, (std::vector<Piece>{{"\xC3\xA9t", 6},
                                        {"\xC3\xA9 ", 10},
                                        {"\xF0\x9F\x98\x80", 14},
                                        {"!\n", 18},
                                        {"\xEF\xBF\xBDx", 22},  // a lone half becomes U+FFFD
                                        {"\n", 24}}));
  // At the start of the file a second half has no first half before it: it is shown too.
  EXPECT_EQ(Utf16Pieces(Utf16(u"\xDC00x", false), 0, 100),
            (std::vector<Piece>{{"\xEF\xBF\xBDx", 6}}));
  MemoryFile file(bytes);
  EXPECT_EQ(ReadWholeText(file).text, "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80!\n\xEF\xBF\xBDx\n");
  // Long ASCII runs are converted many units at a time, up to the first other character.
  const std::u16string run(37, u'a');
  for (const bool bigEndian : {false, true}) {
    MemoryFile mixed(Utf16(run + u"\x00E9" + run + u"\x20AC", bigEndian));
    EXPECT_EQ(ReadWholeText(mixed).text,
              std::string(37, 'a') + "\xC3\xA9" + std::string(37, 'a') + "\xE2\x82\xAC");
  }
}
#endif

TEST(WholeText, DecodesByTheMarkAndReportsTheFileEnd) {
  MemoryFile utf16(Utf16(u"E a\r\nb\xD83D", true));
  const WholeText decoded = ReadWholeText(utf16);
  EXPECT_EQ(decoded.text, "E a\r\nb");  // line ends kept, the unfinished character left out
  EXPECT_EQ(decoded.end, 16u);
  EXPECT_EQ(decoded.encoding, FileEncoding::kUtf16Be);
  MemoryFile marked(
      "\xEF\xBB\xBF"
      "E x\n");
  EXPECT_EQ(ReadWholeText(marked).text, "E x\n");
  EXPECT_EQ(ReadWholeText(marked).end, 7u);
  MemoryFile plain("\xFF plain");  // one byte of a mark is ordinary text
  EXPECT_EQ(ReadWholeText(plain).text, "\xFF plain");
}

std::string NumberedLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += (i % 7 == 0 ? "E   failure " : "line ") + std::to_string(i) + "\n";
  return text;
}

TEST(Gzip, TheTailIsTheEndOfTheTextWhateverItsSize) {
  const std::string text = NumberedLines(50000);
  MemoryFile file(Gzip(text));
  std::string tail;
  for (const std::size_t keep :
       {std::size_t{0}, std::size_t{5}, std::size_t{5120}, std::size_t{70000}, text.size() + 1}) {
    const GunzipOutcome outcome = GunzipTail(file, keep, tail);
    EXPECT_EQ(tail, text.substr(text.size() - std::min(keep, text.size()))) << keep;
    EXPECT_EQ(outcome.textSize, text.size());
    EXPECT_FALSE(outcome.incomplete);
  }
  std::string all;
  EXPECT_FALSE(GunzipAll(file, all).incomplete);
  EXPECT_EQ(all, text);
}

TEST(Gzip, ConcatenatedMembersAreOneText) {
  MemoryFile file(Gzip("first\n") + Gzip("second\n"));
  std::string all;
  EXPECT_FALSE(GunzipAll(file, all).incomplete);
  EXPECT_EQ(all, "first\nsecond\n");
}

TEST(Gzip, CorruptOrTruncatedStreamsGiveWhatDecompressedCleanly) {
  const std::string text = NumberedLines(20000);
  const std::string packed = Gzip(text);
  for (const std::size_t cut : {packed.size() - 1, packed.size() / 2, std::size_t{3}}) {
    MemoryFile file(packed.substr(0, cut));
    std::string all;
    const GunzipOutcome outcome = GunzipAll(file, all);
    EXPECT_TRUE(outcome.incomplete) << cut;
    EXPECT_FALSE(outcome.limited) << cut;  // damage, not the limit
    EXPECT_EQ(all, text.substr(0, all.size())) << cut;
    EXPECT_EQ(outcome.textSize, all.size());
  }
  std::string damaged = packed;
  damaged[damaged.size() / 2] ^= 0x55;
  damaged[damaged.size() / 2 + 1] ^= 0x55;
  MemoryFile file(damaged);
  std::string tail;
  EXPECT_TRUE(GunzipTail(file, 100, tail).incomplete);
  MemoryFile trailingJunk(Gzip("whole\n") + "junk");
  std::string all;
  EXPECT_TRUE(GunzipAll(trailingJunk, all).incomplete);
  EXPECT_EQ(all, "whole\n");
}

TEST(Gzip, ABombStopsAtTheTextLimitWithinTheBuffer) {
  const std::string zeros(64 << 20, 'z');  // 64 MiB of text from about 64 KiB in the file
  const std::string packed = Gzip(zeros, Z_BEST_COMPRESSION);
  MemoryFile file(packed);
  std::string tail;
  const GunzipOutcome outcome = GunzipTail(file, 1024, tail, 16 << 20);
  EXPECT_TRUE(outcome.incomplete);
  EXPECT_TRUE(outcome.limited);  // a sound stream, only longer than a load reads
  EXPECT_EQ(outcome.textSize, std::uint64_t{16} << 20);
  EXPECT_EQ(tail, std::string(1024, 'z'));
  EXPECT_LE(tail.capacity(), std::size_t{256} << 10);
}

TEST(Gzip, TheTailReaderSplitsTheDecompressedTail) {
  MemoryFile file(Gzip("old\nE   a\r\nlast"));
  TextFileReader reader;
  EXPECT_FALSE(reader.ReadGzipTail(file, 11).incomplete);
  std::vector<Piece> pieces;
  for (TextPiece piece; reader.NextPiece(100, piece);)
    pieces.push_back({std::string(piece.text), piece.fileEnd});
  EXPECT_EQ(pieces, (std::vector<Piece>{{"E   a\n", 11}, {"last", 15}}));
  EXPECT_EQ(reader.StartOffset(), 4u);
}

}  // namespace
}  // namespace brontel::platform
