#include "tools/skin-lab/LabSheet.h"

#include <algorithm>
#include <filesystem>

#include "platform/base/Exception.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/ImageFile.h"
#include "platform/gfx/TextRender.h"
#include "skin/core/acSkinSource.h"
#include "skin/internal/InternalSkin.h"
#include "skin/paint/acPaintBlocks.h"
#include "skin/paint/sFade.h"
#include "skin/paint/sStyleSimply.h"

namespace {

constexpr int kCellW = 120, kCellH = 40, kLabelW = 190, kGap = 10, kMargin = 16;
constexpr TColor kPaper = 0xF5F2F0, kInk = 0x533924, kQuiet = 0x8A7560;

void Label(TBitmap& b, int x, int y, const std::string& text, int height = -11, TColor color = kInk) {
  TFontFace& face = TFontEngine::Instance().Face({"Arial", height});
  const TRect clip{0, 0, b.Width(), b.Height()};
  TTextTarget target;
  target.Bitmap = &b;
  target.Clip = std::span<const TRect>(&clip, 1);
  target.TextColor = static_cast<COLORREF>(color);
  TextOutOn(face, {}, x, y, text, target);
}

// Sections a sheet shows: every one but the global values.
std::vector<int> ShownSections(const TacSkinModel& m) {
  std::vector<int> out;
  for (std::size_t i = 0; i < m.Sections().size(); ++i)
    if (m.Sections()[i].SectionName != "GLOBALINFO") out.push_back(static_cast<int>(i));
  return out;
}

// One section face in a cell of the sheet, painted over the sheet's own pixels.
void PaintCell(TacSkinModel& m, int index, TBitmap& sheet, TRect cell, TacPaintState state) {
  PaintSectionByIndex(index, m.Section(index)->SectionName, BackgroundInfo::FromBitmap(&sheet, 0, 0),
                      -1, -1, &m, &sheet, {0, 0}, cell, state, true);
}

int FirstSection(const TacSkinModel& m, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (int i = m.SectionIndexOf(n); i >= 0) return i;
  return -1;
}

}  // namespace

void PaintLabBackground(TBitmap& b) {
  // A checker of two warm greys under soft diagonal colour bands: transparency and
  // holes show against it at once.
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const bool dark = ((x / 8) + (y / 8)) % 2 != 0;
      const int band = ((x + y) / 24) % 3;
      int r = dark ? 196 : 228, g = dark ? 200 : 230, bl = dark ? 204 : 232;
      if (band == 1) r -= 24, g += 8;
      if (band == 2) bl -= 28, g -= 6;
      b.SetPixel(x, y, RGB(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(bl)));
    }
}

std::unique_ptr<TacSkinModel> LoadLabSkin(const std::string& what, int hueOffset, int saturation) {
  auto m = std::make_unique<TacSkinModel>();
  if (hueOffset) m->SetHueOffset(hueOffset);
  if (saturation) m->SetSaturation(saturation);
  if (what == "internal") {
    m->SetSkinDirectory("Z:\\no skins here");
    AddInternalSkin(*m);
    m->SetSkinName(kInternalSkinName);
  } else {
    const std::filesystem::path path = std::filesystem::absolute(what);
    // The directory is an absolute path already; nothing is to be put in front of it.
    m->SetProgramFolder("");
    if (std::filesystem::is_directory(path)) {
      m->SetSkinDirectory(TextPath(path.parent_path().string()));
      m->SetSkinName(path.filename().string());
    } else {
      if (!std::filesystem::exists(path)) throw Exception("No skin file \"" + what + "\"");
      m->SetSkinDirectory(TextPath(path.parent_path().string()));
      m->SetSkinName(path.stem().string());
    }
  }
  if (!m->SkinData.SkinReady || m->Sections().empty()) throw Exception("No skin could be loaded from " + what);
  return m;
}

TBitmap PaintLabSheet(const std::string& what) {
  auto skin = LoadLabSkin(what);
  auto hue = LoadLabSkin(what, 120, 0);
  auto gray = LoadLabSkin(what, 0, 70);
  auto vivid = LoadLabSkin(what, 0, -60);
  const std::vector<int> sections = ShownSections(*skin);

  const int columns = 2;
  const int columnW = kLabelW + 3 * (kCellW + kGap);
  const int rowsPerColumn = (static_cast<int>(sections.size()) + columns - 1) / columns;
  const int rowH = kCellH + kGap;
  const int sectionsH = 60 + rowsPerColumn * rowH;
  const int fadeH = 30 + kCellH + 30;
  const int variantsH = 3 * (rowH + 8) + 30;
  TBitmap sheet(2 * kMargin + columns * columnW, sectionsH + fadeH + variantsH + kMargin, TPixelFormat::pf24bit, true);
  sheet.Fill(kPaper);

  Label(sheet, kMargin, 10,
        "Skin lab: " + skin->SkinName() + "   VERSION " + skin->SkinInfo() + "   " + std::to_string(sections.size()) +
            " sections, states 0 (normal), 1 (hot), 2 (pressed) over a textured background",
        -14);
  for (int c = 0; c < columns; ++c)
    for (int s = 0; s < 3; ++s)
      Label(sheet, kMargin + c * columnW + kLabelW + s * (kCellW + kGap), 34, "state " + std::to_string(s), -11, kQuiet);

  for (std::size_t k = 0; k < sections.size(); ++k) {
    const int c = static_cast<int>(k) / rowsPerColumn, r = static_cast<int>(k) % rowsPerColumn;
    const int x = kMargin + c * columnW, y = 52 + r * rowH;
    const TsGeneralData& s = *skin->Section(sections[k]);
    Label(sheet, x, y + 6, s.SectionName);
    std::string info = "T " + std::to_string(s.Transparency) + "/" + std::to_string(s.HotTransparency);
    if (s.BorderIndex >= 0) info += "  border";
    if (s.GradientPercent || s.HotGradientPercent) info += "  gradient";
    if (s.ImagePercent || s.HotImagePercent) info += "  texture";
    if (s.FadingEnabled) info += "  fades";
    Label(sheet, x, y + 21, info, -10, kQuiet);
    for (int state = 0; state < 3; ++state) {
      const TRect cell = Bounds(x + kLabelW + state * (kCellW + kGap), y, kCellW, kCellH);
      TBitmap back(kCellW, kCellH, TPixelFormat::pf24bit, true);
      PaintLabBackground(back);
      CopyBlock(sheet, cell.Left, cell.Top, back, {0, 0, kCellW, kCellH});
      PaintCell(*skin, sections[k], sheet, cell, static_cast<TacPaintState>(state));
    }
  }

  // Cross-fade strip: a button from its normal face to its hot face.
  int y = sectionsH + 10;
  const int button = FirstSection(*skin, {"BUTTON", "SPEEDBUTTON", "TOOLBUTTON"});
  if (button >= 0) {
    const TsGeneralData& s = *skin->Section(button);
    const int n = s.FadingIterations >= 2 ? std::min(s.FadingIterations, 12) : 10;
    Label(sheet, kMargin, y, "Cross-fade of " + s.SectionName + ", normal to hot in " + std::to_string(n) +
                                 " steps (frame = old x a + new x (255 - a), a = 255 - L x 256 div N)", -12);
    const int w = 80, h = kCellH;
    TBitmap faces[2] = {TBitmap(w, h, TPixelFormat::pf24bit, true), TBitmap(w, h, TPixelFormat::pf24bit, true)};
    for (int state = 0; state < 2; ++state) {
      TBitmap back(w, h, TPixelFormat::pf24bit, true);
      PaintLabBackground(back);
      faces[state] = back;
      PaintSectionByIndex(button, s.SectionName, BackgroundInfo::FromBitmap(&back, 0, 0), -1, -1, skin.get(),
                          &faces[state], {0, 0}, {0, 0, w, h}, static_cast<TacPaintState>(state), true);
    }
    for (int level = 0; level <= n; ++level) {
      TBitmap frame = faces[0];
      ComputeFadeFrame(frame, faces[1], level, n);
      const int fx = kMargin + level * (w + 4);
      if (fx + w > sheet.Width() - kMargin) break;
      CopyBlock(sheet, fx, y + 22, frame, {0, 0, w, h});
      Label(sheet, fx + 2, y + 24 + h, "L " + std::to_string(level), -10, kQuiet);
    }
  }

  // Variants: the same faces with the hue turned by 120 degrees and the saturation changed.
  y = sectionsH + fadeH + 10;
  std::vector<int> sample;
  for (const char* name : {"BUTTON", "SPEEDBUTTON", "PANEL", "GROUPBOX", "EDIT", "CHECKBOX", "BAR", "FORM",
                           "CAPTION", "TABSHEET", "SCROLLBAR1H", "PROGRESSBAR"})
    if (skin->SectionIndexOf(name) >= 0 && sample.size() < 8) sample.push_back(skin->SectionIndexOf(name));
  if (sample.empty())
    for (std::size_t k = 0; k < sections.size() && k < 8; ++k) sample.push_back(sections[k]);
  struct TVariant {
    TacSkinModel* Model;
    const char* Title;
  } variants[] = {{hue.get(), "HueOffset 120"}, {gray.get(), "Saturation 70"}, {vivid.get(), "Saturation -60"}};
  for (const TVariant& v : variants) {
    Label(sheet, kMargin, y + 12, v.Title, -12);
    for (std::size_t k = 0; k < sample.size(); ++k) {
      const std::string& name = skin->Section(sample[k])->SectionName;
      const int index = v.Model->SectionIndexOf(name);
      const TRect cell = Bounds(kMargin + 130 + static_cast<int>(k) * (kCellW + kGap), y, kCellW, kCellH);
      TBitmap back(kCellW, kCellH, TPixelFormat::pf24bit, true);
      PaintLabBackground(back);
      CopyBlock(sheet, cell.Left, cell.Top, back, {0, 0, kCellW, kCellH});
      if (index >= 0) PaintCell(*v.Model, index, sheet, cell, HotIf(k % 2 != 0));
    }
    y += rowH + 8;
  }
  return sheet;
}
