// The demo question bank is usable by the tester as it stands.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tools/make-workspace/QuestionBank.h"

TEST(QuestionBankTest, EnoughCompleteQuestionsWithAValidAnswer) {
  const auto questions = DemoQuestions();
  EXPECT_GE(questions.size(), 60u);
  std::set<std::string> texts;
  for (const DemoQuestion& q : questions) {
    EXPECT_TRUE(texts.insert(q.Text).second) << "repeated: " << q.Text;
    EXPECT_GE(q.Correct, 1) << q.Text;
    EXPECT_LE(q.Correct, 5) << q.Text;
    std::set<std::string> options;
    for (const char* option : q.Options) {
      ASSERT_NE(option, nullptr) << q.Text;
      EXPECT_FALSE(std::string(option).empty()) << q.Text;
      options.insert(option);
    }
    EXPECT_EQ(options.size(), 5u) << "options repeat in: " << q.Text;
  }
  // Not every answer is the same letter.
  std::set<int> letters;
  for (const DemoQuestion& q : questions) letters.insert(q.Correct);
  EXPECT_GE(letters.size(), 4u);
}
