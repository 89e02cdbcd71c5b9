#include "forms/db/DBNavigator.h"
#include "forms/Canvas.h"
#include "forms/DriverProperties.h"

namespace {

// A picture drawn on a 13-pixel-high cell; the bottom-left pixel is the transparent colour.
class TGlyphPainter {
public:
  TGlyphPainter(int width, TBitmap& bitmap) : Bitmap_(bitmap) {
    Bitmap_ = TBitmap(width, 13);
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < width; ++x) Put(x, y, kBack);
  }
  void Put(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= Bitmap_.Width() || y >= Bitmap_.Height()) return;
    std::uint8_t* p = Bitmap_.ScanLine(y) + x * 3;
    p[0] = static_cast<std::uint8_t>((color >> 16) & 0xFF);
    p[1] = static_cast<std::uint8_t>((color >> 8) & 0xFF);
    p[2] = static_cast<std::uint8_t>(color & 0xFF);
  }
  void Fill(int x0, int y0, int x1, int y1, TColor color) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Put(x, y, color);
  }
  static constexpr TColor kBack = 0x00808000;  // teal: never part of a picture

private:
  TBitmap& Bitmap_;
};

void MakeGlyph(TNavigateBtn button, TBitmap& bitmap) {
  const TColor ink = 0x00000000;
  switch (button) {
    case nbFirst: {
      TGlyphPainter p(11, bitmap);
      p.Fill(2, 2, 3, 10, ink);
      for (int i = 0; i < 5; ++i) p.Fill(5 + i, 6 - i, 9, 6 + i, ink);
      break;
    }
    case nbPrior: {
      TGlyphPainter p(9, bitmap);
      for (int i = 0; i < 5; ++i) p.Fill(2 + i, 6 - i, 6, 6 + i, ink);
      break;
    }
    case nbNext: {
      TGlyphPainter p(9, bitmap);
      for (int i = 0; i < 5; ++i) p.Fill(2, 6 - i, 6 - i, 6 + i, ink);
      break;
    }
    case nbLast: {
      TGlyphPainter p(11, bitmap);
      for (int i = 0; i < 5; ++i) p.Fill(1, 6 - i, 5 - i, 6 + i, ink);
      p.Fill(7, 2, 8, 10, ink);
      break;
    }
    case nbInsert: {
      TGlyphPainter p(11, bitmap);
      p.Fill(4, 2, 6, 10, ink);
      p.Fill(1, 5, 9, 7, ink);
      break;
    }
    case nbDelete: {
      TGlyphPainter p(11, bitmap);
      p.Fill(1, 5, 9, 7, ink);
      break;
    }
    case nbEdit: {
      TGlyphPainter p(11, bitmap);
      for (int i = 0; i < 5; ++i) p.Fill(5 - i, 3 + i, 5 + i, 3 + i, ink);
      p.Fill(0, 9, 10, 9, ink);
      break;
    }
    case nbPost: {
      TGlyphPainter p(13, bitmap);
      const TColor green = 0x00008000;
      for (int i = 0; i < 4; ++i) p.Fill(1 + i, 6 + i, 2 + i, 7 + i, green);
      for (int i = 0; i < 7; ++i) p.Fill(5 + i, 9 - i - 1, 6 + i, 9 - i, green);
      break;
    }
    case nbCancel: {
      TGlyphPainter p(11, bitmap);
      const TColor red = 0x00000080;
      for (int i = 0; i < 9; ++i) {
        p.Fill(1 + i, 2 + i, 2 + i, 2 + i, red);
        p.Fill(8 - i, 2 + i, 9 - i, 2 + i, red);
      }
      break;
    }
    case nbRefresh: {
      TGlyphPainter p(13, bitmap);
      // An open ring with an arrow head at its upper end.
      for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
          const int dx = 2 * x - 12, dy = 2 * y - 12;
          const int d = dx * dx + dy * dy;
          if (d >= 64 && d <= 144 && !(x > 6 && y < 5)) p.Put(x, y, ink);
        }
      p.Fill(7, 1, 11, 1, ink);
      p.Fill(9, 2, 10, 3, ink);
      p.Fill(10, 4, 10, 4, ink);
      break;
    }
  }
}

}  // namespace

// --- TNavButton ----------------------------------------------------------------------

TNavButton::TNavButton(TDBNavigator& navigator, TNavigateBtn index)
    : TSpeedButton(nullptr), Navigator_(navigator), Index_(index), Repeat_(*this, [this] { Navigator_.BtnClick(Index_); }) {
  SetName(NavButtonName(index));
  SetFlat(true);
  SetGlyph(TDBNavigator::DefaultGlyph(index));
  SetNumGlyphs(1);
  SetParentShowHint(true);
}

TNavButton::~TNavButton() {
  Destroying();
  Repeat_.Stop();
}

void TNavButton::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TSpeedButton::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  Navigator_.ButtonPressed(Index_);
  // Prior and Next act at once and then repeat while held.
  if (NavStyleRepeat()) Repeat_.Start();
}

void TNavButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  const bool repeating = Repeat_.Running();
  Repeat_.Stop();
  if (repeating) {
    // The press already acted: release the face without a second click.
    TGraphicControl::MouseUp(button, shift, x, y);
    SetState(bsUp);
    Invalidate();
    return;
  }
  TSpeedButton::MouseUp(button, shift, x, y);
}

void TNavButton::Paint() {
  TSpeedButton::Paint();
  if (Navigator_.Logic_.ShowsFocus(Index_)) {
    TRect r = ClientRect().Inflate(-3, -3);
    Canvas().DrawFocusRect(r);
  }
}

void TNavButton::Click() {
  TSpeedButton::Click();
  Navigator_.BtnClick(Index_);
}

void TNavButton::WndProc(TMessage& message) { TSpeedButton::WndProc(message); }

// --- TDBNavigator ----------------------------------------------------------------------

TDBNavigator::TDBNavigator(TComponent* owner) : TCustomPanel(owner), Logic_(*this, 0) {
  ControlStyle_.Exclude(csAcceptsControls);
  ControlStyle_.Exclude(csSetCaption);
  ControlStyle_.Include(csOpaque);
  SetShowHint(false);
  Logic_.Click = [this](TNavigateBtn button) { BtnClick(button); };
  RebuildButtons();
  SetBounds(Left(), Top(), 240, 25);
}

TDBNavigator::~TDBNavigator() {
  Destroying();
  Logic_.Release();
}

TNavButton* TDBNavigator::CreateButton(TNavigateBtn index) { return new TNavButton(*this, index); }

void TDBNavigator::RebuildButtons() {
  Logic_.MakeButtons([this](TNavigateBtn index) { return CreateButton(index); });
  ApplyHints();
  LayoutButtons();
  UpdateButtons();
}

const TBitmap& TDBNavigator::DefaultGlyph(TNavigateBtn button) {
  static TBitmap glyphs[kNavButtonCount];
  static bool made = false;
  if (!made) {
    for (int i = 0; i < kNavButtonCount; ++i) MakeGlyph(static_cast<TNavigateBtn>(i), glyphs[i]);
    made = true;
  }
  return glyphs[button];
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
  Logic_.SetVisibleButtons(buttons);
  LayoutButtons();
  Invalidate();
}

void TDBNavigator::LayoutButtons() {
  if (IsLoading() || !Logic_.Button(0)) return;
  Logic_.LayoutRow(FrameWidth() + (BorderStyle() == bsSingle ? 1 : 0));
}

void TDBNavigator::SetBounds(int left, int top, int width, int height) {
  TCustomPanel::SetBounds(left, top, width, height);
  LayoutButtons();
}

void TDBNavigator::Resize() {
  TCustomPanel::Resize();
  LayoutButtons();
}

void TDBNavigator::Loaded() {
  TCustomPanel::Loaded();
  ApplyHints();
  LayoutButtons();
  UpdateButtons();
}

void TDBNavigator::SetEnabled(bool enabled) {
  TCustomPanel::SetEnabled(enabled);
  UpdateButtons();
}

void TDBNavigator::BtnClick(TNavigateBtn button) { Logic_.BtnClick(button, this, BeforeAction, OnClick); }

void TDBNavigator::ControlKeyDown(WORD key, TShiftState shift) {
  if (!Logic_.KeyDown(key)) TCustomPanel::ControlKeyDown(key, shift);
}

void TDBNavigator::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomPanel::WndProc(message);
      Logic_.InvalidateFocused();
      return;
    default: break;
  }
  TCustomPanel::WndProc(message);
}
