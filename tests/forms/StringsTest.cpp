#include <gtest/gtest.h>

#include "forms/Font.h"
#include "forms/StringList.h"
#include "platform/base/Exception.h"

TEST(StringList, AddInsertDeleteAndIndexOf) {
  TStringList list;
  list.Add("one");
  list.Add("three");
  list.Insert(1, "two");
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list[1], "two");
  EXPECT_EQ(list.IndexOf("three"), 2);
  EXPECT_EQ(list.IndexOf("THREE"), 2);  // case folded by default, as classically
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("THREE"), -1);
  list.Delete(0);
  EXPECT_EQ(list.Text(), "two\nthree\n");
  EXPECT_THROW(list.Delete(5), Exception);
  EXPECT_THROW(list.Get(-1), Exception);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
}

TEST(StringList, CyrillicIndexOfFoldsCase) {
  TStringList list;
  list.Add("Привет");
  EXPECT_EQ(list.IndexOf("ПРИВЕТ"), 0);
}

TEST(StringList, TextSplitsEveryKindOfLineBreak) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd");
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list[3], "d");
  list.SetText("x\n\ny\n");
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list[1], "");
  EXPECT_EQ(list[2], "y");
}

TEST(StringList, SortedListsKeepOrderAndApplyDuplicates) {
  TStringList list;
  list.Add("pear");
  list.Add("apple");
  list.SetSorted(true);
  EXPECT_EQ(list[0], "apple");
  EXPECT_EQ(list.Add("banana"), 1);
  EXPECT_EQ(list.Add("banana"), 1);  // ignored
  EXPECT_EQ(list.Count(), 3);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("pear"), Exception);
  list.SetDuplicates(dupAccept);
  list.Add("pear");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_THROW(list.Insert(0, "zzz"), Exception);
}

TEST(StringList, ObjectsTravelWithTheirLines) {
  TStringList list;
  TObject a, b;
  list.AddObject("a", &a);
  list.AddObject("b", &b);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Objects(0), &b);
  EXPECT_EQ(list[0], "b");
  list.Move(0, 1);
  EXPECT_EQ(list.Objects(1), &b);
  EXPECT_EQ(list.IndexOfObject(&a), 0);
}

TEST(StringList, OnChangeFiresOncePerUpdateBlock) {
  TStringList list;
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  list.BeginUpdate();
  list.Add("b");
  list.Add("c");
  list.Delete(0);
  EXPECT_EQ(changes, 1);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
  list.SetText("x\ny");
  EXPECT_EQ(changes, 3);
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  TStringList list;
  list.Add("plain");
  list.Add("two words");
  list.Add("say \"hi\"");
  EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"say \"\"hi\"\"\"");
  TStringList back;
  back.SetCommaText(list.CommaText());
  EXPECT_EQ(back.ToVector(), list.ToVector());
}

TEST(StringList, AssignCopiesLinesAndObjects) {
  TStringList a, b;
  TObject o;
  a.AddObject("x", &o);
  b.Add("old");
  b.Assign(a);
  ASSERT_EQ(b.Count(), 1);
  EXPECT_EQ(b.Objects(0), &o);
  TFont font;
  EXPECT_THROW(b.Assign(font), EConvertError);
}

TEST(Font, SizeAndHeightFollowNinetySixDpi) {
  TFont font;
  EXPECT_EQ(font.Size(), 8);
  font.SetSize(20);
  EXPECT_EQ(font.Height(), -27);
  font.SetHeight(-21);
  EXPECT_EQ(font.Size(), 16);
  font.SetStyle({fsBold, fsItalic});
  TLogFont lf = font.LogFont();
  EXPECT_EQ(lf.Weight, FW_BOLD);
  EXPECT_TRUE(lf.Italic);
  EXPECT_FALSE(lf.Underline);
}

TEST(Font, ChangeEventFiresOnlyOnRealChanges) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.SetName("Arial");
  font.SetName("Arial");
  font.SetColor(clRed);
  TFont other;
  other.Assign(font);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(other.Name(), "Arial");
  EXPECT_EQ(other.Color(), clRed);
}
