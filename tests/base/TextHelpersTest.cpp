// The shared text helpers of platform/base: folding stays ASCII-only and trimming
// takes blanks only from the ends.
#include <gtest/gtest.h>

#include "platform/base/TextHelpers.h"

TEST(TextHelpers, LowerAsciiFoldsLatinCapitalsOnly) {
  EXPECT_EQ(LowerAscii("Content-Type: TEXT/Html; Charset=UTF-8"), "content-type: text/html; charset=utf-8");
  // Cyrillic in UTF-8 and Windows-1251 bytes pass untouched (no locale folding).
  EXPECT_EQ(LowerAscii("Учебник ABC"), "Учебник abc");
  EXPECT_EQ(LowerAscii(std::string("\xC0\xDF@[`{", 6)), std::string("\xC0\xDF@[`{", 6));
  EXPECT_EQ(LowerAscii(""), "");
}

TEST(TextHelpers, TrimBlanksTakesSpacesAndTabsFromBothEndsOnly) {
  EXPECT_EQ(TrimBlanks(" \t Data Source = db.mdb\t "), "Data Source = db.mdb");
  EXPECT_EQ(TrimBlanks(" \t \t"), "");
  EXPECT_EQ(TrimBlanks(""), "");
  // Line ends and quotes are not blanks here.
  EXPECT_EQ(TrimBlanks(" value\r"), "value\r");
  EXPECT_EQ(TrimBlanks("\"x\" "), "\"x\"");
}

TEST(TextHelpers, BoolTextIsTheWordScriptsCompare) {
  EXPECT_EQ(BoolText(true), "true");
  EXPECT_EQ(BoolText(false), "false");
}
