// Windows-1251 and UTF-8: every byte converts to its character and back, and the
// case folds agree with a per-character reference however the text mixes scripts.
#include <gtest/gtest.h>

#include "platform/base/Cp1251.h"

TEST(Cp1251, EveryByteConvertsToItsCharacterAndBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1251ToUtf8(all);
  std::string expected;
  for (int b = 0; b < 256; ++b) {
    // Each byte is exactly one character: Latin as itself, 0xC0-0xFF the Cyrillic
    // alphabet А..я, the rest from the table.
    const std::string one = Cp1251ToUtf8(std::string(1, static_cast<char>(b)));
    std::size_t pos = 0;
    const char32_t cp = NextCodePoint(one, pos);
    EXPECT_EQ(pos, one.size()) << b;
    if (b < 0x80) {
      EXPECT_EQ(cp, static_cast<char32_t>(b));
    }
    if (b >= 0xC0) {
      EXPECT_EQ(cp, static_cast<char32_t>(0x0410 + b - 0xC0));
    }
    expected += one;
  }
  EXPECT_EQ(utf8, expected);
  EXPECT_EQ(Cp1251ToUtf8("\xC0\xFF\xA8\xB8\x88"), "АяЁё€");
  // 0x98 has no character: it comes back as '?'; every other byte round-trips.
  std::string back = Utf8ToCp1251(utf8);
  ASSERT_EQ(back.size(), 256u);
  back[0x98] = '\x98';
  EXPECT_EQ(back, all);
  EXPECT_EQ(Cp1251ToUtf8(""), "");
}

TEST(Cp1251, CaseFoldsTreatLatinAndCyrillicAlikeAndLeaveTheRest) {
  EXPECT_EQ(UpperCaseUtf8("abc Жук ёлка xyz"), "ABC ЖУК ЁЛКА XYZ");
  EXPECT_EQ(LowerCaseUtf8("ABC ЖУК ЁЛКА XYZ"), "abc жук ёлка xyz");
  EXPECT_EQ(UpperCaseUtf8("1-2_€"), "1-2_€");
  // A broken sequence becomes the replacement character, the Latin after it folds.
  EXPECT_EQ(UpperCaseUtf8(std::string("a\xD0q", 3)), "A\xEF\xBF\xBDQ");
}
