// skinpack contact-sheet SKIN OUT.png: the master bitmap and every mask's state
// frames, composed the way the painters compose them, on one PNG to look at.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/base/Exception.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/ImageFile.h"
#include "platform/gfx/TextRender.h"
#include "skin/core/acMasks.h"
#include "skin/core/acSkinSource.h"
#include "skin/core/acSkinModel.h"
#include "tools/skinpack/SkinpackCommand.h"

namespace {

constexpr int kPreviewW = 76;
constexpr int kPreviewH = 30;
constexpr int kLabelW = 176;
constexpr int kGap = 8;
constexpr TColor kSheet = 0xF5F2F0;   // pale grey paper
constexpr TColor kInk = 0x533924;     // navy
constexpr TColor kForm = 14998481;
constexpr TColor kPanelTop = 14396279, kPanelBottom = 14730921;

struct TRgb {
  int R, G, B;
};
TRgb Split(TColor c) { return {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}; }
TColor Join(TRgb c) { return c.R | (c.G << 8) | (c.B << 16); }
TRgb Mix(TRgb a, TRgb b, int t255) {
  return {a.R + (b.R - a.R) * t255 / 255, a.G + (b.G - a.G) * t255 / 255, a.B + (b.B - a.B) * t255 / 255};
}

void FillRect(TBitmap& b, TRect r, TColor c) {
  r = r.Intersect({0, 0, b.Width(), b.Height()});
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) b.SetPixel(x, y, c);
}

void VerticalGradient(TBitmap& b, TRect r, TColor top, TColor bottom) {
  for (int y = r.Top; y < r.Bottom; ++y) {
    const int t = r.Height() > 1 ? (y - r.Top) * 255 / (r.Height() - 1) : 0;
    FillRect(b, {r.Left, y, r.Right, y + 1}, Join(Mix(Split(top), Split(bottom), t)));
  }
}

void Label(TBitmap& b, int x, int y, const std::string& text, int height = -11, TColor color = kInk) {
  TFontFace& face = TFontEngine::Instance().Face({"Arial", height});
  const TRect clip{0, 0, b.Width(), b.Height()};
  TTextTarget target;
  target.Bitmap = &b;
  target.Clip = std::span<const TRect>(&clip, 1);
  target.TextColor = static_cast<COLORREF>(color);
  TextOutOn(face, {}, x, y, text, target);
}

// The background a section paints for a state, approximated: colour, the first
// gradient stop mixed in by GradientPercent, both over the parent by the transparency.
void PaintFace(TBitmap& b, TRect r, const TsGeneralData* s, int state) {
  if (s == nullptr) return;
  const TColor color = state == 0 ? s->Color : s->HotColor;
  const int transparency = std::clamp(state == 0 ? s->Transparency : s->HotTransparency, 0, 100);
  const int gradientPercent = std::clamp(state == 0 ? s->GradientPercent : s->HotGradientPercent, 0, 100);
  const TsGradArray& stops = state == 0 ? s->GradientStops : s->HotGradientStops;
  if (transparency >= 100 || color < 0) return;
  for (int y = r.Top; y < r.Bottom; ++y) {
    TRgb face = Split(color);
    if (gradientPercent > 0 && !stops.empty()) {
      const int t = r.Height() > 1 ? (y - r.Top) * 255 / (r.Height() - 1) : 0;
      const TRgb g = Mix(Split(stops[0].Color1), Split(stops[0].Color2), t);
      face = Mix(face, g, gradientPercent * 255 / 100);
    }
    for (int x = r.Left; x < r.Right; ++x)
      b.SetPixel(x, y, Join(Mix(face, Split(b.Pixel(x, y)), transparency * 255 / 100)));
  }
}

// Where preview pixel d (0..size) of a nine-slice falls in a cell of length n with margins a, c.
int SliceSource(int d, int size, int n, int a, int c, bool& centre) {
  centre = false;
  if (d < a) return d;
  if (d >= size - c) return n - (size - d);
  centre = true;
  const int middle = std::max(n - a - c, 1);
  return a + (d - a) % middle;
}

// One state frame of a mask drawn nine-sliced over dst (or 1:1 for glyphs).
void DrawFrame(TBitmap& sheet, TRect dst, const TsMaskData& m, const TBitmap& source, int state, bool sliced,
               const TBitmap& parent) {
  const int w = MaskFrameWidth(m), h = MaskFrameHeight(m);
  if (w <= 0 || h <= 0) return;
  const int x0 = m.Left + std::min(state, m.ImageCount - 1) * w, y0 = m.Top;
  int L = sliced ? std::min<int>(m.WL, dst.Width() / 2) : 0, R = sliced ? std::min<int>(m.WR, dst.Width() / 2) : 0;
  int T = sliced ? std::min<int>(m.WT, dst.Height() / 2) : 0, B = sliced ? std::min<int>(m.WB, dst.Height() / 2) : 0;
  const bool drawCentre = !sliced || (m.StretchMode & 4) != 0 || m.ImgType == TacImgType::itisaTexture;
  const bool alpha32 = source.PixelFormat() == TPixelFormat::pf32bit && m.MaskType == 0;
  for (int dy = 0; dy < dst.Height(); ++dy)
    for (int dx = 0; dx < dst.Width(); ++dx) {
      bool cx = false, cy = false;
      int sx = sliced ? SliceSource(dx, dst.Width(), w, L, R, cx) : dx % w;
      int sy = sliced ? SliceSource(dy, dst.Height(), h, T, B, cy) : dy % h;
      if (cx && cy && !drawCentre) continue;
      const int px = dst.Left + dx, py = dst.Top + dy;
      const TRgb d = Split(sheet.Pixel(px, py));
      if (alpha32) {
        const std::uint32_t p = source.Pixel32(x0 + sx, y0 + sy);
        const int a = static_cast<int>(p >> 24);
        sheet.SetPixel(px, py, Join(Mix(d, Split(static_cast<TColor>(p & 0xFFFFFF)), a)));
        continue;
      }
      const TColor s = source.Pixel(x0 + sx, y0 + sy);
      const bool corner = !cx && !cy;
      if (s == clFuchsia) {
        // Corner holes show what lies behind the control, not its face.
        if (corner && sliced) sheet.SetPixel(px, py, parent.Pixel(px, py));
        continue;
      }
      if (m.MaskType == 1) {
        const int mask = source.Pixel(x0 + sx, y0 + sy + h) & 0xFF;
        const TRgb c = Split(s);
        sheet.SetPixel(px, py, Join({c.R + mask * (d.R - c.R) / 256, c.G + mask * (d.G - c.G) / 256,
                                     c.B + mask * (d.B - c.B) / 256}));
      } else {
        sheet.SetPixel(px, py, s);
      }
    }
}

bool OnPanel(const std::string& section) {
  return section == "BUTTON" || section == "BUTTON_BIG" || section == "SPEEDBUTTON" || section == "TOOLBUTTON" ||
         section == "BAR" || section == "PANEL" || section == "BUTTON_HUGE" || section == "SPEEDBUTTON_SMALL";
}

std::unique_ptr<TacSkinModel> LoadSkin(const std::string& nativePath) {
  auto manager = std::make_unique<TacSkinModel>();
  const std::filesystem::path path = std::filesystem::absolute(nativePath);
  if (std::filesystem::is_directory(path)) {
    manager->SetSkinDirectory(TextPath(path.parent_path().string()));
    manager->SetSkinName(path.filename().string());
  } else {
    manager->SetSkinDirectory("Z:\\no skins here");
    TsStoredSkin& skin = manager->InternalSkins().Add();
    skin.Name = std::filesystem::path(nativePath).stem().string();
    skin.Data = TacMemoryStream(SkinpackReadFile(nativePath));
    manager->SetSkinName(skin.Name);
  }
  if (!manager->Active() || manager->Sections().empty()) throw Exception("No skin could be loaded from " + nativePath);
  return manager;
}

int RunContactSheet(const std::vector<std::string>& args) {
  auto manager = LoadSkin(args[0]);
  const std::span<const TsMaskData> masks = manager->Masks();
  const TBitmap* master = manager->MasterBitmap.get();

  // Left: the master at twice its size; right: two columns of mask rows.
  const int masterScale = 2;
  const int masterW = master ? master->Width() * masterScale : 0, masterH = master ? master->Height() * masterScale : 0;
  std::vector<int> rowHeights;
  for (const TsMaskData& m : masks) {
    const bool ownBig = m.Image && MaskFrameHeight(m) > kPreviewH;
    rowHeights.push_back((ownBig ? MaskFrameHeight(m) : std::max(kPreviewH, MaskFrameHeight(m))) + kGap);
  }
  const int columnW = kLabelW + 3 * (std::max(kPreviewW, 96) + kGap);
  int total = 0;
  for (int h : rowHeights) total += h;
  const int columnH = total / 2 + 120;
  const int left = 16 + masterW + 24;
  TBitmap sheet(left + 2 * columnW + 16, std::max(masterH + 60, columnH + 60), TPixelFormat::pf24bit, true);
  sheet.Fill(kSheet);
  Label(sheet, 16, 10, "Skin: " + manager->SkinName() + "   VERSION " + manager->SkinInfo() + "   " +
                           std::to_string(manager->Sections().size()) + " sections, " + std::to_string(masks.size()) + " masks",
        -14);
  if (master) {
    for (int y = 0; y < masterH; ++y)
      for (int x = 0; x < masterW; ++x) sheet.SetPixel(16 + x, 40 + y, master->Pixel(x / masterScale, y / masterScale));
  }

  int x = left, y = 40, column = 0;
  for (std::size_t i = 0; i < masks.size(); ++i) {
    const TsMaskData& m = masks[i];
    if (column == 0 && y + rowHeights[i] > columnH) x += columnW, y = 40, column = 1;
    const TBitmap* source = m.Image ? m.Image.get() : master;
    Label(sheet, x, y + 2, m.SectionName + " / " + m.PropertyName);
    Label(sheet, x, y + 15, std::to_string(MaskFrameWidth(m)) + "x" + std::to_string(MaskFrameHeight(m)) + " x" +
                                std::to_string(m.ImageCount) + (m.MaskType == 1 ? " masked" : " keyed"),
          -10, 0x8A7560);
    if (source) {
      const int sectionIndex = manager->SectionIndexOf(m.SectionName);
      const TsGeneralData* section = sectionIndex >= 0 ? manager->Section(sectionIndex) : nullptr;
      const bool border = m.ImgType == TacImgType::itisaBorder;
      const bool texture = m.ImgType == TacImgType::itisaTexture;
      const int fw = MaskFrameWidth(m), fh = MaskFrameHeight(m);
      const int states = std::max<int>(1, std::min<int>(m.ImageCount, 3));
      for (int state = 0; state < states; ++state) {
        const int pw = border || texture ? std::max(kPreviewW, m.Image ? fw : 0) : std::max(fw + 8, 24);
        const int ph = border || texture ? std::max(kPreviewH, m.Image ? fh : 0) : std::max(fh + 8, 24);
        const TRect box{x + kLabelW + state * (std::max(kPreviewW, 96) + kGap), y, 0, 0};
        const TRect r{box.Left, box.Top, box.Left + pw, box.Top + ph};
        if (m.SectionName == "GLOBALINFO" && (m.PropertyName.rfind("BICON", 0) == 0 || m.PropertyName == "TITLEBUTTON"))
          VerticalGradient(sheet, r, 0xEAD3B9, 0xE0B88D);  // the active title band
        else if (OnPanel(m.SectionName))
          VerticalGradient(sheet, r, kPanelTop, kPanelBottom);
        else
          FillRect(sheet, r, kForm);
        TBitmap parent(sheet);
        if (border || texture) {
          PaintFace(sheet, r, section, state);
          DrawFrame(sheet, r, m, *source, state, border, parent);
        } else {
          const TRect g{r.Left + (pw - fw) / 2, r.Top + (ph - fh) / 2, r.Left + (pw - fw) / 2 + fw, r.Top + (ph - fh) / 2 + fh};
          DrawFrame(sheet, g, m, *source, state, false, parent);
        }
      }
    }
    y += rowHeights[i];
  }
  SkinpackWriteFile(args[1], SavePngToMemory(sheet));
  std::printf("%s: %zu masks, %dx%d\n", args[1].c_str(), masks.size(), sheet.Width(), sheet.Height());
  return 0;
}

}  // namespace

TSkinpackCommand SkinpackContactSheetCommand() {
  return {"contact-sheet", "FILE.asz|DIR OUT.png", "draws the master bitmap and every mask's state frames into a PNG", 2,
          RunContactSheet};
}
