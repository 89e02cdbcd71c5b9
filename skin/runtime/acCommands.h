#pragma once
// The skin engine's command message and its command numbers. One list generates the
// enum, the names and the walk a test makes over every command.
#include <string_view>

#include "platform/win/WinTypes.h"

// Window message that carries a skin command: the command number in the high word of
// wParam, a small argument in the low word, the command's argument in lParam.
constexpr UINT SM_ALPHACMD = 0xA100;

// X(name, number): the numbered commands of the skin engine.
#define AC_COMMAND_LIST(X)        \
  X(AC_SETNEWSKIN, 1)             \
  X(AC_REMOVESKIN, 2)             \
  X(AC_REFRESH, 3)                \
  X(AC_GETPROVIDER, 4)            \
  X(AC_SETCHANGEDIFNECESSARY, 5)  \
  X(AC_PARENTPAINTED, 6)          \
  X(AC_CTRLHANDLED, 7)            \
  X(AC_SETSUSPENDED, 8)           \
  X(AC_LOCKBACKGROUND, 9)         \
  X(AC_ISSUSPENDED, 10)           \
  X(AC_GETPARENTCHANGED, 11)      \
  X(AC_SECTIONCHANGED, 13)        \
  X(AC_MENUS, 14)                 \
  X(AC_STOPFADING, 16)            \
  X(AC_SETDIRTY, 17)              \
  X(AC_REPAINT, 18)               \
  X(AC_GETBGCHANGED, 19)          \
  X(AC_PARENTMOVED, 20)           \
  X(AC_GETCOLOR, 21)              \
  X(AC_SETPARENTCHANGED, 22)      \
  X(AC_PREPARING, 23)             \
  X(AC_SCROLLS, 24)               \
  X(AC_CONTROLLOADED, 25)         \
  X(AC_GETSKININDEX, 26)          \
  X(AC_ADAPTERQUERY, 27)          \
  X(AC_MOUSEENTER, 29)            \
  X(AC_MOUSELEAVE, 30)            \
  X(AC_SUSPENDED, 31)             \
  X(AC_RESUMED, 32)               \
  X(AC_GETCACHE, 34)              \
  X(AC_SCROLLBARS, 35)            \
  X(AC_UPDATEOPACITY, 36)         \
  X(AC_ADAPTER51, 51)             \
  X(AC_ADAPTER52, 52)             \
  X(AC_GETAPPLICATION, 60)        \
  X(AC_GETCLIENTOFFSET, 61)

// Unscoped so that the names read as the message constants they are; CommandOf returns
// it, so every switch over a command is checked for completeness (-Wswitch-enum).
enum TacCommand : unsigned {
#define AC_COMMAND_ENUM(name, number) name = number,
  AC_COMMAND_LIST(AC_COMMAND_ENUM)
#undef AC_COMMAND_ENUM
};

// The command's constant name ("AC_GETCACHE"), or "" for a number that is no command.
std::string_view CommandName(unsigned command);

// wParam of SM_ALPHACMD: command in the high word, argument in the low word.
constexpr WPARAM MakeCommandWParam(unsigned command, unsigned argument = 0) {
  return static_cast<WPARAM>(((command & 0xFFFFu) << 16) | (argument & 0xFFFFu));
}
// The command of an SM_ALPHACMD wParam; a number that is no command stays as it is and
// goes to a switch's default.
constexpr TacCommand CommandOf(WPARAM wParam) { return static_cast<TacCommand>((wParam >> 16) & 0xFFFFu); }
constexpr unsigned CommandArgument(WPARAM wParam) { return static_cast<unsigned>(wParam & 0xFFFFu); }
