#include <gtest/gtest.h>

#include "platform/base/Exception.h"
#include "skin/core/acIniFile.h"
#include "tests/support/ErrorOf.h"

TEST(OptionsStore, SectionsAndKeysAreFoundIgnoringCaseAndListedInFileOrder) {
  TacIniFile ini;
  ini.LoadFromText(
      "ignored=before any section\n"
      "[ZETA]\r\n"
      "Color=1\r\n"
      "; comment=2\r\n"
      "\r\n"
      "[alpha]\r"
      "b=2\r"
      "A = 3 \r"
      "[Mid]\n"
      "no equals sign\n"
      "k=v=w\n");
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"ZETA", "alpha", "Mid"}));
  EXPECT_EQ(ini.KeyNames("ALPHA"), (std::vector<std::string>{"b", "A"}));
  EXPECT_EQ(ini.ReadString("zeta", "COLOR", "?"), "1");
  EXPECT_EQ(ini.ReadString("Alpha", "a", "?"), "3");
  EXPECT_EQ(ini.ReadString("mid", "k", "?"), "v=w");
  EXPECT_EQ(ini.ReadString("zeta", "; comment", "?"), "?");
  EXPECT_EQ(ini.ReadString("zeta", "ignored", "?"), "?");
  EXPECT_FALSE(ini.SectionExists("GLOBALINFO"));
}

TEST(OptionsStore, RepeatedHeadersContinueTheFirstSectionAndFirstKeyWins) {
  TacIniFile ini;
  ini.LoadFromText("[A]\nx=1\n[B]\n[a]\nX=2\ny=3\n");
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
  EXPECT_EQ(ini.ReadString("A", "y", ""), "3");
}

TEST(OptionsStore, Windows1251TextIsConvertedAndCyrillicNamesMatchIgnoringCase) {
  TacIniFile ini;
  ini.LoadFromCp1251("[\xCF\xC0\xCD\xC5\xCB\xDC]\nAUTHOR=\xC8\xE2\xE0\xED\n");  // [ПАНЕЛЬ] AUTHOR=Иван
  EXPECT_EQ(ini.SectionNames().front(), "ПАНЕЛЬ");
  EXPECT_EQ(ini.ReadString("панель", "author", ""), "Иван");
}

// Names are compared Latin letter by letter and folded whole from the first other
// letter on: mixed names, names past any short buffer and prefixes must all agree.
TEST(OptionsStore, MixedLongAndPrefixNamesMatchExactlyIgnoringCase) {
  EXPECT_TRUE(SameTextUtf8("abcЖук", "ABCжУК"));
  EXPECT_TRUE(SameTextUtf8("ЁЛКА", "ёлка"));
  EXPECT_FALSE(SameTextUtf8("ab", "abЖ"));
  EXPECT_FALSE(SameTextUtf8("abЖ", "ab"));
  EXPECT_FALSE(SameTextUtf8("abc", "abd"));
  EXPECT_FALSE(SameTextUtf8("Жa", "Жb"));
  EXPECT_TRUE(SameTextUtf8("", ""));
  const std::string longName(70, 'q');
  std::string longUpper(70, 'Q');
  TacIniFile ini;
  ini.LoadFromText("[Section]\n" + longName + "=long\nkeyЖ=mixed\nKEY=plain\n");
  for (int i = 0; i < 20; ++i) ini.WriteString("section", "k" + std::to_string(i), std::to_string(i));  // past the indexed size
  EXPECT_EQ(ini.ReadString("SECTION", longUpper, "?"), "long");
  EXPECT_EQ(ini.ReadString("SECTION", "KEYж", "?"), "mixed");
  EXPECT_EQ(ini.ReadString("SECTION", "key", "?"), "plain");
  EXPECT_EQ(ini.ReadString("SECTION", "ke", "?"), "?");
  EXPECT_EQ(ini.ReadString("SECTION", "K19", "?"), "19");
  longUpper.back() = 'R';
  EXPECT_EQ(ini.ReadString("SECTION", longUpper, "?"), "?");
}

TEST(OptionsStore, IntegersAreDecimalOrHexAndInvalidTextCountsAsMissing) {
  TacIniFile ini;
  ini.LoadFromText("[S]\na=42\nb=-16777201\nc=$FF\nd=0x10\ne=12abc\nf=\ng=$FFFFFFFF\nh=99999999999\ni=TRUE\nj=true\nk=1\n");
  EXPECT_EQ(ini.ReadInteger("S", "a", 7), 42);
  EXPECT_EQ(ini.ReadInteger("S", "b", 7), -16777201);
  EXPECT_EQ(ini.ReadInteger("S", "c", 7), 255);
  EXPECT_EQ(ini.ReadInteger("S", "d", 7), 16);
  EXPECT_EQ(ini.ReadInteger("S", "e", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "f", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "g", 7), -1);
  EXPECT_EQ(ini.ReadInteger("S", "h", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "missing", 7), 7);
  EXPECT_TRUE(ini.ReadBool("S", "i", false));
  EXPECT_TRUE(ini.ReadBool("S", "j", false));
  EXPECT_FALSE(ini.ReadBool("S", "k", true));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST(OptionsStore, StrictConversionNamesTheText) {
  EXPECT_EQ(StrToIntStrict("-5"), -5);
  EXPECT_EQ(ErrorOf<EConvertError>([&] { StrToIntStrict("12 px"); }), "'12 px' is not a valid integer value");
}

TEST(OptionsStore, RealsUseThePointWhateverTheLocale) {
  EXPECT_EQ(TryStrToFloatDot("6.4"), 6.4);
  EXPECT_EQ(TryStrToFloatDot("-1.5"), -1.5);
  EXPECT_EQ(TryStrToFloatDot("7"), 7.0);
  EXPECT_FALSE(TryStrToFloatDot("6,4"));
  EXPECT_FALSE(TryStrToFloatDot("inf"));
  EXPECT_FALSE(TryStrToFloatDot(""));
}

TEST(OptionsStore, WritingKeepsTheIndexesInStepWithTheSections) {
  TacIniFile ini;
  ini.LoadFromText("[A]\nx=1\n");
  ini.WriteString("a", "X", "2");        // an existing key of an existing section
  ini.WriteString("A", "y", "3");        // a new key
  ini.WriteString("Новая", "Ключ", "4");  // a new section, Cyrillic
  EXPECT_EQ(ini.ReadString("A", "x", ""), "2");
  EXPECT_EQ(ini.KeyNames("A"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(ini.ReadString("НОВАЯ", "КЛЮЧ", ""), "4");
  EXPECT_EQ(ini.SectionIndexOf("новая"), 1);
  EXPECT_EQ(ini.SectionIndexOf("none"), -1);
  ini.LoadFromText("[B]\n");
  EXPECT_FALSE(ini.SectionExists("A"));  // a reload forgets the old names
  EXPECT_EQ(ini.SectionIndexOf("b"), 0);
}
