// The journal file of results not yet sent: what is written is read back whole,
// in order, and a damaged line costs only itself.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "app/data/ResultJournal.h"
#include "tests/support/TempFolder.h"

namespace {
class ResultJournalTest : public ::testing::Test {
protected:
  TTempFolder Folder_{"tb_journal_file"};
};

TEST_F(ResultJournalTest, EntriesComeBackWholeAndInOrder) {
  TResultJournal journal(Folder_ / "deep" / "results");  // folders made on the first write
  EXPECT_TRUE(journal.Entries().empty());
  const TJournalEntry a = TResultJournal::NewEntry("Смирнов\tА.\n 2", 30, std::string(64, 'f'));
  const TJournalEntry b = TResultJournal::NewEntry("", 0, "");
  const TJournalEntry c = TResultJournal::NewEntry("ivanov", 7, "tok en");
  EXPECT_NE(a.Key, b.Key);
  EXPECT_EQ(a.Key.size(), 32u);
  journal.Add(a);
  journal.Add(b);
  journal.Add(c);
  const auto read = TResultJournal(journal.File()).Entries();
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].Key, a.Key);
  EXPECT_EQ(read[0].Login, "Смирнов\tА.\n 2");
  EXPECT_EQ(read[0].Score, 30);
  EXPECT_EQ(read[0].Token, std::string(64, 'f'));
  EXPECT_EQ(read[1].Login, "");
  EXPECT_EQ(read[1].Token, "");
  EXPECT_EQ(read[2].Token, "tok en");
  journal.Remove(b.Key);
  const auto left = journal.Entries();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].Key, a.Key);
  EXPECT_EQ(left[1].Key, c.Key);
  EXPECT_FALSE(std::filesystem::exists(journal.File().string() + ".partial"));
  // The last one gone, the file goes; a new entry makes it again.
  journal.Remove(a.Key);
  journal.Remove(c.Key);
  EXPECT_FALSE(std::filesystem::exists(journal.File()));
  EXPECT_TRUE(journal.Entries().empty());
  journal.Remove(c.Key);
  journal.Add(c);
  ASSERT_EQ(journal.Entries().size(), 1u);
  EXPECT_EQ(journal.Entries()[0].Key, c.Key);
}

TEST_F(ResultJournalTest, DamagedLinesAreSkippedAndTheRestKept) {
  TResultJournal journal(Folder_ / "results");
  journal.Add(TResultJournal::NewEntry("ivanov", 12, "ab"));
  const std::string good = [&] {
    std::ifstream in(journal.File());
    std::string line;
    std::getline(in, line);
    return line;
  }();
  {
    std::ofstream out(journal.File(), std::ios::app);
    out << "short 12 6976616e6f76 6162\n"                              // key not 32 digits
        << std::string(32, 'a') << " 1000 6976616e6f76 6162\n"        // score too long
        << std::string(32, 'a') << " -1 6976616e6f76 6162\n"          // not a number
        << std::string(32, 'a') << " 5 69766 6162\n"                  // odd hex
        << std::string(32, 'a') << " 5 6976616e6f7g 6162\n"           // not hex
        << std::string(32, 'b') << " 5 6976616e6f76\n"                // written before tokens: kept
        << "\n" << good.substr(0, 20) << "\n";                        // cut short
  }
  journal.Add(TResultJournal::NewEntry("petrova", 3, "cd"));
  const auto read = journal.Entries();
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].Login, "ivanov");
  EXPECT_EQ(read[0].Token, "ab");
  EXPECT_EQ(read[1].Key, std::string(32, 'b'));
  EXPECT_EQ(read[1].Login, "ivanov");
  EXPECT_EQ(read[1].Score, 5);
  EXPECT_EQ(read[1].Token, "");
  EXPECT_EQ(read[2].Login, "petrova");
}

TEST_F(ResultJournalTest, AnUnwritableFileIsReportedNotLost) {
  std::filesystem::create_directories(Folder_);
  std::ofstream(Folder_ / "blocker") << "a file where a folder should be";
  TResultJournal journal(Folder_ / "blocker" / "results");
  EXPECT_ANY_THROW(journal.Add(TResultJournal::NewEntry("ivanov", 1, "t")));
}
}  // namespace
