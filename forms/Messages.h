#pragma once
// The framework's own notifications, numbered as the classic framework numbers
// them: the skin engine compares and sends them as plain integers.
#include <cstdint>

constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
constexpr unsigned CM_DEACTIVATE = CM_BASE + 1;
constexpr unsigned CM_GOTFOCUS = CM_BASE + 2;
constexpr unsigned CM_LOSTFOCUS = CM_BASE + 3;
constexpr unsigned CM_CANCELMODE = CM_BASE + 4;
constexpr unsigned CM_DIALOGKEY = CM_BASE + 5;
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr unsigned CM_HITTEST = CM_BASE + 10;
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 11;
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;
constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;
constexpr unsigned CM_CURSORCHANGED = CM_BASE + 15;
constexpr unsigned CM_CTL3DCHANGED = CM_BASE + 16;
constexpr unsigned CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;
constexpr unsigned CM_MENUCHANGED = CM_BASE + 21;
constexpr unsigned CM_APPKEYDOWN = CM_BASE + 22;
constexpr unsigned CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 24;
constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr unsigned CM_ENTER = CM_BASE + 26;
constexpr unsigned CM_EXIT = CM_BASE + 27;
constexpr unsigned CM_DESIGNHITTEST = CM_BASE + 28;
constexpr unsigned CM_ICONCHANGED = CM_BASE + 29;
constexpr unsigned CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr unsigned CM_INVOKEHELP = CM_BASE + 31;
constexpr unsigned CM_WINDOWHOOK = CM_BASE + 32;
constexpr unsigned CM_RELEASE = CM_BASE + 33;
constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr unsigned CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr unsigned CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr unsigned CM_WININICHANGE = CM_BASE + 37;
constexpr unsigned CM_FONTCHANGE = CM_BASE + 38;
constexpr unsigned CM_TIMECHANGE = CM_BASE + 39;
constexpr unsigned CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr unsigned CM_UIACTIVATE = CM_BASE + 41;
constexpr unsigned CM_UIDEACTIVATE = CM_BASE + 42;
constexpr unsigned CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr unsigned CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr unsigned CM_GETDATALINK = CM_BASE + 45;
constexpr unsigned CM_CHILDKEY = CM_BASE + 46;
constexpr unsigned CM_DRAG = CM_BASE + 47;
constexpr unsigned CM_HINTSHOW = CM_BASE + 48;
constexpr unsigned CM_DIALOGHANDLE = CM_BASE + 49;
constexpr unsigned CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr unsigned CM_RECREATEWND = CM_BASE + 51;
constexpr unsigned CM_INVALIDATE = CM_BASE + 52;
constexpr unsigned CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr unsigned CM_CONTROLCHANGE = CM_BASE + 54;
constexpr unsigned CM_CHANGED = CM_BASE + 55;
constexpr unsigned CM_DOCKCLIENT = CM_BASE + 56;
constexpr unsigned CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr unsigned CM_FLOAT = CM_BASE + 58;
constexpr unsigned CM_BORDERCHANGED = CM_BASE + 59;
constexpr unsigned CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr unsigned CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr unsigned CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr unsigned CM_ACTIONUPDATE = CM_BASE + 63;
constexpr unsigned CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr unsigned CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr unsigned CM_DOCKNOTIFICATION = CM_BASE + 66;
constexpr unsigned CM_MOUSEWHEEL = CM_BASE + 67;

// Notifications a parent reflects back to the child that caused them.
constexpr unsigned CN_BASE = 0xBC00;

// One message on its way through a control: the classic record.
struct TMessage {
  unsigned Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;

  unsigned WParamLo() const { return static_cast<unsigned>(WParam & 0xFFFF); }
  unsigned WParamHi() const { return static_cast<unsigned>((WParam >> 16) & 0xFFFF); }
  int LParamLoSigned() const { return static_cast<std::int16_t>(LParam & 0xFFFF); }
  int LParamHiSigned() const { return static_cast<std::int16_t>((LParam >> 16) & 0xFFFF); }
};
