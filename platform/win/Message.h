#pragma once
// Messages: synchronous sends (re-entrant), the posted queue and the loop.
//
// GetMessage order: posted messages, then WM_PAINT for windows with an update
// region, then due WM_TIMER, then it waits for input. WM_QUIT ends the loop;
// a modal loop that sees it posts it again and returns.
#include <functional>

#include "platform/win/Messages.h"
#include "platform/win/WindowProc.h"

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// True inside a procedure that was called by SendMessage (rather than dispatched).
bool InSendMessage();

// Returns false for WM_QUIT (msg->wParam holds the exit code).
bool GetMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
bool PeekMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
bool TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// Blocks until a message is available (or returns at once on the headless backend).
bool WaitMessage();

// Runs GetMessage / TranslateMessage / DispatchMessage until WM_QUIT; returns its code.
int RunMessageLoop();
// A nested loop that runs until `done` returns true (checked after each message)
// or WM_QUIT arrives (re-posted, returns false). For modal windows.
bool RunModalLoop(const std::function<bool()>& done);
// The same with a message filter in force for the loop's duration: every loop that
// dispatches (this one, nested ones, ProcessPendingMessages) first offers each
// message to it, and a message it answers true for is taken, neither translated
// nor dispatched. A menu reads the keyboard and the clicks elsewhere this way.
bool RunModalLoop(const std::function<bool()>& done, const std::function<bool(MSG&)>& filter);
// Offers the message to the filter in force; true when the filter took it.
bool CallMessageFilter(MSG& msg);
// Handles everything pending without waiting: posted messages, paints and due
// timers. Returns false when WM_QUIT was seen (and re-posts it).
bool ProcessPendingMessages();

// Window procedures and subclassing.
TWindowProc GetWindowProc(HWND window);
// Replaces the procedure; returns the previous one, for CallWindowProc.
TWindowProc SetWindowProc(HWND window, TWindowProc proc);
LRESULT CallWindowProc(TWindowProc proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// GWLP_WNDPROC through SetWindowLongPtr trades LONG_PTR values: a stable handle
// for a procedure (interned, never freed).
LONG_PTR WindowProcHandle(TWindowProc proc);
TWindowProc WindowProcFromHandle(LONG_PTR handle);
LRESULT CallWindowProc(LONG_PTR procHandle, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The standard handling of every message (frame, hit test, system commands,
// scroll bars, erase, cursor ...).
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Broadcast helper: sends to every descendant, parents before their children,
// each window exactly once.
void SendMessageToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);
