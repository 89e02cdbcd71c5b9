#pragma once
// A fresh database in a folder of its own (made the working directory, where
// the program looks for "db.mdb") and the main window, the tester, the
// question editor, the results window and the test menu made over it.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/TADOConnection.h"
#include "tests/forms/FormsTestUtil.h"

struct TQuestionRow {
  std::string Question;
  std::vector<std::string> Options;  // five
  std::string Correct;               // empty: null
};

class TestingFixture : public FormsTest {
protected:
  void SetUp() override;
  void TearDown() override;

  // Adds questions, results and users before the windows are made (or at any time).
  void AddQuestions(const std::vector<TQuestionRow>& rows);
  void AddResult(const std::string& user, int score);
  // The windows, in the program's order; `user` becomes the current user.
  void MakeWindows(const std::string& user);
  // Rows of a statement run on a connection of the test's own, every value as text.
  std::vector<std::vector<std::string>> Rows(const std::string& sql);
  // Runs a script with the main window kept hidden (no login window here).
  std::string Script(const std::vector<std::string>& lines);

  std::unique_ptr<TADOConnection> Db;

private:
  std::filesystem::path Folder_;
  std::filesystem::path Previous_;
};
