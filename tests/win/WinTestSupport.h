#pragma once
// Shared fixture: a fresh window system on a headless desktop, and a message log.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Win.h"
#include "platform/win/WindowManager.h"
#include "platform/gfx/SystemColors.h"

struct TLoggedMessage {
  HWND Window;
  UINT Message;
  WPARAM WParam;
  LPARAM LParam;
};

// Records every message of the windows created with the "Logged" class.
class TMessageLog {
public:
  static TMessageLog& Instance() {
    static TMessageLog log;
    return log;
  }
  std::vector<TLoggedMessage> Entries;
  void Clear() { Entries.clear(); }
  // Messages of one window, filtered to `interesting` (empty = all).
  std::vector<UINT> Of(HWND window, const std::vector<UINT>& interesting = {}) const {
    std::vector<UINT> out;
    for (const auto& e : Entries) {
      if (e.Window != window) continue;
      if (!interesting.empty() && std::find(interesting.begin(), interesting.end(), e.Message) == interesting.end()) continue;
      out.push_back(e.Message);
    }
    return out;
  }
  std::vector<TLoggedMessage> All(UINT message) const {
    std::vector<TLoggedMessage> out;
    for (const auto& e : Entries) {
      if (e.Message == message) out.push_back(e);
    }
    return out;
  }
};

inline LRESULT LoggedProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  TMessageLog::Instance().Entries.push_back({h, m, w, l});
  return DefWindowProc(h, m, w, l);
}

class WinTest : public ::testing::Test {
protected:
  void SetUp() override {
    TWindowManager::Instance().Reset();
    Backend.Install();
    TMessageLog::Instance().Clear();
    WNDCLASSEX wc;
    wc.lpfnWndProc = &LoggedProc;
    wc.lpszClassName = "Logged";
    wc.style = CS_DBLCLKS;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    RegisterClassEx(wc);
  }
  void TearDown() override {
    std::vector<HWND> tops = TWindowManager::Instance().TopLevels;
    for (HWND h : tops) DestroyWindow(h);
    TWindowManager::Instance().Reset();
  }
  HWND Popup(int x, int y, int w, int h, DWORD exStyle = 0, const char* cls = "Logged") {
    return CreateWindowEx(exStyle, cls, "popup", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
  }
  HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = 0, const char* cls = "Logged") {
    return CreateWindowEx(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr, nullptr, nullptr);
  }
  TMessageLog& Log() { return TMessageLog::Instance(); }
  THeadlessBackend Backend;
};

