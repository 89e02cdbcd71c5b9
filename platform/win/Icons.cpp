// Icons kept in a table by handle: a stale handle is refused, never dereferenced.
#include "platform/win/Icons.h"

#include <map>
#include <memory>
#include <string>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Window.h"

namespace {

std::map<std::uintptr_t, std::unique_ptr<TBitmap>>& Table() {
  static std::map<std::uintptr_t, std::unique_ptr<TBitmap>> table;
  return table;
}

std::uintptr_t nextIcon = 0x1C0000;
HICON applicationIcon = nullptr;

const char* PropName(WPARAM kind) { return kind == ICON_BIG ? "TbIconBig" : "TbIconSmall"; }

}  // namespace

HICON CreateIconFromImage(const TBitmap& image) {
  if (image.Width() <= 0 || image.Height() <= 0) return nullptr;
  auto copy = std::make_unique<TBitmap>(image.Width(), image.Height(), TPixelFormat::pf32bit, true);
  const bool alpha = image.PixelFormat() == TPixelFormat::pf32bit;
  const int bytes = alpha ? 4 : 3;
  for (int y = 0; y < image.Height(); ++y) {
    const std::uint8_t* s = image.ScanLine(y);
    std::uint8_t* d = copy->ScanLine(y);
    for (int x = 0; x < image.Width(); ++x, s += bytes, d += 4) {
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
      d[3] = alpha ? s[3] : 255;
    }
  }
  const std::uintptr_t id = nextIcon++;
  Table()[id] = std::move(copy);
  return reinterpret_cast<HICON>(id);
}

bool DestroyIcon(HICON icon) {
  if (icon == applicationIcon) applicationIcon = nullptr;
  return Table().erase(reinterpret_cast<std::uintptr_t>(icon)) == 1;
}

const TBitmap* IconImage(HICON icon) {
  auto it = Table().find(reinterpret_cast<std::uintptr_t>(icon));
  return it == Table().end() ? nullptr : it->second.get();
}

bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy) {
  const TBitmap* image = IconImage(icon);
  if (!dc || !image) return false;
  if (cx <= 0) cx = image->Width();
  if (cy <= 0) cy = image->Height();
  // Pixel by pixel through the context (its origin and clip apply): icons are a
  // few hundred pixels, drawn nearest-neighbour at or near their own size.
  for (int j = 0; j < cy; ++j) {
    const std::uint8_t* srow = image->ScanLine(j * image->Height() / cy);
    for (int i = 0; i < cx; ++i) {
      const std::uint8_t* s = srow + (i * image->Width() / cx) * 4;
      const int a = s[3];
      if (a == 0) continue;
      TColor out = RGB(s[2], s[1], s[0]);
      if (a < 255) {
        const COLORREF under = dc->GetPixel(x + i, y + j);
        if (under == CLR_INVALID) continue;
        auto mix = [a](int src, int dst) { return (src * a + dst * (255 - a) + 127) / 255; };
        out = RGB(mix(s[2], GetRValue(under)), mix(s[1], GetGValue(under)), mix(s[0], GetBValue(under)));
      }
      dc->SetPixel(x + i, y + j, out);
    }
  }
  return true;
}

HICON WindowIcon(HWND window, WPARAM kind) { return static_cast<HICON>(GetProp(window, PropName(kind))); }

HICON SetWindowIcon(HWND window, WPARAM kind, HICON icon) {
  HICON previous = WindowIcon(window, kind);
  if (icon)
    SetProp(window, PropName(kind), icon);
  else
    RemoveProp(window, PropName(kind));
  return previous;
}

HICON ApplicationIcon() { return IconImage(applicationIcon) ? applicationIcon : nullptr; }

void SetApplicationIcon(HICON icon) { applicationIcon = icon; }

namespace {
std::string& Title() {
  static std::string title;
  return title;
}
}  // namespace

const std::string& ApplicationTitle() { return Title(); }
void SetApplicationTitle(const std::string& title) { Title() = title; }
