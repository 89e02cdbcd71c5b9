// A few windows of the window system on either backend: an overlapped window
// with a hover button and an animated bar, a scrolled list, a topmost tool
// window with a clock, a translucent window and a per-pixel alpha halo.
//
//   win-demo                       on the screen (SDL)
//   win-demo --headless --shot F   on the virtual desktop; writes the desktop to F
//   --still                        without the animation and clock timers
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/backend/HeadlessBackend.h"
#include "platform/backend/SdlBackend.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SystemColors.h"
#include "platform/gfx/Text.h"
#include "platform/gfx/TextFlags.h"
#include "platform/win/Win.h"

namespace {

constexpr UINT_PTR kAnimTimer = 1;
constexpr UINT_PTR kClockTimer = 2;
constexpr int kLineHeight = 18;
constexpr int kLineCount = 60;

HFONT UiFont() {
  static HFONT font = nullptr;
  if (!font) {
    TLogFont lf;
    lf.FaceName = "Arial";
    lf.Height = -13;
    font = CreateFontIndirect(lf);
  }
  return font;
}

void Text(HDC dc, const std::string& text, TRect r, unsigned format, TColor color) {
  HFONT old = dc->SelectFont(UiFont());
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(color);
  dc->DrawText(text, r, format | DT_NOPREFIX);
  dc->SelectFont(old);
}

// --- the main window and its button --------------------------------------------------

int gProgress = 0;
int gClicks = 0;
bool gStill = false;  // no timers: nothing to do between events

LRESULT ButtonProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_MOUSEMOVE:
      if (!GetProp(h, "hot")) {
        SetProp(h, "hot", h);
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = h;
        TrackMouseEvent(&tme);
        InvalidateRect(h, nullptr, false);
      }
      return 0;
    case WM_MOUSELEAVE:
      RemoveProp(h, "hot");
      InvalidateRect(h, nullptr, false);
      return 0;
    case WM_LBUTTONDOWN:
      ++gClicks;
      InvalidateRect(h, nullptr, false);
      InvalidateRect(GetParent(h), nullptr, false);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      TRect r = ClientRect(h);
      bool hot = GetProp(h, "hot") != nullptr;
      dc->FillRect(r, hot ? static_cast<TColor>(RGB(0x8C, 0xDA, 0xFB)) : static_cast<TColor>(RGB(0xD0, 0xEB, 0xFF)));
      TRect edge = r;
      HBRUSH navy = CreateSolidBrush(RGB(0x24, 0x39, 0x53));
      dc->FrameRect(edge, navy);
      DeleteObject(navy);
      Text(dc, "Нажми меня", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, RGB(0x24, 0x39, 0x53));
      EndPaint(h, &ps);
      return 0;
    }
    case WM_SETCURSOR:
      SetCursor(LoadCursor(nullptr, IDC_HAND));
      return 1;
    default:
      return DefWindowProc(h, m, w, l);
  }
}

LRESULT MainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_CREATE:
      if (!gStill) SetTimer(h, kAnimTimer, 50, nullptr);
      CreateWindowEx(0, "DemoButton", "", WS_CHILD | WS_VISIBLE, 20, 120, 140, 32, h, nullptr, nullptr, nullptr);
      return 0;
    case WM_TIMER:
      if (w == kAnimTimer) {
        gProgress = (gProgress + 2) % 101;
        TRect bar{20, 80, 420, 100};
        InvalidateRect(h, &bar, false);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      TRect r = ClientRect(h);
      dc->FillRect(r, static_cast<TColor>(RGB(0xD1, 0xDB, 0xE4)));
      Text(dc, "Окно с рамкой по умолчанию: заголовок, кнопки, рамка изменения размера.", {20, 16, r.Right - 20, 36},
           DT_LEFT | DT_SINGLELINE, RGB(0x24, 0x39, 0x53));
      Text(dc, "Таймер двигает полосу каждые 50 мс; кнопка подсвечивается под мышью.", {20, 40, r.Right - 20, 60},
           DT_LEFT | DT_SINGLELINE, RGB(0x24, 0x39, 0x53));
      TRect bar{20, 80, 420, 100};
      dc->FillRect(bar, static_cast<TColor>(RGB(0xFF, 0xFF, 0xFF)));
      TRect done{bar.Left, bar.Top, bar.Left + bar.Width() * gProgress / 100, bar.Bottom};
      dc->FillRect(done, static_cast<TColor>(RGB(0x49, 0x78, 0xAB)));
      Text(dc, "Нажатий: " + std::to_string(gClicks), {180, 120, 420, 152}, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
           RGB(0x24, 0x39, 0x53));
      EndPaint(h, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProc(h, m, w, l);
  }
}

// --- the scrolled list ------------------------------------------------------------------

LRESULT ListProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_SIZE: {
      SCROLLINFO si;
      si.fMask = SIF_RANGE | SIF_PAGE;
      si.nMin = 0;
      si.nMax = kLineCount - 1;
      si.nPage = static_cast<UINT>(HIWORD(static_cast<std::uintptr_t>(l)) / kLineHeight);
      SetScrollInfo(h, SB_VERT, &si, true);
      si.nMax = 99;
      si.nPage = static_cast<UINT>(LOWORD(static_cast<std::uintptr_t>(l)) / 8);
      SetScrollInfo(h, SB_HORZ, &si, true);
      return 0;
    }
    case WM_VSCROLL: {
      SCROLLINFO si;
      si.fMask = SIF_ALL;
      GetScrollInfo(h, SB_VERT, &si);
      int pos = si.nPos;
      switch (LOWORD(w)) {
        case SB_LINEUP: --pos; break;
        case SB_LINEDOWN: ++pos; break;
        case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK: pos = si.nTrackPos; break;
        default: break;
      }
      if (SetScrollPos(h, SB_VERT, pos, true) != pos) InvalidateRect(h, nullptr, true);
      return 0;
    }
    case WM_HSCROLL: {
      int pos = GetScrollPos(h, SB_HORZ);
      switch (LOWORD(w)) {
        case SB_LINELEFT: --pos; break;
        case SB_LINERIGHT: ++pos; break;
        case SB_PAGELEFT: pos -= 10; break;
        case SB_PAGERIGHT: pos += 10; break;
        case SB_THUMBTRACK: pos = HIWORD(w); break;
        default: break;
      }
      SetScrollPos(h, SB_HORZ, pos, true);
      InvalidateRect(h, nullptr, true);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      int notches = GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA;
      for (int i = 0; i < std::abs(notches); ++i) SendMessage(h, WM_VSCROLL, notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      TRect r = ClientRect(h);
      int first = GetScrollPos(h, SB_VERT);
      int dx = GetScrollPos(h, SB_HORZ) * 8;
      for (int i = 0; first + i < kLineCount && i * kLineHeight < r.Bottom; ++i) {
        TRect line{0, i * kLineHeight, r.Right, (i + 1) * kLineHeight};
        dc->FillRect(line, ((first + i) % 2) ? static_cast<TColor>(RGB(0xEC, 0xE9, 0xD8)) : static_cast<TColor>(clWhite));
        Text(dc, "Строка " + std::to_string(first + i + 1) + " — лекция, лабораторная или видео", line.Offset(6 - dx, 0),
             DT_LEFT | DT_VCENTER | DT_SINGLELINE, RGB(0x24, 0x39, 0x53));
      }
      EndPaint(h, &ps);
      return 0;
    }
    default:
      return DefWindowProc(h, m, w, l);
  }
}

// --- the topmost clock ---------------------------------------------------------------------

LRESULT ClockProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_CREATE:
      if (!gStill) SetTimer(h, kClockTimer, 100, nullptr);
      return 0;
    case WM_TIMER:
      InvalidateRect(h, nullptr, false);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      TRect r = ClientRect(h);
      dc->FillRect(r, static_cast<TColor>(RGB(0x24, 0x39, 0x53)));
      char buffer[32];
      DWORD t = GetTickCount();
      std::snprintf(buffer, sizeof buffer, "%u.%u с", t / 1000, (t / 100) % 10);
      Text(dc, buffer, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, clWhite);
      EndPaint(h, &ps);
      return 0;
    }
    default:
      return DefWindowProc(h, m, w, l);
  }
}

LRESULT GlassProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    TRect r = ClientRect(h);
    dc->FillRect(r, static_cast<TColor>(RGB(0x2E, 0x8C, 0xD1)));
    Text(dc, "Полупрозрачное окно (альфа 170)", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, clWhite);
    EndPaint(h, &ps);
    return 0;
  }
  if (m == WM_NCHITTEST) {
    LRESULT hit = DefWindowProc(h, m, w, l);
    return hit == HTCLIENT ? HTCAPTION : hit;  // drag it by its body
  }
  return DefWindowProc(h, m, w, l);
}

LRESULT HaloProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProc(h, m, w, l);
}

// A soft ring with premultiplied per-pixel alpha.
TBitmap HaloImage(int size) {
  TBitmap image(size, size, TPixelFormat::pf32bit, true);
  double c = (size - 1) / 2.0;
  for (int y = 0; y < size; ++y) {
    std::uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < size; ++x, p += 4) {
      double d = std::hypot(x - c, y - c) / c;
      double a = d > 1.0 ? 0.0 : std::exp(-std::pow((d - 0.7) / 0.18, 2.0));
      auto alpha = static_cast<std::uint8_t>(std::lround(a * 255.0));
      p[0] = static_cast<std::uint8_t>(alpha * 0x3B / 255);
      p[1] = static_cast<std::uint8_t>(alpha * 0x30 / 255);
      p[2] = static_cast<std::uint8_t>(alpha * 0xE8 / 255);
      p[3] = alpha;
    }
  }
  return image;
}

void Register(const char* name, TPlainWndProc proc, UINT style = 0) {
  WNDCLASSEX wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassEx(wc);
}

void CreateDemoWindows() {
  Register("DemoMain", &MainProc, CS_DBLCLKS);
  Register("DemoButton", &ButtonProc);
  Register("DemoList", &ListProc);
  Register("DemoClock", &ClockProc);
  Register("DemoGlass", &GlassProc);
  Register("DemoHalo", &HaloProc);
  CreateWindowEx(0, "DemoMain", "Окно программы", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 620, 360, nullptr, nullptr,
                 nullptr, nullptr);
  CreateWindowEx(WS_EX_CLIENTEDGE, "DemoList", "Список с прокруткой",
                 WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 720, 90, 420, 330, nullptr, nullptr,
                 nullptr, nullptr);
  CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "DemoClock", "Поверх всех", WS_POPUP | WS_CAPTION | WS_SYSMENU |
                 WS_VISIBLE, 560, 340, 200, 80, nullptr, nullptr, nullptr, nullptr);
  HWND glass = CreateWindowEx(WS_EX_LAYERED, "DemoGlass", "", WS_POPUP | WS_BORDER, 200, 470, 360, 110, nullptr,
                              nullptr, nullptr, nullptr);
  SetLayeredWindowAttributes(glass, 0, 170, LWA_ALPHA);
  ShowWindow(glass, SW_SHOWNA);
  HWND halo = CreateWindowEx(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "DemoHalo", "",
                             WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  TBitmap ring = HaloImage(200);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  TPoint at{820, 470};
  TSize size{200, 200};
  UpdateLayeredWindow(halo, &at, &size, ring, nullptr, 0, &blend, ULW_ALPHA);
  ShowWindow(halo, SW_SHOWNA);
}

int RunHeadless(const std::string& shot) {
  THeadlessBackend backend;
  backend.Install();
  CreateDemoWindows();
  backend.Advance(1500);
  // Scroll the list a little and hover the button, as a person would.
  HWND list = FindWindow("DemoList", nullptr);
  TRect lr = WindowRect(list);
  TPoint down{lr.Right - 4 - 2 - 8, lr.Bottom - 4 - 2 - 17 - 8};
  backend.MouseDown(down);
  backend.Advance(500);
  backend.MouseUp(down);
  HWND mainWindow = FindWindow("DemoMain", nullptr);
  TPoint button{60, 130};
  ClientToScreen(mainWindow, &button);
  backend.Click(button);
  backend.MouseMove(button);
  backend.Advance(100);
  if (!shot.empty()) {
    backend.SaveDesktopPng(shot);
    std::printf("wrote %s\n", shot.c_str());
  }
  std::vector<HWND> tops;
  EnumWindows([&](HWND h) { tops.push_back(h); return true; });
  for (HWND h : tops) DestroyWindow(h);
  return 0;
}

int RunOnScreen() {
  TSdlBackend backend;
  if (!backend.Ok()) {
    std::fprintf(stderr, "win-demo: no display: %s\n", backend.Error());
    return 1;
  }
  backend.Install();
  CreateDemoWindows();
  return RunMessageLoop();
}

}  // namespace

int main(int argc, char** argv) {
  bool headless = false;
  std::string shot;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--headless") == 0) {
      headless = true;
    } else if (std::strcmp(argv[i], "--still") == 0) {
      gStill = true;
    } else if (std::strcmp(argv[i], "--shot") == 0 && i + 1 < argc) {
      shot = argv[++i];
    } else {
      std::fprintf(stderr, "usage: win-demo [--still] [--headless [--shot out.png]]\n");
      return 2;
    }
  }
  return headless ? RunHeadless(shot) : RunOnScreen();
}
