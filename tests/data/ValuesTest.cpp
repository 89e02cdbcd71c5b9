// Variants, integer conversion, text comparison, marker parsing, filters and real values read as text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data/SqlMarkers.h"
#include "data/TFilterExpression.h"
#include "data/TextCollation.h"
#include "data/TextConvert.h"
#include "data/Variant.h"
#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"
#include "tests/support/ErrorOf.h"

TEST(VariantTest, ConversionsAndTheRuntimeMessages) {
  EXPECT_EQ(Variant("12").AsInteger(), 12);
  EXPECT_EQ(Variant(7).AsString(), "7");
  EXPECT_EQ(Variant().ToText(), "");
  EXPECT_EQ(ErrorOf([] { (void)Variant().AsString(); }), "Could not convert variant of type (Null) into type (OleStr)");
  EXPECT_EQ(ErrorOf([] { (void)Variant().AsInteger(); }), "Could not convert variant of type (Null) into type (Int64)");
  EXPECT_EQ(ErrorOf([] { (void)Variant("abc").AsInteger(); }), "Could not convert variant of type (OleStr) into type (Int64)");
  EXPECT_THROW((void)Variant().AsString(), EVariantError);
  EXPECT_TRUE(Variant() == Variant::Null());
  EXPECT_FALSE(Variant("1") == Variant(1));
}

TEST(TextConvertTest, ReadsLikeStrToInt) {
  EXPECT_EQ(StrToInt64("42"), 42);
  EXPECT_EQ(StrToInt64("  -5"), -5);
  EXPECT_EQ(StrToInt64("+3"), 3);
  EXPECT_EQ(StrToInt64("$1F"), 31);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  int64_t value = 0;
  for (const char* bad : {"", " ", "abc", "3 ", "1.5", "-", "9223372036854775808", "$"})
    EXPECT_FALSE(TryStrToInt64(bad, value)) << bad;
  EXPECT_EQ(ErrorOf([] { StrToInt64("abc"); }), "'abc' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { StrToInt64(""); }), "'' is not a valid integer value");
}

TEST(TextCollationTest, FoldsLatinAndCyrillic) {
  EXPECT_TRUE(SameFoldedText("Admin", "ADMIN"));
  EXPECT_TRUE(SameFoldedText("Привет, мир", "ПРИВЕТ, МИР"));
  EXPECT_TRUE(SameFoldedText("ёлка", "ЁЛКА"));
  EXPECT_FALSE(SameFoldedText("ёлка", "елка"));
  EXPECT_FALSE(SameFoldedText("abc", "abcd"));
  EXPECT_LT(CompareFoldedText("abc", "abd"), 0);
  EXPECT_GT(CompareFoldedText("б", "А"), 0);
  EXPECT_LT(CompareFoldedText("", "a"), 0);
}

TEST(TextCollationTest, LikeWildcards) {
  EXPECT_TRUE(FoldedLike("%", ""));
  EXPECT_TRUE(FoldedLike("%%", "anything"));
  EXPECT_TRUE(FoldedLike("%ПРИВ%", "Сказал: привет"));
  EXPECT_TRUE(FoldedLike("п_ивет", "ПРИВЕТ"));  // "_" is one character, even a two-byte one
  EXPECT_FALSE(FoldedLike("п_вет", "привет"));
  EXPECT_TRUE(FoldedLike("a%b%c", "aXXbYYc"));
  EXPECT_FALSE(FoldedLike("a%b%c", "aXXbYY"));
  EXPECT_TRUE(FoldedLike("%50!%%", "скидка 50% сегодня", U'!'));
  EXPECT_FALSE(FoldedLike("%50!%%", "скидка 50 сегодня", U'!'));
  EXPECT_FALSE(FoldedLike("abc", "ab"));
  EXPECT_TRUE(FoldedLike("%a%a%a%a%a%b", std::string(200, 'a') + "b"));
  EXPECT_FALSE(FoldedLike("%a%a%a%a%a%b", std::string(200, 'a')));
}

TEST(SqlMarkersTest, MarkersInOrderOutsideQuotes) {
  const SqlMarkers m = ParseSqlMarkers("select * from T where a=:a1 and b = ':no' and \"c:d\" = :Имя -- :x\n and e=:a1");
  ASSERT_EQ(m.Names.size(), 3u);
  EXPECT_EQ(m.Names[0], "a1");
  EXPECT_EQ(m.Names[1], "Имя");
  EXPECT_EQ(m.Names[2], "a1");
  EXPECT_EQ(m.EngineText, "select * from T where a=? and b = ':no' and \"c:d\" = ? -- :x\n and e=?");
  EXPECT_TRUE(ParseSqlMarkers("select '12:30', x::y from t").Names.empty());
  EXPECT_EQ(ParseSqlMarkers("values(:a1,:a2,:a3 )").EngineText, "values(?,?,? )");
}

TEST(FilterExpressionTest, ComparisonsAndQuotes) {
  auto resolve = [](std::string_view name) -> int {
    if (SameFoldedText(name, "Логин")) return 0;
    if (SameFoldedText(name, "Число")) return 1;
    return -1;
  };
  const std::vector<Variant> row = {Variant("O'Brien"), Variant(5)};
  EXPECT_TRUE(TFilterExpression("Логин = 'O''Brien'", resolve).Matches(row));
  EXPECT_TRUE(TFilterExpression("логин = 'o''brien'", resolve).Matches(row));
  EXPECT_FALSE(TFilterExpression("Логин = 'O'", resolve).Matches(row));
  EXPECT_TRUE(TFilterExpression("Число > 4 and not (Число = 6)", resolve).Matches(row));
  EXPECT_TRUE(TFilterExpression("Логин like 'o%' or Число < 0", resolve).Matches(row));
  EXPECT_TRUE(TFilterExpression("[Логин] <> 'x'", resolve).Matches(row));
  const std::vector<Variant> nullRow = {Variant(), Variant()};
  EXPECT_FALSE(TFilterExpression("Логин = ''", resolve).Matches(nullRow));
  EXPECT_TRUE(TFilterExpression("Логин is null", resolve).Matches(nullRow));
  const std::string bad =
      "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.";
  EXPECT_EQ(ErrorOf([&] { TFilterExpression("Нет = 'x'", resolve); }), bad);
  EXPECT_EQ(ErrorOf([&] { TFilterExpression("Логин = 'x", resolve); }), bad);
  EXPECT_EQ(ErrorOf([&] { TFilterExpression("Логин = 'x' garbage", resolve); }), bad);
  EXPECT_EQ(ErrorOf([&] { TFilterExpression("(Логин = 'x'", resolve); }), bad);
}

// A real column reads as text as "%.15g" prints it in the C locale (whatever
// locale the process is in at that moment).
TEST(RealValuesTest, ReadAsTextTheWayPrintfPrintsThem) {
  SKIP_UNLESS_FILE();
  TestDatabase db;
  TADOQuery query(&db.Connection());
  query.SQL().Add("select 1.5, 0.1, 1.0 / 3, 1e20, -2.5e-7, 123456789012345678.0, 100.0");
  query.Open();
  const std::vector<std::string> printed = {"1.5", "0.1", "0.333333333333333", "1e+20", "-2.5e-07",
                                            "1.23456789012346e+17", "100"};
  ASSERT_EQ(query.FieldCount(), static_cast<int>(printed.size()));
  for (int i = 0; i < query.FieldCount(); ++i) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.15g", std::stod(printed[static_cast<size_t>(i)]));
    EXPECT_EQ(query.Fields(i).AsString(), expected) << i;
    EXPECT_EQ(query.Fields(i).AsString(), printed[static_cast<size_t>(i)]) << i;
  }
}
