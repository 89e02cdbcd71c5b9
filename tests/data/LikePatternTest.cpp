// The Like matcher: wildcards, case folding, escapes, large inputs, and agreement
// with a plain dynamic-programming matcher on many generated cases.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "data/LikePattern.h"
#include "data/TextCollation.h"
#include "platform/base/Cp1251.h"

namespace {

// The reference: match[i][j] = pattern[i..] matches text[j..], over folded code points.
bool ReferenceLike(const std::string& pattern, const std::string& text) {
  std::vector<char32_t> p, t;
  TLikePattern::Fold(pattern, p);
  TLikePattern::Fold(text, t);
  std::vector<std::vector<char>> m(p.size() + 1, std::vector<char>(t.size() + 1, 0));
  m[p.size()][t.size()] = 1;
  for (size_t i = p.size(); i-- > 0;)
    for (size_t j = t.size() + 1; j-- > 0;) {
      if (p[i] == U'%') m[i][j] = m[i + 1][j] || (j < t.size() && m[i][j + 1]);
      else m[i][j] = j < t.size() && (p[i] == U'_' || p[i] == t[j]) && m[i + 1][j + 1];
    }
  return m[0][0];
}

TEST(LikePatternTest, EmptyPatternAndEmptyText) {
  EXPECT_TRUE(FoldedLike("", ""));
  EXPECT_FALSE(FoldedLike("", "a"));
  EXPECT_TRUE(FoldedLike("%", ""));
  EXPECT_TRUE(FoldedLike("%%%", ""));
  EXPECT_FALSE(FoldedLike("_", ""));
  EXPECT_FALSE(FoldedLike("%_%", ""));
  EXPECT_TRUE(FoldedLike("%_%", "я"));
}

TEST(LikePatternTest, AnchoredPiecesAtBothEnds) {
  EXPECT_TRUE(FoldedLike("ab%yz", "abyz"));
  EXPECT_TRUE(FoldedLike("ab%yz", "ab--yz"));
  EXPECT_FALSE(FoldedLike("ab%yz", "aby"));      // the two ends may not overlap
  EXPECT_FALSE(FoldedLike("aba%aba", "ababa"));
  EXPECT_TRUE(FoldedLike("aba%aba", "abaaba"));
  EXPECT_FALSE(FoldedLike("abc", "abcd"));
  EXPECT_FALSE(FoldedLike("%abc", "abcd"));
  EXPECT_TRUE(FoldedLike("%abc", "xxabcabc"));
  EXPECT_TRUE(FoldedLike("abc%", "abcabcxx"));
}

TEST(LikePatternTest, UnderscoreIsOneCharacterEvenACyrillicOne) {
  EXPECT_TRUE(FoldedLike("к_т", "кот"));
  EXPECT_TRUE(FoldedLike("к_т", "КЁТ"));
  EXPECT_FALSE(FoldedLike("к_т", "кт"));
  EXPECT_FALSE(FoldedLike("к_т", "коот"));
  EXPECT_TRUE(FoldedLike("%к__т%", "бокс и крот"));
  EXPECT_TRUE(FoldedLike("%_о_%", "кот"));
  EXPECT_TRUE(FoldedLike("___", "ёжи"));
  EXPECT_FALSE(FoldedLike("___", "ёж"));
  // The longest run is the anchor; the rest is checked around each of its places.
  EXPECT_TRUE(FoldedLike("%a_bcd_e%", "xxabbcdxe abXbcdYe"));
  EXPECT_FALSE(FoldedLike("%a_bcd_e%", "xxabbcdxf abXbcdY"));
}

TEST(LikePatternTest, FoldsLatinAndCyrillicButKeepsYoApart) {
  EXPECT_TRUE(FoldedLike("%АЛГОРИТМ%", "Алгоритмы и программы"));
  EXPECT_TRUE(FoldedLike("%ёлка%", "НОВОГОДНЯЯ ЁЛКА"));
  EXPECT_FALSE(FoldedLike("%елка%", "ёлка"));
  EXPECT_TRUE(FoldedLike("%Loop%", "Циклы (LOOPS)"));
  EXPECT_FALSE(FoldedLike("%цикл%", "Цыкл"));
}

TEST(LikePatternTest, EscapeMakesWildcardsLiteral) {
  EXPECT_TRUE(FoldedLike("100!%", "100%", U'!'));
  EXPECT_FALSE(FoldedLike("100!%", "1000", U'!'));
  EXPECT_TRUE(FoldedLike("a!_b", "a_b", U'!'));
  EXPECT_FALSE(FoldedLike("a!_b", "axb", U'!'));
  EXPECT_TRUE(FoldedLike("%!!%", "a!b", U'!'));
  EXPECT_FALSE(FoldedLike("abc!", "abc!", U'!'));  // a dangling escape matches nothing
  // The escape letter folds like any other: "Ж%" is the escape and a literal "%".
  EXPECT_FALSE(FoldedLike("%Ж%", "ж", U'ж'));
  EXPECT_TRUE(FoldedLike("%Ж%", "ж%", U'ж'));
}

TEST(LikePatternTest, PeriodicPiecesNeedTheFailureTable) {
  EXPECT_TRUE(FoldedLike("%aab%", "aaab"));
  EXPECT_TRUE(FoldedLike("%abab%", "abaabab"));
  EXPECT_TRUE(FoldedLike("%aaaa%b", "aaaaaaab"));
  EXPECT_FALSE(FoldedLike("%aaab%", "aabaabaab"));
  EXPECT_TRUE(FoldedLike("%ab%ab%ab%", "ababab"));
  EXPECT_FALSE(FoldedLike("%ab%ab%ab%", "ababa"));
}

TEST(LikePatternTest, AgreesWithTheReferenceOnGeneratedCases) {
  // Small alphabets make repeats, overlaps and near misses common.
  std::mt19937 random(20261209);
  const std::vector<std::string> letters = {"a", "b", "A", "я", "Я"};
  const std::vector<std::string> marks = {"a", "b", "я", "Я", "_", "%"};
  int matched = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text, pattern;
    const int textLength = static_cast<int>(random() % 12), patternLength = static_cast<int>(random() % 8);
    for (int i = 0; i < textLength; ++i) text += letters[random() % letters.size()];
    for (int i = 0; i < patternLength; ++i) pattern += marks[random() % marks.size()];
    const bool expected = ReferenceLike(pattern, text);
    matched += expected ? 1 : 0;
    ASSERT_EQ(FoldedLike(pattern, text), expected) << "pattern '" << pattern << "' text '" << text << "'";
  }
  EXPECT_GT(matched, 200);  // the generator makes both outcomes
  EXPECT_LT(matched, 3800);
}

TEST(LikePatternTest, FourKilobyteSearchInAMegabyteTitle) {
  // The case that froze the window: a long repetitive search text against a huge
  // title, found only at the very end, and not found at all.
  const std::string title = std::string(1 << 20, 'a') + "b";
  const std::string search = std::string(4096, 'A') + "B";
  EXPECT_TRUE(FoldedLike("%" + search + "%", title));
  EXPECT_FALSE(FoldedLike("%" + search + "c%", title));
  std::string cyrillicTitle;
  for (int i = 0; i < (1 << 19); ++i) cyrillicTitle += "я";
  std::string cyrillicSearch;
  for (int i = 0; i < 2048; ++i) cyrillicSearch += "Я";
  EXPECT_TRUE(FoldedLike("%" + cyrillicSearch + "%", cyrillicTitle));
  EXPECT_FALSE(FoldedLike("%" + cyrillicSearch + "ю%", cyrillicTitle));
  // Several pieces are placed one after another in one pass.
  EXPECT_TRUE(FoldedLike("%" + search + "%" + search + "%", title + title));
  EXPECT_FALSE(FoldedLike("%" + search + "%" + search + "%", title));
}

TEST(LikePatternTest, UnderscoresInLongPiecesStayBounded) {
  // Anchored on the longest run, checked where it occurs: text × piece at worst.
  const std::string title = std::string(64 * 1024, 'a') + "xb";
  const std::string search = std::string(256, 'a') + "_b";
  EXPECT_TRUE(FoldedLike("%" + search + "%", title));
  EXPECT_FALSE(FoldedLike("%" + search + "_c%", title));
}

}  // namespace
