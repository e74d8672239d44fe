#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::platform {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
 protected:
  void Put(const std::string& bytes) const { folder_.Write(path_, bytes); }
  std::string Bytes() const { return folder_.Read(path_); }
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view fallback = "<default>") const {
    return IniReadString(path_, section, key, fallback);
  }
  // The files beside the settings file, apart from the writers' lock file.
  std::size_t FilesInDir() const {
    return static_cast<std::size_t>(
        std::count_if(fs::directory_iterator(folder_.Path()), {}, [](const fs::directory_entry& e) {
          return !e.path().filename().string().ends_with(".lock");
        }));
  }

  // Wine's profile functions write the file anew from what they parsed (blanks, empty lines
  // and lone line ends normalised); the byte-for-byte checks of untouched lines need a system
  // that edits the file in place.
  static bool RewritesWholeFile() {
#ifdef _WIN32
    return std::getenv("WINEPREFIX") != nullptr;
#else
    return false;
#endif
  }

  testing::ScratchFolder folder_;
  std::string path_ = folder_.File("brontel.ini");
};

TEST_F(IniFileTest, ReadsValuesByTheFacilityRules) {
  Put("top=outside\r\n"
      "; [Hidden]\r\n"
      "[ Main ]\r\n"
      "  Alpha   =  one two  \r\n"
      "; alpha=comment\r\n"
      "quoted=\"  kept blanks  \"\r\n"
      "single='x'\r\n"
      "mismatch=\"x'\r\n"
      "lonequote=\"\r\n"
      "bare\r\n"
      "empty=\r\n"
      "alpha=second\r\n"
      "eq=a=b\r\n"
      "[main]\r\n"
      "beta=from second section\r\n");
  EXPECT_EQ(Read("main", "ALPHA"), "one two");
  EXPECT_EQ(Read(" MAIN ", " alpha "), "one two");
  EXPECT_EQ(Read("Main", "quoted"), "  kept blanks  ");
  EXPECT_EQ(Read("Main", "single"), "x");
  EXPECT_EQ(Read("Main", "mismatch"), "\"x'");
  EXPECT_EQ(Read("Main", "lonequote"), "\"");
  EXPECT_EQ(Read("Main", "bare"), "<default>");
  EXPECT_EQ(Read("Main", "empty"), "");
  EXPECT_EQ(Read("Main", "eq"), "a=b");
  // Only the first of two equally named sections is seen.
  EXPECT_EQ(Read("Main", "beta"), "<default>");
  EXPECT_EQ(Read("Hidden", "x"), "<default>");
  EXPECT_EQ(Read("", "top"), "<default>");
}

TEST_F(IniFileTest, AcceptsEveryLineEnd) {
  Put("[a]\nlf=1\n[b]\rcr=2\r[c]\r\ncrlf=3\r\n[d]\r\rafterblank=4");
  EXPECT_EQ(Read("a", "lf"), "1");
  EXPECT_EQ(Read("b", "cr"), "2");
  EXPECT_EQ(Read("c", "crlf"), "3");
  EXPECT_EQ(Read("d", "afterblank"), "4");
}

TEST_F(IniFileTest, DefaultLosesTrailingBlanksAndIsCut) {
  EXPECT_EQ(Read("s", "k", "value  "), "value");
  EXPECT_EQ(Read("s", "k", std::string(3000, 'd')), std::string(kIniValueMaxLength, 'd'));
  Put("[s]\r\nk=" + std::string(5000, 'v') + "\r\n");
  EXPECT_EQ(Read("s", "k"), std::string(kIniValueMaxLength, 'v'));
}

TEST_F(IniFileTest, MissingOrStrangeFilesReadAsEmpty) {
  EXPECT_EQ(Read("s", "k"), "<default>");
  EXPECT_TRUE(IniReadKeys(path_, "s").empty());
  EXPECT_FALSE(IniFileExists(path_));
  fs::create_directory(path_);
  EXPECT_TRUE(IniFileExists(path_));
  EXPECT_EQ(Read("s", "k"), "<default>");
#ifndef _WIN32
  fs::remove(path_);
  ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);  // would block a plain open
  EXPECT_EQ(Read("s", "k"), "<default>");
#endif
}

TEST_F(IniFileTest, ListsKeysInFileOrder) {
  Put("[EXT]\r\n.Log=1\r\n; .c=9\r\n\r\n.log=2\r\nnovalue\r\n=5\r\n.txt = 3\r\n[Other]\r\nx=1\r\n");
  EXPECT_EQ(IniReadKeys(path_, "ext"),
            (std::vector<std::string>{".Log", ".log", "novalue", ".txt"}));
  const std::vector<IniEntry> entries = IniReadEntries(path_, "EXT");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[1], (IniEntry{".log", "2"}));
  EXPECT_EQ(entries[2], (IniEntry{"novalue", std::nullopt}));
  EXPECT_EQ(entries[3], (IniEntry{".txt", "3"}));
}

TEST_F(IniFileTest, WritesIntoAMissingFileWithCrLf) {
  IniWriteString(path_, "Preferences", "Options.Active", "1");
  IniWriteString(path_, "Layouts", "Count", "0");
  IniWriteString(path_, "Preferences", "Options.WindowState", "");
  EXPECT_EQ(Bytes(),
            "[Preferences]\r\nOptions.Active=1\r\nOptions.WindowState=\r\n"
            "[Layouts]\r\nCount=0\r\n");
}

TEST_F(IniFileTest, ChangesOnlyTheWrittenValue) {
  if (RewritesWholeFile())
    GTEST_SKIP() << "the profile functions rewrite the whole file";
  const std::string before =
      "; settings\n"
      "[other]\n"
      "Options.Active=5\n"
      "\n"
      "[ PREFERENCES ]\r\n"
      "  options.ACTIVE  =  7   \r\n"
      "; trailing comment\r\n"
      "\r\n"
      "[Last]\r"
      "k=v";
  Put(before);
  IniWriteString(path_, "Preferences", "Options.Active", "1");
  EXPECT_EQ(Bytes(),
            "; settings\n[other]\nOptions.Active=5\n\n[ PREFERENCES ]\r\n"
            "  options.ACTIVE  =  1\r\n; trailing comment\r\n\r\n[Last]\rk=v");
  // A new key goes after the last key line of its section, before comments and blank lines.
  IniWriteString(path_, "preferences", "Options.New", "x");
  EXPECT_EQ(Bytes(),
            "; settings\n[other]\nOptions.Active=5\n\n[ PREFERENCES ]\r\n"
            "  options.ACTIVE  =  1\r\nOptions.New=x\r\n; trailing comment\r\n\r\n[Last]\rk=v");
  // The last line has no line end: new lines start on a line of their own.
  IniWriteString(path_, "Last", "k2", "w");
  IniWriteString(path_, "Added", "a", "b");
  EXPECT_EQ(Bytes().substr(Bytes().find("[Last]")), "[Last]\rk=v\r\nk2=w\r\n[Added]\r\na=b\r\n");
}

TEST_F(IniFileTest, ReplacesKeysWithoutValueAndFillsEmptySections) {
  Put("[s]\r\nbare  \r\n[empty]\r\n[t]");
  IniWriteString(path_, "S", "BARE", "1");
  IniWriteString(path_, "empty", "k", "2");
  IniWriteString(path_, "t", "k", "3");
  EXPECT_EQ(Bytes(), "[s]\r\nbare=1\r\n[empty]\r\nk=2\r\n[t]\r\nk=3\r\n");
}

TEST_F(IniFileTest, WritesIntoTheFirstOfTwoSections) {
  Put("[a]\r\nx=1\r\n[b]\r\n[A]\r\nx=2\r\n");
  IniWriteString(path_, "a", "x", "9");
  EXPECT_EQ(Bytes(), "[a]\r\nx=9\r\n[b]\r\n[A]\r\nx=2\r\n");
}

TEST_F(IniFileTest, ErasesEverySectionOfTheName) {
  Put("; head\r\n[EXT]\r\n.a=1\r\n; note\r\n[MRU]\r\nItem0=x\r\n[ext]\r\n.b=2\r\n[Tail]\nz=1");
  IniEraseSection(path_, "Ext");
  const std::string rest = RewritesWholeFile() ? "; head\r\n[MRU]\r\nItem0=x\r\n[Tail]\r\nz=1\r\n"
                                               : "; head\r\n[MRU]\r\nItem0=x\r\n[Tail]\nz=1";
  EXPECT_EQ(Bytes(), rest);
  IniEraseSection(path_, "missing");
  EXPECT_EQ(Bytes(), rest);
  IniEraseSection(folder_.File("absent.ini"), "MRU");
  EXPECT_FALSE(fs::exists(folder_.Path() / "absent.ini"));
}

TEST_F(IniFileTest, AnUnchangedValueDoesNotRewriteTheFile) {
  Put("[s]\r\nk=1\r\n");
  const auto before = fs::last_write_time(path_);
  struct stat first {};
  ::stat(path_.c_str(), &first);
  IniWriteString(path_, "s", "k", "1");
  struct stat second {};
  ::stat(path_.c_str(), &second);
  EXPECT_EQ(first.st_ino, second.st_ino);
  EXPECT_EQ(fs::last_write_time(path_), before);
}

TEST_F(IniFileTest, AnotherHostsTemporaryCopyIsLeftAlone) {
  Put("[s]\r\nk=1\r\n");
  folder_.Write(path_ + ".tmp", "another host's save");
  IniWriteString(path_, "s", "k", "2");
  EXPECT_EQ(folder_.Read(path_ + ".tmp"), "another host's save");
  EXPECT_EQ(Read("s", "k"), "2");
  EXPECT_EQ(FilesInDir(), 2u);
}

// Inodes, permission bits and symbolic links are POSIX matters.
#ifndef _WIN32
TEST_F(IniFileTest, ReplacesTheFileAtomicallyKeepingPermissions) {
  Put("[s]\r\nk=1\r\n");
  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  struct stat before {};
  ::stat(path_.c_str(), &before);
  IniWriteString(path_, "s", "k", "2");
  struct stat after {};
  ::stat(path_.c_str(), &after);
  EXPECT_NE(before.st_ino, after.st_ino);  // a new file was renamed into place
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(FilesInDir(), 1u);  // no temporary file left behind
  EXPECT_EQ(Bytes(), "[s]\r\nk=2\r\n");
}

TEST_F(IniFileTest, WritesThroughASymbolicLink) {
  const std::string real = folder_.File("real.ini");
  folder_.Write(real, "[s]\r\nk=1\r\n");
  fs::create_symlink(real, path_);
  IniWriteString(path_, "s", "k", "2");
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(folder_.Read(real), "[s]\r\nk=2\r\n");
  // A link to a file that does not exist yet makes that file; the link stays.
  fs::remove(real);
  fs::create_directory(folder_.File("sub"));
  fs::remove(path_);
  fs::create_symlink("sub/made.ini", path_);
  IniWriteString(path_, "s", "k", "3");
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(folder_.Read("sub/made.ini"), "[s]\r\nk=3\r\n");
}

// Writers in several processes on one file: each waits for the others' lock and reads the file
// afresh under it, so every process's keys survive.
TEST_F(IniFileTest, WritersInSeveralProcessesKeepEachOthersKeys) {
  constexpr int kWriters = 6;
  constexpr int kRounds = 20;
  std::vector<pid_t> children;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t child = ::fork();
    if (child == 0) {
      for (int round = 0; round < kRounds; ++round) {
        const std::string name = "w" + std::to_string(writer) + "r" + std::to_string(round);
        IniWriteChanges(path_, {{"s", name, "1"}, {"s" + std::to_string(writer), name, "2"}});
      }
      ::_exit(0);
    }
    children.push_back(child);
  }
  for (const pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(IniReadKeys(path_, "s").size(), static_cast<std::size_t>(kWriters * kRounds));
  for (int writer = 0; writer < kWriters; ++writer)
    EXPECT_EQ(IniReadKeys(path_, "s" + std::to_string(writer)).size(), std::size_t{kRounds});
}

#endif

TEST_F(IniFileTest, RefusedWritesRaiseAndChangeNothing) {
  Put("[s]\r\nk=1\r\n");
  fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_THROW(IniWriteString(path_, "s", "k", "2"), PlatformError);
  EXPECT_THROW(IniWriteString(path_, "s", "k", "1"), PlatformError);  // even when unchanged
  EXPECT_THROW(IniEraseSection(path_, "s"), PlatformError);
  EXPECT_EQ(Bytes(), "[s]\r\nk=1\r\n");
  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
#ifndef _WIN32
  if (::geteuid() != 0) {  // a superuser may write into any directory
    fs::permissions(folder_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(IniWriteString(path_, "s", "k", "2"), PlatformError);
    fs::permissions(folder_.Path(), fs::perms::owner_all);
    EXPECT_EQ(Bytes(), "[s]\r\nk=1\r\n");
  }
#endif
  const std::string inMissingDir = (folder_.Path() / "no" / "brontel.ini").string();
  try {
    IniWriteString(inMissingDir, "s", "k", "1");
    ADD_FAILURE() << "write into a missing directory succeeded";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.path(), inMissingDir);
  }
  const std::string directory = folder_.File("sub");
  fs::create_directory(directory);
  EXPECT_THROW(IniWriteString(directory, "s", "k", "1"), PlatformError);
  EXPECT_TRUE(fs::is_directory(directory));
}

TEST_F(IniFileTest, LineBreaksInNamesOrValuesAreRefused) {
  Put("[s]\r\nk=1\r\n");
  EXPECT_THROW(IniWriteString(path_, "s", "k", "2\r\n[evil]"), std::invalid_argument);
  EXPECT_THROW(IniWriteString(path_, "s\n", "k", "2"), std::invalid_argument);
  EXPECT_THROW(IniWriteString(path_, "s", "k\r", "2"), std::invalid_argument);
  EXPECT_EQ(Bytes(), "[s]\r\nk=1\r\n");
}

TEST_F(IniFileTest, BinaryAndHugeLinesStayBounded) {
  std::string binary("[s]\r\n\0\0\xff\xfe=\x01\r\nk=ok\r\n", 19);
  binary += std::string(1 << 20, 'x');  // a 1 MB line without any "="
  binary += "\r\n[s2]\r\nlong=" + std::string(1 << 20, 'y') + "\r\nafter=2\r\n";
  Put(binary);
  EXPECT_EQ(Read("s", "k"), "ok");
  EXPECT_EQ(Read("s2", "long"), std::string(kIniValueMaxLength, 'y'));
  EXPECT_EQ(Read("s2", "after"), "2");
  EXPECT_EQ(IniReadKeys(path_, "s").size(), 2u);  // the unreadable 1 MB line is not a key
  IniWriteString(path_, "s2", "after", "3");
  EXPECT_EQ(Read("s2", "after"), "3");
  IniWriteString(path_, "s2", "long", "short");
  EXPECT_EQ(Read("s2", "long"), "short");
  if (!RewritesWholeFile()) {
    EXPECT_EQ(Bytes().size(), binary.size() - (1 << 20) + 5);
  }
}

// The reader works in 64 KiB pieces: headers, blanks and line ends falling on a piece boundary
// must be read as if the file were one piece.
TEST_F(IniFileTest, LinesAcrossReadBoundaries) {
  if (RewritesWholeFile())
    GTEST_SKIP() << "the profile functions rewrite the whole file";
  constexpr std::size_t kPiece = 64 * 1024;
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    for (std::size_t shift = 0; shift < 12; ++shift) {
      const std::string head = "[a]" + lineEnd + "x=[Target]" + lineEnd + ";";
      const std::string filler(kPiece - head.size() - lineEnd.size() - 6 + shift, '-');
      const std::string text =
          head + filler + lineEnd + "  [Target]" + lineEnd + "k=v" + lineEnd + "[b]" + lineEnd;
      Put(text);
      SCOPED_TRACE("shift " + std::to_string(shift) + ", line end size " +
                   std::to_string(lineEnd.size()));
      EXPECT_EQ(Read("Target", "k"), "v");
      EXPECT_EQ(Read("a", "x"), "[Target]");
      IniWriteString(path_, "target", "k", "w");
      std::string expected = text;
      expected.replace(expected.find("k=v"), 3, "k=w");
      EXPECT_EQ(Bytes(), expected);
    }
  }
}

TEST_F(IniFileTest, ListingsAreBounded) {
  std::string text = "[s]\r\n";
  for (std::size_t i = 0; i < kIniListMaxKeys + 10; ++i)
    text += "k" + std::to_string(i) + "=1\r\n";
  Put(text);
  EXPECT_EQ(IniReadKeys(path_, "s").size(), kIniListMaxKeys);
}

// A batch is one rewrite that leaves what its single writes and erases, one after the other,
// would leave: existing keys in place, new keys after a section's last key, erased sections
// gone, sections made anew at the end.
TEST_F(IniFileTest, ABatchLeavesWhatItsSingleChangesWould) {
  const std::vector<std::string> starts = {
      "", "[EXT]\r\n.log=10\r\n[Preferences]\r\nOptions.Active=0\r\nbare\r\n[Other]\r\nx=1",
      "[preferences]\n; note\nOptions.Active = 7 \n\n[ext]\na=1\n[EXT]\nb=2\n[Tail]\nt=1",
      "noise\r\n[TPL0]\r\nk=old\r\n"};
  const std::vector<IniChange> batch = {{"Preferences", "Options.Active", "1"},
                                        {"Preferences", "bare", "now"},
                                        {"Layouts", "Count", "1"},
                                        {"EXT", "", "", true},
                                        {"EXT", ".log", "10"},
                                        {"Preferences", "OPTIONS.ACTIVE", "0"},
                                        {"Layouts", "Layout0", "0|0|0|0|0|0|0|"},
                                        {"Tail", "", "", true},
                                        {"TPL0", "", "", true},
                                        {"EXT", ".", "10"}};
  for (const std::string& start : starts) {
    const std::string one = folder_.File("one.ini");
    folder_.Write(one, start);
    for (const IniChange& change : batch) {
      if (change.eraseSection)
        IniEraseSection(one, change.section);
      else
        IniWriteString(one, change.section, change.key, change.value);
    }
    Put(start);
    IniWriteChanges(path_, batch);
    EXPECT_EQ(Bytes(), folder_.Read(one)) << start;
  }
}

TEST_F(IniFileTest, CreatingAFileHappensOnceAndInOneStep) {
  const std::vector<IniChange> defaults = {{"EXT", ".log", "10"}, {"EXT", ".", "10"}};
  EXPECT_TRUE(IniCreateFile(path_, defaults));
  EXPECT_EQ(Read("EXT", "."), "10");
  IniWriteString(path_, "EXT", ".", "3");
  EXPECT_FALSE(IniCreateFile(path_, defaults));
  EXPECT_EQ(Read("EXT", "."), "3");
}

TEST_F(IniFileTest, ATemporaryFileOfAnInterruptedWriteGoesWithTheNextWrite) {
#ifdef _WIN32
  const std::string stale = path_ + ".4711.0.tmp";
#else
  const std::string stale = folder_.File(".brontel.ini.123456.tmp");
#endif
  folder_.Write(stale, std::string(100000, 'x'));
  IniWriteString(path_, "s", "k", "1");
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(IniFileTest, AReadTellsWhenItCutAValue) {
  Put("[s]\r\nlong=" + std::string(kIniValueMaxLength + 1, 'v') +
      "\r\nfits=" + std::string(kIniValueMaxLength, 'v') + "\r\n");
  bool cut = false;
  EXPECT_EQ(IniReadString(path_, "s", "long", "", &cut).size(), kIniValueMaxLength);
  EXPECT_TRUE(cut);
  EXPECT_EQ(IniReadString(path_, "s", "fits", "", &cut).size(), kIniValueMaxLength);
  EXPECT_FALSE(cut);
}

}  // namespace
}  // namespace brontel::platform
