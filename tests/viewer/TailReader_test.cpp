#include "viewer/TailReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/LiteralTail.h"
#include "tests/support/ScratchFolder.h"
#include "viewer/FileInfo.h"
#include "viewer/OptionTables.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;

class TailReaderTest : public ::testing::Test {
 protected:
  // The lines of a tail read with the file's present size.
  std::vector<std::string> Tail(const std::string& path, std::int32_t bufferSize) {
    std::vector<std::string> lines;
    read_ = reader_.Read(path, fs::file_size(path), bufferSize,
                         [&](const TailReader::Line& line) { lines.emplace_back(line.text); });
    return lines;
  }

  testing::ScratchFolder folder_;
  TailReader reader_;
  bool read_ = false;
};

using Lines = std::vector<std::string>;

TEST_F(TailReaderTest, SmallFileIsReadWhole) {
  std::string content;
  for (int i = 0; content.size() < 3000; ++i)
    content += "entry " + std::to_string(i) + "\n";
  content.resize(3000);
  const Lines lines = Tail(folder_.Write("small.log", content), BufferSizeAt(0));
  EXPECT_TRUE(read_);
  EXPECT_EQ(lines.front(), "entry 0");
  EXPECT_EQ(lines, testing::LiteralTailLines(content, BufferSizeAt(0)));
}

TEST_F(TailReaderTest, LongLineArrivesAsThreePieces) {
  // The snapshot was taken while the file was still empty; the writer has added a 30000-byte
  // line since, so the read starts at the line's first byte.
  const std::string path = folder_.Write("long.log", std::string(30000, 'q') + "\n");
  Lines lines;
  ASSERT_TRUE(reader_.Read(path, 0, 10240,
                           [&](const TailReader::Line& line) { lines.emplace_back(line.text); }));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].size(), 10239u);
  EXPECT_EQ(lines[1].size(), 10239u);
  EXPECT_EQ(lines[2].size(), 9522u);
}

TEST_F(TailReaderTest, LongLineFillingTheBufferLeavesAnEmptyLineForItsLineFeed) {
  // The last 10240 bytes: 10239 bytes of the line, then its line feed as a piece of its own.
  const Lines lines = Tail(folder_.Write("long.log", std::string(30000, 'q') + "\n"), 10240);
  EXPECT_EQ(lines, (Lines{std::string(10239, 'q'), ""}));
}

TEST_F(TailReaderTest, ReadsTheLastBufferBytesStartingInsideALine) {
  std::string content;
  for (int i = 0; content.size() < 100000; ++i)
    content += "record number " + std::to_string(i) + "\n";
  content.resize(100000);
  const Lines lines = Tail(folder_.Write("mid.log", content), 20480);
  const std::string firstLine = content.substr(79520, content.find('\n', 79520) - 79520);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), firstLine);
  EXPECT_NE(content[79519], '\n');  // the first line shown is the end part of a longer line
  EXPECT_EQ(lines.back(), content.substr(content.rfind('\n') + 1));  // last line, no line feed
}

TEST_F(TailReaderTest, CrLfAndLoneCrShowNoStrayCharacters) {
  EXPECT_EQ(Tail(folder_.Write("crlf.log", "one\r\ntw\ro\r\n\r\nend"), 5120),
            (Lines{"one", "two", "", "end"}));
}

TEST_F(TailReaderTest, NulBytesShowAsPlaceholdersAndCtrlZEndsTheText) {
  EXPECT_EQ(Tail(folder_.Write("bin.log", std::string("ab\0cd\nnext\n\x1Ahidden\n", 19)), 5120),
            (Lines{"ab?cd", "next"}));
  // A run of zeros where a write never came hides nothing of what follows it.
  const std::string run = "E   before\n" + std::string(3000, '\0') + "E   after\n";
  EXPECT_EQ(Tail(folder_.Write("run.log", run), 5120),
            (Lines{"E   before", std::string(3000, '?') + "E   after"}));
}

TEST_F(TailReaderTest, EmptyFileIsReadButGivesNoLines) {
  EXPECT_EQ(Tail(folder_.Write("empty.log", ""), 5120), Lines{});
  EXPECT_TRUE(read_);
}

TEST_F(TailReaderTest, UnopenableFilesReadNothing) {
  std::vector<std::string> lines;
  EXPECT_FALSE(reader_.Read(folder_.File("missing.log"), 100, 5120,
                            [&](const TailReader::Line& line) { lines.emplace_back(line.text); }));
#ifndef _WIN32
  const std::string fifo = folder_.File("fifo.log");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(reader_.Read(fifo, 0, 5120, [&](const TailReader::Line&) {}));
#endif
  EXPECT_FALSE(reader_.Read(folder_.Path().string(), 0, 5120, [&](const TailReader::Line&) {}));
  EXPECT_TRUE(lines.empty());
}

TEST_F(TailReaderTest, ReadsToTheEndEvenWhenTheFileGrewAfterTheSnapshot) {
  const std::string path = folder_.Write("grow.log", "a\nb\n");
  fileInfo snapshot;
  ASSERT_TRUE(ReadFileInfo(path, snapshot));
  folder_.Append(path, "c\nd\n");
  Lines lines;
  ASSERT_TRUE(reader_.Read(path, snapshot.Size(), 5120,
                           [&](const TailReader::Line& line) { lines.emplace_back(line.text); }));
  EXPECT_EQ(lines, (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(reader_.EndOffset(), 8u);
}

TEST_F(TailReaderTest, TruncatedFileIsReadFromItsNewStart) {
  const std::string path = folder_.Write("cut.log", std::string(20000, 'x') + "\nold tail\n");
  EXPECT_EQ(Tail(path, 5120).back(), "old tail");
  folder_.Write("cut.log", "fresh\n");
  EXPECT_EQ(Tail(path, 5120), (Lines{"fresh"}));
}

TEST_F(TailReaderTest, LinesKnowWhereTheyEndInTheFile) {
  const std::string path = folder_.Write("ends.log", "first\r\nsecond\nthird");
  std::vector<std::uint64_t> ends;
  reader_.Read(path, fs::file_size(path), 5120,
               [&](const TailReader::Line& line) { ends.push_back(line.fileEnd); });
  EXPECT_EQ(ends, (std::vector<std::uint64_t>{7, 14, 19}));
}

TEST_F(TailReaderTest, TailOfAFileBeyondFourGibibytesIsItsTrueEnd) {
  const std::string path = folder_.Write("huge.log", "");
  const std::uint64_t size = (std::uint64_t{1} << 32) + 3000;
  fs::resize_file(path, size);  // sparse zeros
  {
    std::fstream stream(path, std::ios::in | std::ios::out | std::ios::binary);
    stream.seekp(static_cast<std::streamoff>(size - 12));
    stream << "\nlast entry\n";
  }
  const Lines lines = Tail(path, 5120);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(5120 - 12, '?'));  // the zeros before
  EXPECT_EQ(lines[1], "last entry");
}

}  // namespace
}  // namespace brontel
