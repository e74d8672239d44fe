#include "settings/ReadingPlaces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>
#include <vector>

#include "tests/support/ScratchFolder.h"

namespace brontel {
namespace {

ReadingPlace PlaceOf(std::string path, std::int64_t top) {
  ReadingPlace place;
  place.path = std::move(path);
  place.identity = "7:42";
  place.size = 1000;
  place.SetNumber("top", top);
  return place;
}

TEST(ReadingPlacesText, AnyPathAndValueSurvivesTheStateFile) {
  ReadingPlace odd = PlaceOf("/logs/with tab\there %41 = x\r\nnext", -3);
  odd.identity.clear();
  odd.values["filter.expression"] = "a=b c\td%";
  odd.values["a later version's value"] = "";
  const std::vector<ReadingPlace> places{odd, PlaceOf("C:\\logs\\app.log", 12)};

  const std::string text = FormatPlaces(places);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
  EXPECT_EQ(ParsePlaces(text), places);
  EXPECT_EQ(ParsePlaces(text)->front().Number("top", 0), -3);
  EXPECT_EQ(ParsePlaces(text)->front().Number("filter.expression", 5), 5);
}

TEST(ReadingPlacesText, ForeignOrDamagedTextIsNoStateFile) {
  const std::string good = FormatPlaces({PlaceOf("/a.log", 1)});
  for (const std::string& bad :
       {std::string("[EXT]\n.log=10\n"), std::string(), good.substr(0, good.size() - 8),
        good + "/b.log\tx\tnot a size\t\n", good + "/b.log\t\t1\ttop=%4\n",
        good + "/b.log\t\t1\tnoequals\n"})
    EXPECT_FALSE(ParsePlaces(bad)) << bad;
}

TEST(ReadingPlacesFit, TruncatedOrReplacedLogStartsAsNew) {
  const ReadingPlace kept = PlaceOf("/a.log", 1);
  EXPECT_TRUE(PlaceStillFits(kept, "7:42", 1000));
  EXPECT_TRUE(PlaceStillFits(kept, "7:42", 5000));
  EXPECT_TRUE(PlaceStillFits(kept, "", 1000));  // the system tells no identity
  EXPECT_FALSE(PlaceStillFits(kept, "7:42", 999));
  EXPECT_FALSE(PlaceStillFits(kept, "7:43", 5000));
}

class ReadingPlacesStore : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
  ReadingPlaces places_{ReadingPlacesPathBeside(folder_.File("brontel.ini"))};
};

TEST_F(ReadingPlacesStore, KeepsTheLatestPlaceOfEachFileUpToItsLimit) {
  EXPECT_FALSE(places_.PlaceFor("/a.log", "7:42", 1000));
  places_.Keep(PlaceOf("/a.log", 1));
  places_.Keep(PlaceOf("/b.log", 2));
  places_.Keep(PlaceOf("/a.log", 3));
  EXPECT_EQ(places_.PlaceFor("/a.log", "7:42", 1000)->Number("top", 0), 3);
  EXPECT_FALSE(places_.PlaceFor("/a.log", "7:42", 10));

  for (std::size_t i = 0; i < ReadingPlaces::kMostPlaces; ++i)
    places_.Keep(PlaceOf("/many/" + std::to_string(i), 0));
  EXPECT_FALSE(places_.PlaceFor("/a.log", "7:42", 1000));  // the least recently kept went
  EXPECT_TRUE(places_.PlaceFor("/many/0", "7:42", 1000));
  EXPECT_EQ(ParsePlaces(folder_.Read("brontel.places"))->size(), ReadingPlaces::kMostPlaces);
}

TEST_F(ReadingPlacesStore, DamagedStateFileIsSetAsideAndAFreshOneStarted) {
  folder_.Write("brontel.places", "brontel reading places 1\n\x01\x02 garbage\n");
  EXPECT_FALSE(places_.PlaceFor("/a.log", "", 0));
  EXPECT_EQ(folder_.Read("brontel.places.bad"), "brontel reading places 1\n\x01\x02 garbage\n");

  places_.Keep(PlaceOf("/a.log", 4));
  EXPECT_EQ(places_.PlaceFor("/a.log", "7:42", 1000)->Number("top", 0), 4);
}

TEST_F(ReadingPlacesStore, ViewersKeepingAtOnceLoseNoPlace) {
  std::vector<std::thread> viewers;
  for (int viewer = 0; viewer < 8; ++viewer) {
    viewers.emplace_back([this, viewer] {
      for (int close = 0; close < 10; ++close)
        places_.Keep(PlaceOf("/" + std::to_string(viewer) + "-" + std::to_string(close), close));
    });
  }
  for (std::thread& viewer : viewers)
    viewer.join();
  EXPECT_EQ(ParsePlaces(folder_.Read("brontel.places"))->size(), 80u);
  EXPECT_FALSE(std::filesystem::exists(folder_.File("brontel.places.tmp")));
}

TEST_F(ReadingPlacesStore, UnwritableFolderFailsTheKeepAndNotTheRead) {
  std::filesystem::permissions(folder_.Path(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  folder_.Write("probe", "x");
  if (std::filesystem::exists(folder_.File("probe")))
    GTEST_SKIP() << "the folder stays writable for this user";
  EXPECT_ANY_THROW(places_.Keep(PlaceOf("/a.log", 1)));
  EXPECT_FALSE(places_.PlaceFor("/a.log", "7:42", 1000));
}

}  // namespace
}  // namespace brontel
