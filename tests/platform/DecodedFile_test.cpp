// UTF-16 and gzip logs read by position as the plain files of their text.
#include "platform/DecodedFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "platform/MemoryFile.h"
#include "platform/Utf16Text.h"
#include "tests/support/EncodedText.h"

namespace brontel::platform {
namespace {

using testing::Gzip;
using testing::Utf16;

const DecodedFile::EndLines kEndLines{"|cut short", "|limit"};

std::string Lines(int count, const std::string& word) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += word + " line " + std::to_string(i * 7919LL % 100003) + "\n";
  return text;
}

std::string ReadAll(ReadOnlyFile& file) {
  std::string text;
  char buffer[70000];
  for (std::size_t n; (n = file.ReadAt(text.size(), buffer, sizeof buffer)) > 0;)
    text.append(buffer, n);
  return text;
}

std::unique_ptr<DecodedFile> Decoded(const std::string& bytes, FileEncoding encoding,
                                     std::uint64_t limit = std::uint64_t{1} << 40) {
  return std::make_unique<DecodedFile>(std::make_unique<MemoryFile>(bytes), encoding, limit,
                                       kEndLines);
}

// Reads of random places, forwards and back, through a second reader, against the text.
void ExpectRandomReadsGive(DecodedFile& first, const std::string& text, const std::string& bytes) {
  std::unique_ptr<DecodedFile> reader = first.Reader(std::make_unique<MemoryFile>(bytes));
  std::mt19937 random(7);
  for (int i = 0; i < 60; ++i) {
    const std::uint64_t at = random() % text.size();
    const std::size_t count = 1 + random() % 100000;
    std::string got(count, '\0');
    got.resize(reader->ReadAt(at, got.data(), count));
    ASSERT_EQ(got, text.substr(at, count)) << at;
  }
}

TEST(DecodedFile, ReadsByPositionGiveTheDecodedText) {
  // Members of gzip, several places to restart in each; UTF-16 with pairs across pieces.
  const std::string text = Lines(400000, "gzip") + Lines(300000, "second");
  const std::string packed = Gzip(text.substr(0, 9000000)) + Gzip(text.substr(9000000));
  const std::unique_ptr<DecodedFile> gzip = Decoded(packed, FileEncoding::kGzip);
  ASSERT_EQ(ReadAll(*gzip), text);
  EXPECT_TRUE(gzip->Ended());
  EXPECT_FALSE(gzip->CutShort());
  EXPECT_GE(gzip->PointsHeld(), 3u);
  ExpectRandomReadsGive(*gzip, text, packed);

  std::u16string units;
  for (int i = 0; i < 700000; ++i)
    units += i % 3 == 0 ? u"\U0001F600\n" : u"é line\n";
  for (const bool bigEndian : {false, true}) {
    const std::string bytes = Utf16(units, bigEndian);
    const std::unique_ptr<DecodedFile> utf16 =
        Decoded(bytes, bigEndian ? FileEncoding::kUtf16Be : FileEncoding::kUtf16Le);
    const std::string whole = ReadAll(*utf16);
    ASSERT_EQ(whole.find("\xEF\xBF\xBD"), std::string::npos);  // no pair was split
    ExpectRandomReadsGive(*utf16, whole, bytes);
  }
}

TEST(DecodedFile, ATextThatEndsShortOrAtItsLimitEndsInALineSayingSo) {
  const std::string text = Lines(50000, "error");
  const std::string packed = Gzip(text);
  const std::unique_ptr<DecodedFile> cut =
      Decoded(packed.substr(0, packed.size() / 2), FileEncoding::kGzip);
  const std::string shown = ReadAll(*cut);
  EXPECT_TRUE(cut->CutShort());
  ASSERT_TRUE(shown.ends_with("\n|cut short\n"));
  const std::size_t sound = shown.rfind('\n', shown.size() - 13);
  EXPECT_EQ(shown.substr(0, sound + 1), text.substr(0, sound + 1));
  EXPECT_EQ(cut->Size(), shown.size());

  const std::unique_ptr<DecodedFile> limited = Decoded(packed, FileEncoding::kGzip, 100000);
  EXPECT_EQ(ReadAll(*limited), text.substr(0, 100000) + "\n|limit\n");
  EXPECT_TRUE(limited->Limited());
  EXPECT_FALSE(limited->Resume());

  const std::unique_ptr<DecodedFile> junk = Decoded(Gzip("whole\n") + "junk", FileEncoding::kGzip);
  EXPECT_EQ(ReadAll(*junk), "whole\n|cut short\n");
}

TEST(DecodedFile, AFileThatGrewAfterASoundEndGoesOnFromThere) {
  const std::string first = Gzip(Lines(1000, "first"));
  auto file = std::make_unique<MemoryFile>(first);
  MemoryFile& encoded = *file;
  DecodedFile gzip(std::move(file), FileEncoding::kGzip, std::uint64_t{1} << 40, kEndLines);
  EXPECT_EQ(ReadAll(gzip), Lines(1000, "first"));
  EXPECT_FALSE(gzip.Resume());  // not grown
  encoded.SetContent(first + Gzip(Lines(10, "more")));
  ASSERT_TRUE(gzip.Resume());
  EXPECT_EQ(ReadAll(gzip), Lines(1000, "first") + Lines(10, "more"));

  // A UTF-16 file written a byte at a time: half a unit and half a pair wait for the rest.
  const std::string bytes = Utf16(u"a\U0001F600b\n", false);
  auto growing = std::make_unique<MemoryFile>(bytes.substr(0, 3));
  MemoryFile& written = *growing;
  DecodedFile utf16(std::move(growing), FileEncoding::kUtf16Le, std::uint64_t{1} << 40, kEndLines);
  std::string text = ReadAll(utf16);
  for (std::size_t size = 4; size <= bytes.size(); ++size) {
    written.SetContent(bytes.substr(0, size));
    if (utf16.Resume())
      text = ReadAll(utf16);
  }
  std::string whole(5 * kTextBytesPerUtf16Unit, '\0');
  whole.resize(Utf16ToText(bytes.data() + 2, 5, false, whole.data()));
  EXPECT_EQ(text, whole);  // the pair whole: UTF-8 on POSIX, the code page's text on Windows
}

}  // namespace
}  // namespace brontel::platform
