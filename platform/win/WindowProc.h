#pragma once
// A window procedure is a function plus a context pointer, so that a C++ object
// can subclass a window with a member function and chain to the procedure it
// replaced. Plain classic procedures convert implicitly.
#include "platform/win/WinTypes.h"

using TWndProcFn = LRESULT (*)(void* context, HWND, UINT, WPARAM, LPARAM);
using TPlainWndProc = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct TWindowProc {
  TWndProcFn Fn = nullptr;
  void* Context = nullptr;

  constexpr TWindowProc() = default;
  constexpr TWindowProc(TWndProcFn fn, void* context) : Fn(fn), Context(context) {}
  // A classic procedure: the function pointer rides in the context.
  TWindowProc(TPlainWndProc plain)  // NOLINT: implicit on purpose
      : Fn(plain ? &CallPlain : nullptr), Context(reinterpret_cast<void*>(plain)) {}

  explicit operator bool() const { return Fn != nullptr; }
  LRESULT operator()(HWND h, UINT m, WPARAM w, LPARAM l) const { return Fn(Context, h, m, w, l); }
  friend bool operator==(const TWindowProc&, const TWindowProc&) = default;

private:
  static LRESULT CallPlain(void* context, HWND h, UINT m, WPARAM w, LPARAM l) {
    return reinterpret_cast<TPlainWndProc>(context)(h, m, w, l);
  }
};

using WNDPROC = TWindowProc;

// A member function of T as a window procedure bound to one object:
//   Old = SetWindowProc(h, MakeWindowProc<&TMyHook::WndProc>(this));
template <auto Method, class T>
TWindowProc MakeWindowProc(T* object) {
  return TWindowProc(
      [](void* context, HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        return (static_cast<T*>(context)->*Method)(h, m, w, l);
      },
      object);
}
