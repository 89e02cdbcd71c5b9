// Sending, posting, the message loop and window procedures.
#include "platform/win/Message.h"

#include <algorithm>
#include <deque>

#include "platform/win/Input.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WindowManager.h"

namespace {

bool MatchesFilter(HWND msgWindow, UINT message, HWND filter, UINT min, UINT max) {
  if (filter && msgWindow != filter && !IsChild(filter, msgWindow)) return false;
  if (min == 0 && max == 0) return true;
  return message >= min && message <= max;
}

bool RangeHas(UINT message, UINT min, UINT max) { return (min == 0 && max == 0) || (message >= min && message <= max); }

// The next due timer for the filter; system timers run on the way.
bool NextTimerMessage(MSG* msg, HWND filter, bool remove) {
  auto& wm = WM();
  for (;;) {
    std::uint64_t now = wm.Backend().Now();
    TTimerEntry* best = nullptr;
    for (auto& t : wm.Timers) {
      if (t.Due > now) continue;
      if (!t.System && filter && t.Window != filter && !IsChild(filter, t.Window)) continue;
      if (!best || t.Due < best->Due || (t.Due == best->Due && t.Seq < best->Seq)) best = &t;
    }
    if (!best) return false;
    if (best->System) {
      std::uint64_t seq = best->Seq;
      best->Due = now + best->Interval;
      std::function<void()> callback = best->System;
      (void)seq;
      callback();
      continue;
    }
    msg->hwnd = best->Window;
    msg->message = WM_TIMER;
    msg->wParam = best->Id;
    msg->lParam = reinterpret_cast<LPARAM>(best->Proc);
    msg->time = static_cast<DWORD>(now);
    msg->pt = wm.MousePos;
    if (remove) best->Due = now + best->Interval;
    return true;
  }
}

bool PeekInternal(MSG* msg, HWND filter, UINT min, UINT max, bool remove) {
  auto& wm = WM();
  for (auto it = wm.Queue.begin(); it != wm.Queue.end(); ++it) {
    if (!MatchesFilter(it->hwnd, it->message, filter, min, max)) continue;
    *msg = *it;
    if (remove) wm.Queue.erase(it);
    return true;
  }
  if (wm.QuitPosted && !filter) {
    *msg = MSG{};
    msg->message = WM_QUIT;
    msg->wParam = static_cast<WPARAM>(wm.QuitCode);
    if (remove) wm.QuitPosted = false;
    return true;
  }
  if (RangeHas(WM_PAINT, min, max) && NextPaintMessage(msg, filter)) return true;
  if (RangeHas(WM_TIMER, min, max) && NextTimerMessage(msg, filter, remove)) return true;
  return false;
}

std::deque<TWindowProc>& InternedProcs() {
  static std::deque<TWindowProc> procs;
  return procs;
}

}  // namespace

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& wm = WM();
  TWindow* w = wm.Find(window);
  if (!w) return 0;
  TWindowProc proc = w->Proc;
  ++wm.SendDepth;
  LRESULT result = proc ? proc(window, message, wParam, lParam) : DefWindowProc(window, message, wParam, lParam);
  --wm.SendDepth;
  return result;
}

bool InSendMessage() { return WM().SendDepth > 0; }

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& wm = WM();
  if (window && !wm.Find(window)) return false;
  MSG msg;
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  msg.pt = wm.MousePos;
  wm.Queue.push_back(msg);
  wm.Backend().Wake();
  return true;
}

void PostQuitMessage(int exitCode) {
  auto& wm = WM();
  wm.QuitPosted = true;
  wm.QuitCode = exitCode;
  wm.Backend().Wake();
}

bool PeekMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) return false;
  bool found = PeekInternal(msg, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0);
  if (!found) FlushPresents();
  return found;
}

bool GetMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  if (!msg) return false;
  auto& wm = WM();
  for (;;) {
    if (PeekInternal(msg, window, filterMin, filterMax, true)) return msg->message != WM_QUIT;
    FlushPresents();
    wm.Backend().WaitForInput(NextTimerDelay());
  }
}

bool WaitMessage() {
  auto& wm = WM();
  MSG msg;
  if (PeekInternal(&msg, nullptr, 0, 0, false)) return true;
  FlushPresents();
  wm.Backend().WaitForInput(NextTimerDelay());
  return true;
}

bool TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return false;
  // Printable characters arrive as text input; the keys below make characters of their own.
  int vk = static_cast<int>(msg->wParam);
  WPARAM ch = 0;
  bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  switch (vk) {
    case VK_RETURN: ch = '\r'; break;
    case VK_BACK: ch = 8; break;
    case VK_TAB: ch = '\t'; break;
    case VK_ESCAPE: ch = 27; break;
    default:
      if (ctrl && vk >= 'A' && vk <= 'Z') ch = static_cast<WPARAM>(vk - 'A' + 1);
      break;
  }
  if (!ch) return false;
  PostMessage(msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, ch, msg->lParam);
  return true;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  if (!msg->hwnd) return 0;
  LRESULT result = SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  if (msg->message == WM_PAINT) {
    // A procedure that painted without BeginPaint must not get WM_PAINT forever.
    if (TWindow* w = FindWindowObject(msg->hwnd)) {
      w->Update.Clear();
      w->InternalPaint = false;
      w->EraseNeeded = false;
    }
  }
  return result;
}

namespace {
const std::function<bool(MSG&)>* gMessageFilter = nullptr;
}  // namespace

bool CallMessageFilter(MSG& msg) { return gMessageFilter && *gMessageFilter && (*gMessageFilter)(msg); }

int RunMessageLoop() {
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    if (CallMessageFilter(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return static_cast<int>(msg.wParam);
}

bool RunModalLoop(const std::function<bool()>& done) { return RunModalLoop(done, nullptr); }

bool RunModalLoop(const std::function<bool()>& done, const std::function<bool(MSG&)>& filter) {
  // A loop nested in a filtered one (a box shown while a menu is open) reads its
  // own messages; the outer filter is back when it ends.
  const std::function<bool(MSG&)>* previous = gMessageFilter;
  gMessageFilter = filter ? &filter : nullptr;
  struct TRestore {
    const std::function<bool(MSG&)>* Previous;
    ~TRestore() { gMessageFilter = Previous; }
  } restore{previous};
  MSG msg;
  while (!done()) {
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (CallMessageFilter(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return true;
}

bool ProcessPendingMessages() {
  MSG msg;
  while (PeekInternal(&msg, nullptr, 0, 0, true)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      FlushPresents();
      return false;
    }
    if (CallMessageFilter(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  FlushPresents();
  return true;
}

// --- procedures ----------------------------------------------------------------------

TWindowProc GetWindowProc(HWND window) {
  TWindow* w = FindWindowObject(window);
  return w ? w->Proc : TWindowProc();
}

TWindowProc SetWindowProc(HWND window, TWindowProc proc) {
  TWindow* w = FindWindowObject(window);
  if (!w) return {};
  TWindowProc old = w->Proc;
  w->Proc = proc;
  return old;
}

LRESULT CallWindowProc(TWindowProc proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return DefWindowProc(window, message, wParam, lParam);
  return proc(window, message, wParam, lParam);
}

LONG_PTR WindowProcHandle(TWindowProc proc) {
  if (!proc) return 0;
  auto& procs = InternedProcs();
  for (const TWindowProc& p : procs) {
    if (p == proc) return reinterpret_cast<LONG_PTR>(&p);
  }
  procs.push_back(proc);
  return reinterpret_cast<LONG_PTR>(&procs.back());
}

TWindowProc WindowProcFromHandle(LONG_PTR handle) {
  if (!handle) return {};
  for (const TWindowProc& p : InternedProcs()) {
    if (reinterpret_cast<LONG_PTR>(&p) == handle) return p;
  }
  return {};
}

LRESULT CallWindowProc(LONG_PTR procHandle, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProc(WindowProcFromHandle(procHandle), window, message, wParam, lParam);
}

// --- timers ---------------------------------------------------------------------------

namespace {

constexpr UINT kMinimumTimerInterval = 10;

UINT_PTR AddTimer(HWND window, UINT_PTR id, UINT interval, TIMERPROC proc, std::function<void()> system) {
  auto& wm = WM();
  if (window && !wm.Find(window)) return 0;
  interval = std::max(interval, kMinimumTimerInterval);
  if (!window && id == 0) id = ++wm.NextThreadTimerId;
  bool isSystem = static_cast<bool>(system);
  for (auto& t : wm.Timers) {
    if (t.Window == window && t.Id == id && static_cast<bool>(t.System) == isSystem) {
      t.Interval = interval;
      t.Due = wm.Backend().Now() + interval;
      t.Seq = ++wm.TimerSeq;
      t.Proc = proc;
      t.System = std::move(system);
      return id == 0 ? 1 : id;
    }
  }
  TTimerEntry t;
  t.Window = window;
  t.Id = id;
  t.Interval = interval;
  t.Due = wm.Backend().Now() + interval;
  t.Seq = ++wm.TimerSeq;
  t.Proc = proc;
  t.System = std::move(system);
  wm.Timers.push_back(std::move(t));
  return id == 0 ? 1 : id;
}

bool RemoveTimer(HWND window, UINT_PTR id, bool system) {
  auto& wm = WM();
  auto n = std::erase_if(wm.Timers, [&](const TTimerEntry& t) {
    return t.Window == window && t.Id == id && static_cast<bool>(t.System) == system;
  });
  return n > 0;
}

}  // namespace

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT interval, TIMERPROC proc) {
  return AddTimer(window, id, interval, proc, nullptr);
}

bool KillTimer(HWND window, UINT_PTR id) { return RemoveTimer(window, id, false); }

UINT_PTR SetSystemTimer(HWND window, UINT_PTR id, UINT interval, std::function<void()> callback) {
  return AddTimer(window, id, interval, nullptr, std::move(callback));
}

void KillSystemTimer(HWND window, UINT_PTR id) { RemoveTimer(window, id, true); }

void KillWindowTimers(HWND window) {
  std::erase_if(WM().Timers, [window](const TTimerEntry& t) { return t.Window == window; });
}

int NextTimerDelay() {
  auto& wm = WM();
  if (wm.Timers.empty()) return -1;
  std::uint64_t now = wm.Backend().Now();
  std::uint64_t next = UINT64_MAX;
  for (const auto& t : wm.Timers) next = std::min(next, t.Due);
  return next <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(next - now, 0x7FFFFFFF));
}
