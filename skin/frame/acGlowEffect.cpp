// Glow windows and the process-wide glow list.
#include "skin/frame/acGlowEffect.h"

#include <algorithm>

#include "platform/win/HitTest.h"
#include "platform/win/Layered.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "platform/win/WindowStyles.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/runtime/acGlowEffects.h"
#include "skin/runtime/sSkinManager.h"

namespace {

constexpr const char* kGlowClass = "TacGlowWindow";

std::vector<std::unique_ptr<TacGlowEffect>>& GlowList() {
  static std::vector<std::unique_ptr<TacGlowEffect>> list;
  return list;
}

// The glow never takes the mouse: a click on the halo reaches the window beneath.
LRESULT GlowWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProc(window, msg, wParam, lParam);
}

void EnsureGlowClass() {
  WNDCLASSEX wc;
  if (GetClassInfoEx(nullptr, kGlowClass, &wc)) return;
  wc = WNDCLASSEX{};
  wc.lpfnWndProc = GlowWindowProc;
  wc.lpszClassName = kGlowClass;
  RegisterClassEx(wc);
}

// The glow picture's nine slices over the whole image, alpha kept: corners as they
// are, edges stretched along, the middle (where the target is) left clear.
void DrawGlowSlices(TBitmap& image, const TsMaskData& mask) {
  const TBitmap* pic = MaskPicture(mask);
  if (!pic || pic->PixelFormat() != TPixelFormat::pf32bit) {
    // A picture without alpha goes through the border painter.
    DrawBorderMask(image, {0, 0, image.Width(), image.Height()}, false, BackgroundInfo{}, mask, TacPaintState::Normal, false);
    return;
  }
  const TSize state = StateImageSize(mask);
  const int sx0 = mask.Left, sy0 = mask.Top, sw = state.cx, sh = state.cy;
  const int w = image.Width(), h = image.Height();
  const int l = std::min<int>(mask.WL, w / 2), t = std::min<int>(mask.WT, h / 2);
  const int r = std::min<int>(mask.WR, w - l), b = std::min<int>(mask.WB, h - t);
  // Maps a target coordinate to a source one along one axis of nine slices.
  auto map = [](int d, int size, int lo, int hi, int srcSize) {
    if (d < lo) return d;
    if (d >= size - hi) return srcSize - (size - d);
    const int mid = size - lo - hi, srcMid = srcSize - lo - hi;
    if (mid <= 0 || srcMid <= 0) return lo;
    return lo + (d - lo) * srcMid / mid;
  };
  for (int y = 0; y < h; ++y) {
    const bool middleRow = y >= t && y < h - b;
    const int sy = sy0 + std::clamp(map(y, h, t, b, sh), 0, sh - 1);
    if (sy < 0 || sy >= pic->Height()) continue;
    const std::uint8_t* srow = pic->ScanLine(sy);
    std::uint8_t* drow = image.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      if (middleRow && x >= l && x < w - r) continue;
      const int sx = sx0 + std::clamp(map(x, w, l, r, sw), 0, sw - 1);
      if (sx < 0 || sx >= pic->Width()) continue;
      const std::uint8_t* p = srow + sx * 4;
      std::uint8_t* d = drow + x * 4;
      const bool key = p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF;
      if (key) continue;
      d[0] = p[0], d[1] = p[1], d[2] = p[2], d[3] = p[3];
    }
  }
}

// Straight alpha to premultiplied.
void Premultiply(TBitmap& image) {
  for (int y = 0; y < image.Height(); ++y) {
    std::uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x, p += 4) {
      const int a = p[3];
      for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>((p[c] * a + 127) / 255);
    }
  }
}

class TacGlowWindows final : public IacGlowEffects {
public:
  int ShowGlow(const TacGlowRequest& r) override {
    return ShowGlowEffect(r.ScreenRect, r.Section, r.Manager, r.TopWindow, r.Opacity, r.Margin, r.MaskKey,
                          &r.VisibleRect);
  }
  void HideGlow(int id) override { HideGlowEffect(id); }
  void HideAllGlows() override { ReleaseAllGlowEffects(); }
};

}  // namespace

TacGlowEffect::TacGlowEffect(HWND owner, TBitmap image) : Owner_(owner), Image_(std::move(image)) {
  EnsureGlowClass();
  DWORD ex = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  if (owner && (GetWindowLongPtr(owner, GWL_EXSTYLE) & WS_EX_TOPMOST)) ex |= WS_EX_TOPMOST;
  Window_ = CreateWindowEx(ex, kGlowClass, "", WS_POPUP, 0, 0, Image_.Width(), Image_.Height(), owner, nullptr,
                           nullptr, nullptr);
}

TacGlowEffect::~TacGlowEffect() {
  if (Window_ && IsWindow(Window_)) DestroyWindow(Window_);
}

bool TacGlowEffect::Show(TPoint position, int alpha) {
  if (!Window_) return false;
  BLENDFUNCTION blend;
  blend.SourceConstantAlpha = static_cast<std::uint8_t>(std::clamp(alpha, 0, 255));
  blend.AlphaFormat = AC_SRC_ALPHA;
  const TSize size{Image_.Width(), Image_.Height()};
  const TPoint origin{0, 0};
  if (!UpdateLayeredWindow(Window_, &position, &size, Image_, &origin, 0, &blend, ULW_ALPHA)) return false;
  // Shown where it is in the z-order, never activated.
  SetWindowPos(Window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return true;
}

int ShowGlowEffect(const TRect& target, const std::string& section, TsSkinManager* manager, HWND owner, int alpha,
                   int margin, const std::string& keyName, const TRect* visible) {
  if (!manager) manager = TsSkinManager::DefaultManager();
  if (!manager || !manager->AllowGlowing() || !PerPixelLayeredAvailable()) return -1;
  const int maskIndex = manager->MaskIndexOf(section, keyName + "0");
  if (!manager->Mask(maskIndex)) return -1;
  const TsMaskData& mask = *manager->Mask(maskIndex);
  const int width = target.Width() + mask.WL + mask.WR - 2 * margin;
  const int height = target.Height() + mask.WT + mask.WB - 2 * margin;
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return -1;
  TBitmap image(width, height, TPixelFormat::pf32bit, true);
  image.Fill(0);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < width; ++x) p[x * 4 + 3] = 0;
  }
  DrawGlowSlices(image, mask);
  Premultiply(image);
  TPoint position{target.Left + margin - mask.WL, target.Top + margin - mask.WT};
  // Only the visible part of the target glows: the image is cut to it.
  if (visible && !visible->IsEmpty()) {
    const TRect full = Bounds(position.X, position.Y, width, height);
    const TRect keep{std::max(full.Left, visible->Left - mask.WL), std::max(full.Top, visible->Top - mask.WT),
                     std::min(full.Right, visible->Right + mask.WR), std::min(full.Bottom, visible->Bottom + mask.WB)};
    if (keep.IsEmpty()) return -1;
    if (keep != full) {
      TBitmap cut(keep.Width(), keep.Height(), TPixelFormat::pf32bit, true);
      for (int y = 0; y < keep.Height(); ++y)
        std::copy_n(image.ScanLine(keep.Top - full.Top + y) + (keep.Left - full.Left) * 4, keep.Width() * 4,
                    cut.ScanLine(y));
      image = std::move(cut);
      position = {keep.Left, keep.Top};
    }
  }
  auto glow = std::make_unique<TacGlowEffect>(owner, std::move(image));
  if (!glow->Window() || !glow->Show(position, alpha)) return -1;
  auto& list = GlowList();
  for (std::size_t i = 0; i < list.size(); ++i)
    if (!list[i]) {
      list[i] = std::move(glow);
      return static_cast<int>(i);
    }
  list.push_back(std::move(glow));
  return static_cast<int>(list.size()) - 1;
}

void HideGlowEffect(int handle) {
  auto& list = GlowList();
  if (handle < 0 || handle >= static_cast<int>(list.size())) return;
  list[static_cast<std::size_t>(handle)].reset();
}

void ReleaseAllGlowEffects() {
  // Moved out first: destroying a window may send messages that ask about glows.
  std::vector<std::unique_ptr<TacGlowEffect>> gone;
  gone.swap(GlowList());
}

TacGlowEffect* GlowEffect(int handle) {
  auto& list = GlowList();
  if (handle < 0 || handle >= static_cast<int>(list.size())) return nullptr;
  return list[static_cast<std::size_t>(handle)].get();
}

int GlowCount() {
  return static_cast<int>(std::count_if(GlowList().begin(), GlowList().end(), [](const auto& g) { return g != nullptr; }));
}

namespace {
TacGlowWindows& GlowWindows() {
  static TacGlowWindows windows;
  return windows;
}
}  // namespace

void StartGlowWindows() { SetGlowEffects(&GlowWindows()); }

void StopGlowWindows() {
  ReleaseAllGlowEffects();
  if (GlowEffects() == &GlowWindows()) SetGlowEffects(nullptr);
}
