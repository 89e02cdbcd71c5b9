#pragma once
// Computer-based-training hooks of the user-interface thread.
//
// A hook sees window creation, activation and destruction before they happen;
// a non-zero answer from the chain prevents the action. Hooks installed later
// run first, each passing on with CallNextHookEx.
#include "platform/win/WinTypes.h"

constexpr int WH_CBT = 5;

constexpr int HCBT_MOVESIZE = 0;
constexpr int HCBT_MINMAX = 1;
constexpr int HCBT_QS = 2;
constexpr int HCBT_CREATEWND = 3;
constexpr int HCBT_DESTROYWND = 4;
constexpr int HCBT_ACTIVATE = 5;
constexpr int HCBT_CLICKSKIPPED = 6;
constexpr int HCBT_KEYSKIPPED = 7;
constexpr int HCBT_SYSCOMMAND = 8;
constexpr int HCBT_SETFOCUS = 9;

// HCBT_CREATEWND: wParam = the new window, lParam = CBT_CREATEWND*.
struct CBT_CREATEWND {
  CREATESTRUCT* lpcs = nullptr;
  HWND hwndInsertAfter = nullptr;
};
// HCBT_ACTIVATE: wParam = the window being activated, lParam = CBTACTIVATESTRUCT*.
struct CBTACTIVATESTRUCT {
  bool fMouse = false;
  HWND hWndActive = nullptr;
};

using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);
// A hook procedure with a context pointer, for hooks owned by objects.
using THookProcFn = LRESULT (*)(void* context, int code, WPARAM wParam, LPARAM lParam);

// threadId is accepted for the classic signature; hooks always belong to the
// one user-interface thread. Only WH_CBT is supported (null otherwise).
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
HHOOK SetWindowsHookEx(int idHook, THookProcFn proc, void* context);
bool UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
DWORD GetCurrentThreadId();
