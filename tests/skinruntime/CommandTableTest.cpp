// The command table: one list gives numbers and names, each number once.
#include <gtest/gtest.h>

#include <set>

#include "skin/runtime/acCommands.h"

TEST(CommandTableTest, EveryCommandHasOneNumberAndItsName) {
  std::set<unsigned> numbers;
  int count = 0;
#define AC_CHECK(name, number)                              \
  EXPECT_TRUE(numbers.insert(number).second) << #name;       \
  EXPECT_EQ(CommandName(number), #name);                     \
  ++count;
  AC_COMMAND_LIST(AC_CHECK)
#undef AC_CHECK
  EXPECT_EQ(count, 36);
  EXPECT_EQ(CommandName(12), "");
  EXPECT_EQ(CommandName(0), "");
  EXPECT_EQ(SM_ALPHACMD, 0xA100u);
  EXPECT_EQ(AC_GETCACHE, 34);
  EXPECT_EQ(AC_UPDATEOPACITY, 36);
}

TEST(CommandTableTest, WParamCarriesCommandAndArgument) {
  const WPARAM w = MakeCommandWParam(AC_PARENTMOVED, 1);
  EXPECT_EQ(w, 0x00140001u);
  EXPECT_EQ(CommandOf(w), 20u);
  EXPECT_EQ(CommandArgument(w), 1u);
  EXPECT_EQ(CommandOf(MakeCommandWParam(0x1FFFF, 0x10002)), 0xFFFFu);
  EXPECT_EQ(CommandArgument(MakeCommandWParam(0x1FFFF, 0x10002)), 2u);
}
