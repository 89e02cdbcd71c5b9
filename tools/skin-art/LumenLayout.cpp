#include "tools/skin-art/LumenLayout.h"

#include <cstdio>

#include "tools/skin-art/LumenPaint.h"

using namespace lumen;

int OptColor(unsigned rgb) {
  return static_cast<int>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

namespace {

// --- Button-like frames -------------------------------------------------------

// Normal: quiet steel outline; hot: brighter blue, a clearer highlight;
// pressed: deep blue outline and an inset shadow instead of the highlight.
TFrameLook ButtonLook(int state) {
  switch (state) {
    case 0: return {0x6F8FB2, 1.0, kWhite, 0.55, kWhite, 0.0, false};
    case 1: return {kHotBlue, 1.0, kWhite, 0.75, kWhite, 0.0, false};
    default: return {kDeepBlue, 1.0, kWhite, 0.0, kWhite, 0.0, true};
  }
}

// Flat buttons that sit on panels: almost nothing in the normal state.
TFrameLook FlatLook(int state) {
  switch (state) {
    case 0: return {kSteel, 0.28, kWhite, 0.30, kWhite, 0.0, false};
    case 1: return {kHotBlue, 0.95, kWhite, 0.70, kWhite, 0.0, false};
    default: return {kDeepBlue, 1.0, kWhite, 0.0, kWhite, 0.0, true};
  }
}

TArtPainter Frame(double radius, TFrameLook (*look)(int), TOpenSide open = TOpenSide::None) {
  return [=](TArtCell& cell, int state) { PaintFrame(cell, radius, look(state), open); };
}

TArtPainter FixedFrame(double radius, TFrameLook look, TOpenSide open = TOpenSide::None) {
  return [=](TArtCell& cell, int) { PaintFrame(cell, radius, look, open); };
}

// Edits: a thin light outline, a blue one with a soft inner glow when focused.
void PaintEdit(TArtCell& cell, int state) {
  if (state == 0)
    PaintFrame(cell, 2, {kSteelLight, 1.0, kWhite, 0.0, kWhite, 0.0, false});
  else
    PaintFrame(cell, 2, {kHotBlue, 1.0, kPaleSky, 0.9, kWhite, 0.0, false});
}

TFrameLook TabLook(int state) {
  switch (state) {
    case 0: return {kSteelLight, 1.0, kWhite, 0.45, kWhite, 0.0, false};
    case 1: return {kHotBlue, 1.0, kWhite, 0.75, kWhite, 0.0, false};
    default: return {kSteel, 1.0, kWhite, 0.9, kWhite, 0.0, false};
  }
}

// Scroll thumbs carry a face of their own so they read against the track.
void PaintThumb(TArtCell& cell, int state) {
  const unsigned outlines[3] = {kSteel, kHotBlue, kDeepBlue};
  PaintFrame(cell, 4, {outlines[state], 1.0, kWhite, state == 2 ? 0.0 : 0.7, kWhite, 0.0, state == 2});
}

// --- Glyphs -------------------------------------------------------------------

const unsigned kGlyphInk[3] = {0x4A6A8C, kDeepBlue, 0x16324F};

void PaintArrow(TArtCell& cell, int state, int direction) {
  const double w = cell.Width(), h = cell.Height();
  const double d = state == 2 ? 0.5 : 0.0;  // pressed glyphs sit half a pixel lower
  TArtShape tri;
  switch (direction) {
    case 0: tri = Triangle(1.2, h - 2.2 + d, w - 1.2, h - 2.2 + d, w / 2, 2.0 + d); break;       // up
    case 1: tri = Triangle(1.2, 2.2 + d, w - 1.2, 2.2 + d, w / 2, h - 2.0 + d); break;           // down
    case 2: tri = Triangle(w - 2.2, 1.2 + d, w - 2.2, h - 1.2 + d, 2.0, h / 2 + d); break;       // left
    default: tri = Triangle(2.2, 1.2 + d, 2.2, h - 1.2 + d, w - 2.0, h / 2 + d); break;          // right
  }
  cell.Paint(tri, Hex(kGlyphInk[state]), 1.0);
}

void PaintGripLines(TArtCell& cell, int state, bool vertical) {
  for (int i = 0; i < 3; ++i) {
    const double p = 1.5 + i * 2.0;
    TArtShape dark = vertical ? Rectangle(1.5, p, 6.5, p + 1) : Rectangle(p, 1.5, p + 1, 6.5);
    TArtShape light = vertical ? Rectangle(1.5, p + 1, 6.5, p + 2) : Rectangle(p + 1, 1.5, p + 2, 6.5);
    cell.Paint(dark, Hex(kGlyphInk[state]), 0.85);
    cell.Paint(light, Hex(kWhite), 0.8);
  }
}

void PaintBox(TArtCell& cell, int state, bool round) {
  const double s = cell.Width();
  const unsigned faces[3] = {kWhite, 0xEAF5FE, 0xCFE4F6};
  const unsigned outlines[3] = {kSteel, kHotBlue, kDeepBlue};
  TArtShape outer = round ? Circle(s / 2, s / 2, s / 2 - 0.5) : RoundRect(0.5, 0.5, s - 0.5, s - 0.5, s > 10 ? 2.5 : 2);
  TArtShape inner = round ? Circle(s / 2, s / 2, s / 2 - 1.5) : RoundRect(1.5, 1.5, s - 1.5, s - 1.5, s > 10 ? 1.5 : 1);
  cell.Paint(outer, Hex(outlines[state]), 1.0);
  cell.PaintVertical(inner, Hex(faces[state]), Mix(Hex(faces[state]), Hex(kPanel), 0.35), 1.5, s - 1.5, 1.0);
}

void PaintCheck(TArtCell& cell, int state) {
  const double s = cell.Width();
  const double k = s / 13.0;
  const unsigned ink = state == 1 ? kDeepBlue : kNavy;
  cell.Paint(Union(Segment(3.4 * k, 6.6 * k, 5.6 * k, 9.0 * k, 0.95 * k), Segment(5.6 * k, 9.0 * k, 9.8 * k, 3.8 * k, 0.95 * k)),
             Hex(ink), 1.0);
}

void PaintGrayedMark(TArtCell& cell, int state) {
  const double s = cell.Width();
  const double m = s * 0.3;
  cell.Paint(RoundRect(m, m, s - m, s - m, 1), Hex(state == 1 ? 0x6F9CC8 : 0x8FA8BF), 1.0);
}

void PaintRadioDot(TArtCell& cell, int state) {
  const double s = cell.Width();
  cell.Paint(Circle(s / 2, s / 2, s * 0.2), Hex(state == 1 ? kDeepBlue : kNavy), 1.0);
}

// Caption buttons: a bare glyph at rest, a soft rounded plate when hot, a
// darker plate with the glyph half a pixel lower when pressed.
enum class TCaptionGlyph { Close, Max, Min, Norm, Help, User };

void PaintCaption(TArtCell& cell, int state, TCaptionGlyph glyph) {
  const double w = cell.Width(), h = cell.Height();
  const bool close = glyph == TCaptionGlyph::Close;
  if (state > 0) {
    const unsigned plate = close ? (state == 1 ? kCloseRed : 0xB23B33) : (state == 1 ? 0xE4F2FD : 0xB7D6F0);
    const unsigned edge = close ? (state == 1 ? 0xB5433B : 0x8F2E28) : (state == 1 ? kHotBlue : kDeepBlue);
    cell.Paint(RoundRect(0.5, 1.5, w - 0.5, h - 0.5, 3), Hex(edge), 1.0);
    cell.PaintVertical(RoundRect(1.5, 2.5, w - 1.5, h - 1.5, 2), Mix(Hex(plate), Hex(kWhite), state == 1 ? 0.25 : 0.0),
                       Hex(plate), 2.5, h - 1.5, 1.0);
  }
  const unsigned ink = close && state > 0 ? kWhite : (state == 2 ? 0x16324F : kInk);
  const TArtColor c = Hex(ink);
  const double d = state == 2 ? 0.5 : 0.0;
  const double cx = w / 2, cy = h / 2 + 0.5 + d;
  switch (glyph) {
    case TCaptionGlyph::Close:
      cell.Paint(Union(Segment(cx - 3.2, cy - 3.2, cx + 3.2, cy + 3.2, 0.95), Segment(cx - 3.2, cy + 3.2, cx + 3.2, cy - 3.2, 0.95)), c);
      break;
    case TCaptionGlyph::Max:
      cell.Paint(Ring(Rectangle(cx - 4, cy - 4, cx + 4, cy + 4), Rectangle(cx - 3, cy - 2, cx + 3, cy + 3)), c);
      break;
    case TCaptionGlyph::Min:
      cell.Paint(Rectangle(cx - 4, cy + 2, cx + 4, cy + 4), c);
      break;
    case TCaptionGlyph::Norm:
      cell.Paint(Ring(Rectangle(cx - 1.5, cy - 4.5, cx + 4.5, cy + 1.5), Rectangle(cx - 0.5, cy - 2.5, cx + 3.5, cy + 0.5)), c);
      cell.Paint(Ring(Rectangle(cx - 4.5, cy - 1.5, cx + 1.5, cy + 4.5), Rectangle(cx - 3.5, cy + 0.5, cx + 0.5, cy + 3.5)), c);
      break;
    case TCaptionGlyph::Help: {
      const TArtShape arc = [=](double x, double y) {
        const double dx = x - cx, dy = y - (cy - 1.8);
        const double r2 = dx * dx + dy * dy;
        return r2 <= 3.3 * 3.3 && r2 >= 1.6 * 1.6 && (dy < 0.6 || dx > 0);
      };
      cell.Paint(arc, c);
      cell.Paint(Segment(cx + 1.6, cy - 0.6, cx, cy + 1.2, 0.85), c);
      cell.Paint(Segment(cx, cy + 1.2, cx, cy + 2.0, 0.85), c);
      cell.Paint(Circle(cx, cy + 3.9, 0.95), c);
      break;
    }
    case TCaptionGlyph::User:
      cell.Paint(Circle(cx, cy, 2.2), c);
      break;
  }
}

void PaintSizeGrip(TArtCell& cell, int) {
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col <= row; ++col) {
      const double x = 9.5 - col * 3.5, y = 9.5 - (2 - row) * 3.5 + 0.0;
      cell.Paint(Rectangle(x - 0.5, y - 0.5, x + 1.5, y + 1.5), Hex(kWhite), 0.9);
      cell.Paint(Rectangle(x - 1.5, y - 1.5, x + 0.5, y + 0.5), Hex(kSteel), 1.0);
    }
}

// Track-bar thumbs: a rounded body with a pointed end towards the ticks.
void PaintSliderThumb(TArtCell& cell, int state, bool vertical) {
  const double w = cell.Width(), h = cell.Height();
  const unsigned faces[3] = {0xF4F8FC, 0xE0F1FD, 0xC4DDF2};
  const unsigned outlines[3] = {kSteel, kHotBlue, kDeepBlue};
  TArtShape outer, inner;
  if (!vertical) {
    outer = Union(RoundRectCorners(0.5, 0.5, w - 0.5, h - 4.5, 2, true, true, false, false), Triangle(0.5, h - 4.6, w - 0.5, h - 4.6, w / 2, h - 0.3));
    inner = Union(RoundRectCorners(1.5, 1.5, w - 1.5, h - 4.5, 1, true, true, false, false), Triangle(1.5, h - 4.6, w - 1.5, h - 4.6, w / 2, h - 1.7));
  } else {
    outer = Union(RoundRectCorners(0.5, 0.5, w - 4.5, h - 0.5, 2, true, false, false, true), Triangle(w - 4.6, 0.5, w - 4.6, h - 0.5, w - 0.3, h / 2));
    inner = Union(RoundRectCorners(1.5, 1.5, w - 4.5, h - 1.5, 1, true, false, false, true), Triangle(w - 4.6, 1.5, w - 4.6, h - 1.5, w - 1.7, h / 2));
  }
  cell.Paint(outer, Hex(outlines[state]), 1.0);
  cell.PaintVertical(inner, Hex(faces[state]), Mix(Hex(faces[state]), Hex(kPanel), 0.5), 1, h - 1, 1.0);
}

// --- Keyed borders (MaskType 0) -----------------------------------------------

// Panels: a light outer line and a white inner line, the corner pixel a hole.
void PaintPanelBorder(TArtCell& cell, int) {
  const double w = cell.Width(), h = cell.Height();
  cell.Paint(Rectangle(0, 0, w, h), Hex(kPanel), 1.0);
  cell.Paint(Ring(RoundRect(0, 0, w, h, 1.6), Rectangle(1, 1, w - 1, h - 1)), Hex(0x8DAACB), 1.0);
  cell.Paint(Ring(Rectangle(1, 1, w - 1, h - 1), Rectangle(2, 2, w - 2, h - 2)), Mix(Hex(kWhite), Hex(kPanel), 0.35), 1.0);
}

void PaintSunken(TArtCell& cell, int) {
  const double w = cell.Width(), h = cell.Height();
  cell.Paint(Rectangle(0, 0, w, h), Hex(0xDCE6EF), 1.0);
  cell.Paint(Ring(RoundRect(0, 0, w, h, 1.6), Rectangle(1, 1, w - 1, h - 1)), Hex(0x9FB3C7), 1.0);
  cell.Paint(Union(Rectangle(1, 1, w - 1, 2), Rectangle(1, 1, 2, h - 1)), Hex(0xB9C9D8), 1.0);
  cell.Paint(Union(Rectangle(1, h - 2, w - 1, h - 1), Rectangle(w - 2, 1, w - 1, h - 1)), Hex(kWhite), 1.0);
}

void PaintThinKeyed(TArtCell& cell, unsigned line, unsigned face) {
  const double w = cell.Width(), h = cell.Height();
  cell.Paint(Rectangle(0, 0, w, h), Hex(face), 1.0);
  cell.Paint(Ring(RoundRect(0, 0, w, h, 1.6), Rectangle(1, 1, w - 1, h - 1)), Hex(line), 1.0);
}

void PaintStatusBorder(TArtCell& cell, int) {
  const double w = cell.Width(), h = cell.Height();
  cell.Paint(Rectangle(0, 0, w, h), Hex(0xDCE6EF), 1.0);
  cell.Paint(Rectangle(0, 0, w, 1), Hex(kSteelLight), 1.0);
  cell.Paint(Rectangle(0, 1, w, 2), Hex(kWhite), 0.9);
}

void PaintChannel(TArtCell& cell, int) {
  const double w = cell.Width(), h = cell.Height();
  cell.Paint(Rectangle(0, 0, w, h), Hex(0xE9F0F6), 1.0);
  cell.Paint(Ring(RoundRect(0, 0, w, h, 1.6), Rectangle(1, 1, w - 1, h - 1)), Hex(kSteel), 1.0);
  cell.Paint(Rectangle(1, 1, w - 1, 2), Hex(0xB9C9D8), 1.0);
}

// The grip texture: one raised dot per 6 x 6 tile.
void PaintGripDot(TArtCell& cell, int) {
  cell.Paint(Rectangle(2, 2, 4, 4), Hex(kWhite), 0.9);
  cell.Paint(Rectangle(1, 1, 3, 3), Hex(kSteel), 1.0);
}

// Left end of the title band: a rounded cap.
void PaintTitleCap(TArtCell& cell, int) {
  const double w = cell.Width(), h = cell.Height();
  cell.Paint(RoundRectCorners(0, 0, w + 4, h + 4, 4, true, false, false, false), Hex(0xA9C6E0), 1.0);
}

TArtMask Mask(std::string section, std::string key, char form, int l, int t, int r, int b, int count, int type,
              int stretch, int width, TArtPainter painter) {
  TArtMask m;
  m.Section = std::move(section);
  m.Key = std::move(key);
  m.Form = form;
  m.Left = l, m.Top = t, m.Right = r, m.Bottom = b;
  m.ImageCount = count;
  m.MaskType = type;
  m.StretchMode = stretch;
  m.BorderWidth = width;
  m.Painter = std::move(painter);
  m.KeyBase = Hex(kPanel);
  return m;
}

std::vector<TArtMask> BuildMasks() {
  std::vector<TArtMask> v;
  auto border = [&](const char* s, int l, int t, int r, int b, int count, int type, int stretch, int width, TArtPainter p) {
    v.push_back(Mask(s, "BORDERSMASK", '^', l, t, r, b, count, type, stretch, width, std::move(p)));
  };
  auto glyph = [&](const char* s, const char* k, int l, int t, int r, int b, int count, int type, TArtPainter p) {
    v.push_back(Mask(s, k, '@', l, t, r, b, count, type, 0, 0, std::move(p)));
  };
  // The five sections the windows bind to; their rectangles are fixed.
  border("BUTTON", 0, 0, 81, 54, 3, 1, 5, 0, Frame(4, ButtonLook));
  border("PANEL", 45, 54, 81, 90, 1, 0, 1, 2, PaintPanelBorder);
  border("BAR", 135, 0, 180, 90, 1, 1, 5, 0, FixedFrame(5, {0x8DAACB, 1.0, kWhite, 0.6, kWhite, 0.0, false}));
  border("SPEEDBUTTON", 0, 180, 45, 210, 3, 1, 5, 0, Frame(3, FlatLook));
  border("GROUPBOX", 0, 279, 12, 297, 1, 1, 5, 0, FixedFrame(3, {0xA9B9C9, 1.0, kWhite, 0.5, kWhite, 0.0, false}));

  // Edits and lists.
  border("EDIT", 81, 0, 105, 24, 2, 1, 0, 0, PaintEdit);
  border("ALPHAEDIT", 81, 0, 105, 24, 2, 1, 0, 0, nullptr);
  border("HINT", 105, 24, 117, 48, 1, 1, 4, 0, FixedFrame(3, {0x8A9BAE, 1.0, kWhite, 0.7, kWhite, 0.0, false}));
  // Scroll-bar tracks.
  border("SCROLLBAR1H", 105, 0, 129, 24, 2, 1, 0, 0, [](TArtCell& c, int s) {
    PaintFrame(c, 3, {s ? 0xA9BFD4u : 0xC2D1DFu, 1.0, kWhite, 0.5, kWhite, 0.0, false});
  });
  border("SCROLLBAR2H", 105, 0, 129, 24, 2, 1, 0, 0, nullptr);
  border("SCROLLBAR1V", 81, 24, 105, 48, 2, 1, 0, 0, [](TArtCell& c, int s) {
    PaintFrame(c, 3, {s ? 0xA9BFD4u : 0xC2D1DFu, 1.0, kWhite, 0.5, kWhite, 0.0, false});
  });
  border("SCROLLBAR2V", 81, 24, 105, 48, 2, 1, 0, 0, nullptr);
  // Progress bars and gauges share one frame.
  const TArtPainter meter = FixedFrame(3, {kSteelLight, 1.0, kWhite, 0.8, kWhite, 0.0, false});
  border("PROGRESSH", 117, 24, 129, 48, 1, 1, 4, 0, meter);
  border("PROGRESSV", 117, 24, 129, 48, 1, 1, 4, 0, nullptr);
  border("GAUGE", 117, 24, 129, 48, 1, 1, 4, 0, nullptr);

  // Window frame: inactive, active; explicit 4-pixel borders.
  {
    TArtMask form = Mask("FORM", "BORDERSMASK", '^', 180, 0, 210, 30, 2, 1, 0, 0, [](TArtCell& c, int s) {
      PaintFrame(c, 4, {s ? 0x5677A0u : 0x8EA3B8u, 1.0, kWhite, s ? 0.55 : 0.4, kWhite, 0.0, false});
    });
    form.WL = form.WT = form.WR = form.WB = 4;
    v.push_back(std::move(form));
  }
  border("MENUITEM", 180, 30, 204, 54, 2, 1, 6, 0, [](TArtCell& c, int) {
    PaintFrame(c, 3, {0x7FB6E6, 1.0, kWhite, 0.6, kWhite, 0.0, false});
  });
  v.push_back(Mask("PAGECONTROL", "BORDERSMASK", '^', 180, 54, 192, 66, 1, 0, 0, 1,
                   [](TArtCell& c, int) { PaintThinKeyed(c, kSteelLight, 0xF3F7FB); }));
  border("PANEL_LOW", 192, 54, 204, 66, 1, 0, 1, 2, PaintSunken);
  border("STATUSBAR", 180, 66, 192, 78, 1, 0, 1, 2, PaintStatusBorder);

  // Buttons of tool bars and small buttons.
  border("TOOLBUTTON", 0, 54, 45, 84, 3, 1, 0, 0, Frame(3, FlatLook));
  border("SPEEDBUTTON_SMALL", 81, 54, 117, 78, 3, 1, 0, 0, Frame(2, ButtonLook));
  border("UPDOWNBTN", 81, 54, 117, 78, 3, 1, 0, 0, nullptr);

  // Tabs: open on the side that joins the page.
  border("TABTOP", 0, 90, 45, 120, 3, 1, 0, 0, Frame(3, TabLook, TOpenSide::Bottom));
  border("TABBOTTOM", 45, 90, 90, 120, 3, 1, 0, 0, Frame(3, TabLook, TOpenSide::Top));
  border("TABLEFT", 90, 90, 135, 120, 3, 1, 0, 0, Frame(3, TabLook, TOpenSide::Right));
  border("TABRIGHT", 135, 90, 180, 120, 3, 1, 0, 0, Frame(3, TabLook, TOpenSide::Left));

  // Scroll buttons share one frame; each has its own arrow.
  border("SCROLLBTNTOP", 0, 120, 45, 150, 3, 1, 0, 0, Frame(3, FlatLook));
  border("SCROLLBTNBOTTOM", 0, 120, 45, 150, 3, 1, 0, 0, nullptr);
  border("SCROLLBTNLEFT", 0, 120, 45, 150, 3, 1, 0, 0, nullptr);
  border("SCROLLBTNRIGHT", 0, 120, 45, 150, 3, 1, 0, 0, nullptr);
  glyph("SCROLLBTNTOP", "GLYPHMASK", 135, 120, 159, 136, 3, 1, [](TArtCell& c, int s) { PaintArrow(c, s, 0); });
  glyph("SCROLLBTNBOTTOM", "GLYPHMASK", 159, 120, 183, 136, 3, 1, [](TArtCell& c, int s) { PaintArrow(c, s, 1); });
  glyph("SCROLLBTNLEFT", "GLYPHMASK", 135, 136, 159, 152, 3, 1, [](TArtCell& c, int s) { PaintArrow(c, s, 2); });
  glyph("SCROLLBTNRIGHT", "GLYPHMASK", 159, 136, 183, 152, 3, 1, [](TArtCell& c, int s) { PaintArrow(c, s, 3); });
  border("SCROLLSLIDERH", 45, 120, 90, 150, 3, 1, 4, 0, PaintThumb);
  border("SCROLLSLIDERV", 45, 120, 90, 150, 3, 1, 4, 0, nullptr);
  glyph("SCROLLSLIDERH", "GLYPHMASK", 183, 120, 207, 136, 3, 1, [](TArtCell& c, int s) { PaintGripLines(c, s, false); });
  glyph("SCROLLSLIDERV", "GLYPHMASK", 183, 136, 207, 152, 3, 1, [](TArtCell& c, int s) { PaintGripLines(c, s, true); });
  glyph("COMBOBOX", "GLYPHMASK", 180, 90, 204, 106, 3, 1, [](TArtCell& c, int s) { PaintArrow(c, s, 1); });

  // Check marks of GLOBALINFO.
  glyph("GLOBALINFO", "BOXCHECKED", 0, 152, 39, 178, 3, 1, [](TArtCell& c, int s) { PaintBox(c, s, false); PaintCheck(c, s); });
  glyph("GLOBALINFO", "BOXUNCHECKED", 39, 152, 78, 178, 3, 1, [](TArtCell& c, int s) { PaintBox(c, s, false); });
  glyph("GLOBALINFO", "BOXGRAYED", 78, 152, 117, 178, 3, 1, [](TArtCell& c, int s) { PaintBox(c, s, false); PaintGrayedMark(c, s); });
  glyph("GLOBALINFO", "RADIOCHECKED", 117, 152, 156, 178, 3, 1, [](TArtCell& c, int s) { PaintBox(c, s, true); PaintRadioDot(c, s); });
  glyph("GLOBALINFO", "RADIOUNCHECKED", 45, 180, 84, 206, 3, 1, [](TArtCell& c, int s) { PaintBox(c, s, true); });
  glyph("GLOBALINFO", "SMALLCHECKED", 84, 180, 111, 198, 3, 1, [](TArtCell& c, int s) { PaintBox(c, s, false); PaintCheck(c, s); });
  glyph("GLOBALINFO", "SMALLUNCHECKED", 111, 180, 138, 198, 3, 1, [](TArtCell& c, int s) { PaintBox(c, s, false); });
  glyph("GLOBALINFO", "SMALLGRAYED", 138, 180, 165, 198, 3, 1, [](TArtCell& c, int s) { PaintBox(c, s, false); PaintGrayedMark(c, s); });
  glyph("GLOBALINFO", "GRIPIMAGE", 165, 180, 177, 204, 1, 1, PaintSizeGrip);

  // Caption buttons.
  glyph("GLOBALINFO", "BICONCLOSE", 49, 210, 97, 246, 3, 1, [](TArtCell& c, int s) { PaintCaption(c, s, TCaptionGlyph::Close); });
  glyph("GLOBALINFO", "BICONMAX", 97, 210, 145, 246, 3, 1, [](TArtCell& c, int s) { PaintCaption(c, s, TCaptionGlyph::Max); });
  glyph("GLOBALINFO", "BICONMIN", 145, 210, 193, 246, 3, 1, [](TArtCell& c, int s) { PaintCaption(c, s, TCaptionGlyph::Min); });
  glyph("GLOBALINFO", "BICONNORM", 49, 246, 97, 282, 3, 1, [](TArtCell& c, int s) { PaintCaption(c, s, TCaptionGlyph::Norm); });
  glyph("GLOBALINFO", "BICONHELP", 97, 246, 145, 282, 3, 1, [](TArtCell& c, int s) { PaintCaption(c, s, TCaptionGlyph::Help); });
  glyph("GLOBALINFO", "TITLEBUTTON", 0, 210, 48, 246, 3, 1, [](TArtCell& c, int s) { PaintCaption(c, s, TCaptionGlyph::User); });
  glyph("FORMTITLE", "LRGN", 90, 120, 98, 128, 1, 0, PaintTitleCap);
  v.back().KeyBase = Hex(0xA9C6E0);

  // Track bar.
  glyph("TRACKBAR", "SLIDERMASK", 177, 180, 204, 208, 3, 1, [](TArtCell& c, int s) { PaintSliderThumb(c, s, false); });
  glyph("TRACKBAR", "SLIDERVMASK", 0, 246, 42, 264, 3, 1, [](TArtCell& c, int s) { PaintSliderThumb(c, s, true); });
  v.push_back(Mask("TRACKBAR", "SLIDERCHANNEL", '^', 0, 264, 12, 270, 1, 0, 1, 2, PaintChannel));
  glyph("TRACKBAR", "TICKHORZ", 12, 264, 13, 268, 1, 0, [](TArtCell& c, int) { c.Paint(Rectangle(0, 0, 1, 4), Hex(kSteel)); });
  glyph("TRACKBAR", "TICKVERT", 14, 264, 18, 265, 1, 0, [](TArtCell& c, int) { c.Paint(Rectangle(0, 0, 4, 1), Hex(kSteel)); });

  // The grip texture tiled by GRIPH.
  v.push_back(Mask("GRIPH", "PATTERN", '~', 172, 165, 178, 177, 1, 1, 10, 0, PaintGripDot));
  v.push_back(Mask("GRIPH", "HOTPATTERN", '~', 172, 165, 178, 177, 1, 1, 10, 0, nullptr));
  return v;
}

bool Overlap(const TArtMask& a, const TArtMask& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool SameRect(const TArtMask& a, const TArtMask& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

}  // namespace

const std::vector<TArtMask>& LumenMasks() {
  static const std::vector<TArtMask> masks = BuildMasks();
  return masks;
}

std::string MaskValueText(const TArtMask& m) {
  char text[96];
  switch (m.Form) {
    case '@':
      std::snprintf(text, sizeof text, "@%04d@%04d@%04d@%04d@%d@%d", m.Left, m.Top, m.Right, m.Bottom, m.ImageCount,
                    m.MaskType);
      break;
    case '~':
      std::snprintf(text, sizeof text, "~%04d~%04d~%04d~%04d~%02d~%d", m.Left, m.Top, m.Right, m.Bottom,
                    m.StretchMode, m.MaskType);
      break;
    default:
      std::snprintf(text, sizeof text, "^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%d^%d^%d^%d", m.Left, m.Top, m.Right,
                    m.Bottom, m.WL, m.WT, m.WR, m.WB, m.ImageCount, m.MaskType, m.StretchMode, m.BorderWidth);
      break;
  }
  return text;
}

std::vector<std::string> CheckLayout(const std::vector<TArtMask>& masks) {
  std::vector<std::string> problems;
  for (std::size_t i = 0; i < masks.size(); ++i) {
    const TArtMask& m = masks[i];
    const std::string name = m.Section + "/" + m.Key;
    if (m.Left < 0 || m.Top < 0 || m.Right > kMasterWidth || m.Bottom > kMasterHeight || m.Right <= m.Left ||
        m.Bottom <= m.Top)
      problems.push_back(name + ": rectangle outside the master bitmap");
    if ((m.Right - m.Left) % m.ImageCount != 0) problems.push_back(name + ": width does not divide into frames");
    if ((m.Bottom - m.Top) % (m.MaskType + 1) != 0) problems.push_back(name + ": height does not divide into rows");
    bool painted = m.Painter != nullptr;
    for (std::size_t j = 0; j < masks.size(); ++j) {
      if (i == j) continue;
      if (SameRect(m, masks[j])) {
        if (masks[j].Painter) painted = true;
        if (m.Painter && masks[j].Painter && j < i) problems.push_back(name + ": rectangle painted twice");
      } else if (Overlap(m, masks[j]) && j > i) {
        problems.push_back(name + " overlaps " + masks[j].Section + "/" + masks[j].Key);
      }
    }
    if (!painted) problems.push_back(name + ": nothing paints its rectangle");
  }
  return problems;
}

TBitmap PaintMaster() {
  TBitmap master(kMasterWidth, kMasterHeight, TPixelFormat::pf24bit);
  master.Fill(clFuchsia);
  for (const TArtMask& m : LumenMasks()) {
    if (!m.Painter) continue;
    const int frameW = (m.Right - m.Left) / m.ImageCount;
    const int frameH = (m.Bottom - m.Top) / (m.MaskType + 1);
    for (int state = 0; state < m.ImageCount; ++state) {
      TArtCell cell(frameW, frameH);
      m.Painter(cell, state);
      if (m.MaskType == 1)
        cell.WriteMasked(master, m.Left + state * frameW, m.Top);
      else
        cell.WriteKeyed(master, m.Left + state * frameW, m.Top, m.KeyBase);
    }
  }
  return master;
}
