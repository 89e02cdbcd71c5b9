#pragma once
// Cursor shapes. A cursor handle is the classic resource id of the shape.
#include "platform/win/WinTypes.h"

enum class TCursorShape { Arrow, IBeam, Wait, Cross, UpArrow, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand, AppStarting, Help };

constexpr std::uintptr_t IDC_ARROW = 32512;
constexpr std::uintptr_t IDC_IBEAM = 32513;
constexpr std::uintptr_t IDC_WAIT = 32514;
constexpr std::uintptr_t IDC_CROSS = 32515;
constexpr std::uintptr_t IDC_UPARROW = 32516;
constexpr std::uintptr_t IDC_SIZENWSE = 32642;
constexpr std::uintptr_t IDC_SIZENESW = 32643;
constexpr std::uintptr_t IDC_SIZEWE = 32644;
constexpr std::uintptr_t IDC_SIZENS = 32645;
constexpr std::uintptr_t IDC_SIZEALL = 32646;
constexpr std::uintptr_t IDC_NO = 32648;
constexpr std::uintptr_t IDC_HAND = 32649;
constexpr std::uintptr_t IDC_APPSTARTING = 32650;
constexpr std::uintptr_t IDC_HELP = 32651;

// LoadCursor(nullptr, IDC_ARROW) and friends; null for an unknown id.
HCURSOR LoadCursor(HINSTANCE instance, std::uintptr_t id);
// Sets the shown cursor; returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The shape a cursor handle stands for (Arrow for unknown handles).
TCursorShape CursorShape(HCURSOR cursor);
bool GetCursorPos(TPoint* point);
bool SetCursorPos(int x, int y);
