#include "apps/brontel/CommandLine.h"

#include <gtest/gtest.h>

namespace brontel::app {
namespace {

std::optional<CommandLine> Parse(std::vector<std::string> arguments) {
  return ParseCommandLine(arguments);
}

TEST(CommandLineTest, FilesAloneOpenWindows) {
  const auto line = Parse({"a.log", "b.log", "--settings", "dir"});
  ASSERT_TRUE(line);
  EXPECT_EQ(line->mode, RunMode::Windows);
  EXPECT_EQ(line->files, (std::vector<std::string>{"a.log", "b.log"}));
  EXPECT_EQ(line->settingsDir, "dir");
}

TEST(CommandLineTest, PrintTakesItsOptionsInAnyOrder) {
  const auto line = Parse({"x.log", "--status", "--print", "--force", "--ansi", "--complete"});
  ASSERT_TRUE(line);
  EXPECT_EQ(line->mode, RunMode::Print);
  EXPECT_TRUE(line->ansi && line->status && line->complete && line->force);
  EXPECT_FALSE(line->follow);
  EXPECT_EQ(line->files, std::vector<std::string>{"x.log"});
}

TEST(CommandLineTest, FilterOptionsGoWithPrintOnly) {
  const auto line = Parse(
      {"--print", "--filter-out", "a|b", "--only", "counted,Error", "--context", "0", "x.log"});
  ASSERT_TRUE(line);
  EXPECT_EQ(line->filterExpression, "a|b");
  EXPECT_TRUE(line->filterOut);
  EXPECT_EQ(line->onlyTypes, "counted,Error");
  EXPECT_EQ(line->context, 0);
  for (const std::vector<std::string>& refused : std::vector<std::vector<std::string>>{
           {"--print", "--filter", "a", "--filter-out", "b", "x.log"},
           {"--print", "--filter", "", "x.log"},
           {"--print", "--context", "10", "x.log"},
           {"--print", "--context", "-1", "x.log"},
           {"--filter", "a", "x.log"}})
    EXPECT_FALSE(Parse(refused)) << refused[1] << ' ' << refused[2];
}

TEST(CommandLineTest, DoubleDashEndsTheOptions) {
  const auto line = Parse({"--print", "--", "--odd-name.log"});
  ASSERT_TRUE(line);
  EXPECT_EQ(line->files, std::vector<std::string>{"--odd-name.log"});
  // A lone dash is a file name too.
  EXPECT_TRUE(Parse({"--print", "-"}));
}

TEST(CommandLineTest, DemoRunsForTheGivenSeconds) {
  const auto line = Parse({"--demo", "--seconds", "20"});
  ASSERT_TRUE(line);
  EXPECT_EQ(line->mode, RunMode::Demo);
  EXPECT_EQ(line->seconds, 20);
}

TEST(CommandLineTest, TypesGoWithEveryViewAndListStandsAlone) {
  EXPECT_EQ(Parse({"--types", "log4j", "--print", "app.log"})->types, "log4j");
  EXPECT_EQ(Parse({"a.log", "--types", "my.ini"})->types, "my.ini");
  EXPECT_EQ(Parse({"--types", "list"})->mode, RunMode::ListTypes);
  EXPECT_EQ(Parse({"--version"})->mode, RunMode::Version);
  for (const std::vector<std::string>& refused :
       {std::vector<std::string>{"--types", "list", "a.log"},
        {"--types", "list", "--print", "a.log"},
        {"--types", "", "a.log"},
        {"--types"},
        {"--version", "a.log"}})
    EXPECT_FALSE(Parse(refused)) << refused.front() << ' ' << refused.back();
}

TEST(CommandLineTest, RefusesWhatMakesNoSense) {
  const std::vector<std::vector<std::string>> refused = {
      {},                                          // nothing to show
      {"--print"},                                 // print without a file
      {"--print", "a.log", "b.log"},               // print shows one file
      {"--demo", "a.log"},                         // the demo brings its own log
      {"--demo", "--print", "a.log"},              // two modes
      {"--ansi", "a.log"},                         // print options without --print
      {"--demo", "--force"},                       //
      {"--print", "--complete", "--follow", "a"},  // the complete view is not followed
      {"--print", "a.log", "--settings"},          // a value missing
      {"--demo", "--seconds", "0"},                //
      {"--demo", "--seconds", "5s"},               //
      {"--print", "--colour", "a.log"},            // unknown option
  };
  for (const auto& arguments : refused) {
    std::string joined;
    for (const std::string& argument : arguments)
      joined += argument + ' ';
    EXPECT_FALSE(Parse(arguments)) << joined;
  }
}

}  // namespace
}  // namespace brontel::app
