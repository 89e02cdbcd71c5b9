#include "skin/controls/acPopupMenuWnd.h"

#include "forms/Canvas.h"
#include "forms/Menus.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/SystemColors.h"
#include "skin/paint/sStyleSimply.h"
#include "skin/runtime/acFormRegistry.h"
#include "skin/runtime/sSkinManager.h"

namespace {

constexpr const char* kItemSection = "MENUITEM";
constexpr const char* kLineSection = "DIVIDER";

// The two colours mixed channel by channel, `share` parts in 256 of the first.
TColor Mix(TColor first, TColor second, int share) {
  const TColor a = ColorToRGB(first), b = ColorToRGB(second);
  TColor out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
    out |= static_cast<TColor>((ca * share + cb * (256 - share)) / 256) << shift;
  }
  return out;
}

const TsGeneralData* SectionOf(TsSkinManager& skin, const char* name) {
  return skin.Section(skin.SectionIndexOf(name));
}

// One section's face of the rectangle's size, drawn onto the canvas at the rectangle.
void PaintSectionFace(TCanvas& canvas, TsSkinManager& skin, const TRect& rect, TacPaintState state) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  TBitmap face(rect.Width(), rect.Height());
  PaintSectionByName(face, kItemSection, "", nullptr, skin.GlobalColor(), {0, 0, rect.Width(), rect.Height()}, &skin,
                     state);
  canvas.Draw(rect.Left, rect.Top, face);
}

}  // namespace

TacPopupMenuWindow::TacPopupMenuWindow(TPopupMenu& menu) : TPopupMenuWindow(menu) {}

TacPopupMenuWindow::~TacPopupMenuWindow() {
  if (Registered_) UnregisterSkinnedPopup(Registered_);
}

void TacPopupMenuWindow::Install() {
  TPopupMenu::SetOwnerDrawWindowFactory(
      [](TPopupMenu& menu) -> std::unique_ptr<TPopupMenuWindow> { return std::make_unique<TacPopupMenuWindow>(menu); });
}

void TacPopupMenuWindow::Uninstall() { TPopupMenu::SetOwnerDrawWindowFactory(nullptr); }

void TacPopupMenuWindow::CreateWnd() {
  TPopupMenuWindow::CreateWnd();
  // A skin change while the menu is open repaints it with the others.
  Registered_ = Handle();
  RegisterSkinnedPopup(Registered_);
}

TsSkinManager* TacPopupMenuWindow::Skin() const {
  TsSkinManager* skin = TsSkinManager::DefaultManager();
  if (!skin || !skin->Active() || !SectionOf(*skin, kItemSection)) return nullptr;
  return skin;
}

void TacPopupMenuWindow::PaintBackground(TCanvas& canvas, const TRect& rect) {
  TsSkinManager* skin = Skin();
  if (!skin) return TPopupMenuWindow::PaintBackground(canvas, rect);
  PaintSectionFace(canvas, *skin, rect, TacPaintState::Normal);
  // A thin frame in the captions' colour, softened, keeps the menu apart from what lies behind it.
  const TColor text = ColorToRGB(static_cast<TColor>(SectionOf(*skin, kItemSection)->FontColor[0]));
  canvas.Brush().SetColor(Mix(text, skin->GlobalColor(), 96));
  canvas.FrameRect(rect);
}

void TacPopupMenuWindow::PaintItem(TCanvas& canvas, const TMenuItem& item, const TRect& rect, bool hot) {
  TsSkinManager* skin = Skin();
  if (!skin) return TPopupMenuWindow::PaintItem(canvas, item, rect, hot);
  if (hot) PaintSectionFace(canvas, *skin, rect, TacPaintState::Hot);
  DrawCaption(canvas, item, rect, TextColor(item, hot));
}

void TacPopupMenuWindow::PaintLine(TCanvas& canvas, const TRect& rect) {
  TsSkinManager* skin = Skin();
  if (!skin) return TPopupMenuWindow::PaintLine(canvas, rect);
  const TsGeneralData* divider = SectionOf(*skin, kLineSection);
  const TColor line = divider ? ColorToRGB(static_cast<TColor>(divider->Color)) : skin->GlobalColor();
  const int y = rect.Top + rect.Height() / 2;
  canvas.Pen().SetColor(line);
  canvas.MoveTo(rect.Left + kTextIndent - 4, y);
  canvas.LineTo(rect.Right - 4, y);
}

TColor TacPopupMenuWindow::TextColor(const TMenuItem& item, bool hot) const {
  TsSkinManager* skin = Skin();
  if (!skin) return TPopupMenuWindow::TextColor(item, hot);
  const TsGeneralData& section = *SectionOf(*skin, kItemSection);
  if (hot && item.Enabled()) return skin->MenuHighlightTextColor();
  const TColor text = ColorToRGB(static_cast<TColor>(section.FontColor[0]));
  // An unavailable command: the caption half-way into the face.
  return item.Enabled() ? text : Mix(text, ColorToRGB(static_cast<TColor>(section.Color)), 110);
}
