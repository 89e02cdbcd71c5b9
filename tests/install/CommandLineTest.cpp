// The command line: every switch of the table is parsed and listed by --help;
// anything else is an error the program ends on with status 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

TCommandLine Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "textbook");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  return ParseCommandLine(static_cast<int>(args.size()), argv.data());
}

TEST(CommandLineTest, NoArgumentsMeansTheCurrentFolder) {
  const TCommandLine line = Parse({});
  EXPECT_EQ(line.Error, "");
  EXPECT_FALSE(line.Help || line.Version || line.SkinVersion || line.UserWorkspace);
  EXPECT_EQ(line.Workspace, "");
  EXPECT_TRUE(line.DriverArguments.empty());
}

TEST(CommandLineTest, SwitchesAndTheirValues) {
  const TCommandLine line = Parse({"--script", "run.txt", "/acver", "--workspace", "/srv/класс 9А", "--headless"});
  EXPECT_EQ(line.Error, "");
  EXPECT_EQ(line.Workspace, "/srv/класс 9А");
  EXPECT_TRUE(line.SkinVersion);
  // The driver's switches go on to the program runner in the order given.
  EXPECT_EQ(line.DriverArguments, (std::vector<std::string>{"--script", "run.txt", "--headless"}));
  EXPECT_EQ(Parse({"--real-display", "--script", "a.txt"}).DriverArguments,
            (std::vector<std::string>{"--real-display", "--script", "a.txt"}));

  EXPECT_TRUE(Parse({"--user-workspace"}).UserWorkspace);
  EXPECT_TRUE(Parse({"--help"}).Help);
  EXPECT_TRUE(Parse({"--version"}).Version);
  // A value that looks like a switch is still the value: a folder may be named so.
  EXPECT_EQ(Parse({"--workspace", "--help"}).Workspace, "--help");
  EXPECT_FALSE(Parse({"--workspace", "--help"}).Help);
}

TEST(CommandLineTest, BadCommandLinesAreErrors) {
  struct TCase {
    std::vector<std::string> Args;
    std::string Message;
  };
  const TCase cases[] = {
      {{"--bogus"}, "Неизвестный ключ «--bogus»"},
      {{"-h"}, "Неизвестный ключ «-h»"},
      {{"/acversion"}, "Неизвестный ключ «/acversion»"},
      {{"--HELP"}, "Неизвестный ключ «--HELP»"},
      {{"db.mdb"}, "Лишний аргумент «db.mdb»"},
      {{"--headless", "--workspace"}, "После ключа --workspace нужно указать ПАПКА"},
      {{"--workspace", ""}, "После ключа --workspace нужно указать ПАПКА"},
      {{"--script"}, "После ключа --script нужно указать ФАЙЛ"},
      {{"--workspace", "w", "--user-workspace"}, "нельзя указывать вместе"},
      // The first error is the one reported.
      {{"--one", "--two"}, "«--one»"},
  };
  for (const TCase& c : cases) {
    const TCommandLine line = Parse(c.Args);
    EXPECT_NE(line.Error.find(c.Message), std::string::npos) << c.Args.front() << ": " << line.Error;
    EXPECT_NE(line.Error.find("textbook --help"), std::string::npos) << "says where the switches are listed";
  }
}

TEST(CommandLineTest, HelpListsEverySwitchOnceInRussian) {
  const std::string help = CommandLineHelp();
  const std::vector<std::string> switches = CommandLineSwitches();
  ASSERT_GE(switches.size(), 7u);
  for (const std::string& s : switches) {
    // At the start of its own line, after the indent.
    const std::string head = "\n  " + s + " ";
    const size_t at = help.find(head);
    EXPECT_NE(at, std::string::npos) << s;
    EXPECT_EQ(help.find(head, at + 1), std::string::npos) << s << " listed twice";
    // Every switch the help names is one the parser takes.
    EXPECT_EQ(Parse({s, "x"}).Error.find("Неизвестный"), std::string::npos) << s;
  }
  EXPECT_NE(help.find("Запуск: textbook [КЛЮЧИ]"), std::string::npos);
  EXPECT_NE(help.find("--workspace ПАПКА"), std::string::npos);
  EXPECT_NE(help.find("--script ФАЙЛ"), std::string::npos);
}

TEST(CommandLineTest, VersionNamesTheProgramAndTheProjectVersion) {
  EXPECT_EQ(CommandLineVersion(), std::string("textbook ") + TEXTBOOK_VERSION);
}

}  // namespace
