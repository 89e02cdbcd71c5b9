#include "platform/gfx/TextRender.h"

#include <algorithm>
#include <string>

#include "platform/base/Cp1251.h"
#include "platform/gfx/TextBlend.h"

namespace {

enum class TItemKind { Glyph, Space, Tab, Newline };

// One character of a DrawText string after prefix processing.
struct TItem {
  const TGlyph* Glyph = nullptr;
  int Advance = 0;  // 1/64 pixel, as every x of the layout
  TItemKind Kind = TItemKind::Glyph;
  bool Prefixed = false;  // the character after a single '&'
};

struct TLine {
  int Begin = 0;
  int End = 0;  // exclusive, trailing spaces of a wrapped line left out
  int Width = 0;  // 1/64 pixel: advances while breaking, then the inked extent
  bool Ellipsis = false;
};

// Reused between calls so that a warm-cache DrawText does not allocate.
struct TScratch {
  std::vector<TItem> Items;
  std::vector<TLine> Lines;
  std::vector<TPlacedGlyph> Placed;
  std::vector<TRect> Clip;
};

TScratch& Scratch() {
  thread_local TScratch scratch;
  return scratch;
}

struct TLayout {
  unsigned Format = 0;
  int TabWidth = 64;  // 1/64 pixel
  const TGlyph* Dot = nullptr;
  int EllipsisWidth = 0;  // 1/64 pixel
  int LineHeight = 0;
};

// A text laid out for a face, a format and (where lines are broken or shortened) a
// width: its items and finished lines. Captions are drawn again and again as they
// are (a button's face in each state, a label on every paint), so the last texts'
// layouts are kept and only the glyphs are blended again. Faces are told apart by
// serial, never by address, as the items point at the face's glyphs.
struct TKeptLayout {
  std::uint64_t Face = 0;
  unsigned Format = 0;
  int Width64 = 0;
  std::string Text;
  std::vector<TItem> Items;
  std::vector<TLine> Lines;
};

// Enough for the captions of a window painted in turns; longer texts (a page of a
// memo) are laid out every time.
constexpr std::size_t kKeptLayouts = 16, kKeptTextMax = 256;

struct TKeptLayouts {
  TKeptLayout Entries[kKeptLayouts];
  std::size_t Next = 0;
};

TKeptLayouts& KeptLayouts() {
  thread_local TKeptLayouts kept;
  return kept;
}

// Layout keeps pen positions in 1/64 pixel; glyphs land on the nearest whole pixel.
constexpr int kUnit = 64;
inline int Pixels(int units) { return (units + kUnit / 2) >> 6; }

// Advance of an item with the pen at x (from the line start): tabs jump to the next stop.
inline int Step(const TItem& item, int x, int tabWidth) {
  if (item.Kind == TItemKind::Tab) return (x / tabWidth + 1) * tabWidth - x;
  return item.Advance;
}

inline bool IsBlank(const TItem& item) { return item.Kind == TItemKind::Space || item.Kind == TItemKind::Tab; }

int LineWidth(const std::vector<TItem>& items, int begin, int end, int tabWidth) {
  int x = 0;
  for (int i = begin; i < end; ++i) x += Step(items[i], x, tabWidth);
  return x;
}

// The advance width of a line (1/64 pixel), widened so that the ink of its glyphs
// fits: a rectangle measured with DT_CALCRECT then clips nothing of the last letter.
int LineExtent(const std::vector<TItem>& items, const TLine& line, const TLayout& layout) {
  int x = 0;
  int inkRight = 0;
  const auto ink = [&](const TGlyph* g) {
    if (g && g->Width > 0) inkRight = std::max(inkRight, (Pixels(x) + g->Left + g->Width) * kUnit);
  };
  for (int i = line.Begin; i < line.End; ++i) {
    ink(items[i].Glyph);
    x += Step(items[i], x, layout.TabWidth);
  }
  if (line.Ellipsis)
    for (int i = 0; i < 3; ++i, x += layout.Dot->Advance64) ink(layout.Dot);
  return std::max(x, inkRight);
}

void BuildItems(TFontFace& face, std::string_view text, unsigned format, std::vector<TItem>& items) {
  items.clear();
  const bool prefix = !(format & DT_NOPREFIX);
  const bool single = format & DT_SINGLELINE;
  const bool expandTabs = format & DT_EXPANDTABS;
  const int spaceAdvance = face.Glyph(U' ').Advance64;
  bool marked = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t cp = NextCodePoint(text, pos);
    if (prefix && cp == U'&') {
      if (pos < text.size() && text[pos] == '&') {
        ++pos;  // "&&" is one literal ampersand
      } else {
        marked = true;
        continue;
      }
    }
    TItem item;
    if (cp == U'\r' || cp == U'\n') {
      if (cp == U'\r' && pos < text.size() && text[pos] == '\n') ++pos;
      marked = false;
      if (single) continue;  // a single line ignores line breaks
      item.Kind = TItemKind::Newline;
    } else if (cp == U'\t') {
      item.Kind = expandTabs ? TItemKind::Tab : TItemKind::Space;
      item.Advance = spaceAdvance;
    } else if (cp == U' ') {
      item.Kind = TItemKind::Space;
      item.Advance = spaceAdvance;
    } else {
      item.Glyph = &face.Glyph(cp);
      item.Advance = item.Glyph->Advance64;
    }
    item.Prefixed = marked;
    marked = false;
    items.push_back(item);
  }
}

// `width` is in 1/64 pixel.
void BreakLines(const std::vector<TItem>& items, const TLayout& layout, int width, std::vector<TLine>& lines) {
  lines.clear();
  const bool wordBreak = (layout.Format & DT_WORDBREAK) && !(layout.Format & DT_SINGLELINE);
  const bool charBreak = layout.Format & DT_EDITCONTROL;
  const int count = static_cast<int>(items.size());
  int begin = 0;
  for (;;) {
    int x = 0;
    int lastBreak = -1;  // where the next line starts when breaking after a blank
    int end = count;
    int next = count;
    for (int i = begin; i < count; ++i) {
      const TItem& item = items[i];
      if (item.Kind == TItemKind::Newline) {
        end = i;
        next = i + 1;
        break;
      }
      const int advance = Step(item, x, layout.TabWidth);
      if (wordBreak && item.Kind == TItemKind::Glyph && i > begin && x + advance > width) {
        if (lastBreak > begin) {
          end = next = lastBreak;
          break;
        }
        // A word longer than the line stays whole unless edit-control breaking is asked for.
        if (charBreak) {
          end = next = i;
          break;
        }
      }
      x += advance;
      if (IsBlank(item)) lastBreak = i + 1;
    }
    int trimmed = end;
    if (wordBreak)
      while (trimmed > begin && IsBlank(items[trimmed - 1])) --trimmed;
    lines.push_back({begin, trimmed, LineWidth(items, begin, trimmed, layout.TabWidth), false});
    if (next >= count) break;
    begin = next;
  }
}

// Cuts a line that does not fit so that it ends in "..." within `width` (1/64 pixel).
void ApplyEllipsis(const std::vector<TItem>& items, const TLayout& layout, int width, TLine& line) {
  if (line.Width <= width) return;
  const bool wordEllipsis = (layout.Format & DT_WORD_ELLIPSIS) && !(layout.Format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS));
  int x = 0;
  int cut = line.Begin;
  int wordEnd = -1;
  for (int i = line.Begin; i < line.End; ++i) {
    const int advance = Step(items[i], x, layout.TabWidth);
    if (x + advance + layout.EllipsisWidth > width) break;
    x += advance;
    cut = i + 1;
    if (!IsBlank(items[i]) && i + 1 < line.End && IsBlank(items[i + 1])) wordEnd = i + 1;
  }
  if (wordEllipsis && wordEnd > line.Begin) cut = wordEnd;
  while (cut > line.Begin && IsBlank(items[cut - 1])) --cut;
  line.End = cut;
  line.Ellipsis = true;
  line.Width = LineWidth(items, line.Begin, cut, layout.TabWidth) + layout.EllipsisWidth;
}

void DrawLine(TFontFace& face, TTextStyle style, const std::vector<TItem>& items, const TLine& line,
              const TLayout& layout, int devX, int devY, const TTextTarget& target, std::span<const TRect> clip,
              std::vector<TPlacedGlyph>& placed) {
  TBitmap& bitmap = *target.Bitmap;
  const int baseline = devY + face.Ascent();
  const bool prefixOnly = layout.Format & DT_PREFIXONLY;
  const int lineRight = devX + Pixels(line.Width);
  if (target.Opaque && !prefixOnly)
    FillClipped(bitmap, clip, {devX, devY, lineRight, devY + layout.LineHeight}, target.BkColor);
  const bool showPrefix = !(layout.Format & DT_HIDEPREFIX);
  const int ulTop = baseline + face.UnderlineOffset();
  const int ulBottom = ulTop + face.UnderlineThickness();
  placed.clear();
  int x = 0;
  for (int i = line.Begin; i < line.End; ++i) {
    const TItem& item = items[i];
    const int advance = Step(item, x, layout.TabWidth);
    if (item.Glyph) placed.push_back({item.Glyph, devX + Pixels(x)});
    if (item.Prefixed && showPrefix)
      FillClipped(bitmap, clip, {devX + Pixels(x), ulTop, devX + Pixels(x + advance), ulBottom}, target.TextColor);
    x += advance;
  }
  if (prefixOnly) return;
  if (line.Ellipsis)
    for (int i = 0; i < 3; ++i, x += layout.Dot->Advance64) placed.push_back({layout.Dot, devX + Pixels(x)});
  BlendGlyphs(bitmap, clip, placed, baseline, target.TextColor);
  if (style.Underline) FillClipped(bitmap, clip, {devX, ulTop, lineRight, ulBottom}, target.TextColor);
  if (style.StrikeOut) {
    const int top = baseline - face.StrikeOutOffset();
    FillClipped(bitmap, clip, {devX, top, lineRight, top + face.StrikeOutThickness()}, target.TextColor);
  }
}

}  // namespace

int DrawTextOn(TFontFace& face, TTextStyle style, std::string_view utf8, TRect& rect, unsigned format,
               const TTextTarget* target) {
  TLayout layout;
  // Measuring and drawing lay a text out alike, so DT_CALCRECT is left out of the
  // key, unless the byte it sits in holds a tab size.
  const unsigned keyFormat = (format & DT_TABSTOP) ? format : format & ~static_cast<unsigned>(DT_CALCRECT);
  int tabChars = 8;
  if (format & DT_TABSTOP) {
    // The second byte then holds the tab size instead of flags.
    tabChars = static_cast<int>((format >> 8) & 0xFF);
    format &= ~0xFF00u;
    if (tabChars == 0) tabChars = 8;
  }
  layout.Format = format;
  layout.TabWidth = std::max(1, tabChars * face.Metric().tmAveCharWidth) * kUnit;
  layout.Dot = &face.Glyph(U'.');
  layout.EllipsisWidth = 3 * layout.Dot->Advance64;
  layout.LineHeight = face.Height() + ((format & DT_EXTERNALLEADING) ? face.Metric().tmExternalLeading : 0);
  const bool calc = format & DT_CALCRECT;
  if (utf8.empty()) {
    if (calc) {
      rect.Right = rect.Left;
      rect.Bottom = rect.Top;
    }
    return 0;
  }

  TScratch& scratch = Scratch();
  const int width = rect.Width();
  // Whole pixels of the rectangle; the layout compares in 1/64 with half a pixel of
  // tolerance, so that text measured by DT_CALCRECT fits the rectangle it gave.
  const int width64 = std::clamp(width, -(1 << 24), 1 << 24) * kUnit + kUnit / 2 - 1;
  const bool widthMatters =
      ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) || (format & (DT_WORD_ELLIPSIS | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS));
  const int keyWidth = widthMatters ? width64 : 0;
  const bool keep = utf8.size() <= kKeptTextMax;
  TKeptLayout* kept = nullptr;
  if (keep) {
    TKeptLayouts& all = KeptLayouts();
    for (TKeptLayout& entry : all.Entries)
      if (entry.Face == face.Serial() && entry.Format == keyFormat && entry.Width64 == keyWidth && entry.Text == utf8) {
        kept = &entry;
        break;
      }
    if (!kept) {
      TKeptLayout& entry = all.Entries[all.Next];
      all.Next = (all.Next + 1) % kKeptLayouts;
      entry.Face = 0;  // not valid until laid out below
      kept = &entry;
    }
  }
  std::vector<TItem>& items = kept ? kept->Items : scratch.Items;
  std::vector<TLine>& lines = kept ? kept->Lines : scratch.Lines;
  if (!kept || kept->Face == 0) {
    BuildItems(face, utf8, format, items);
    BreakLines(items, layout, width64, lines);
    // The word variant shortens every line that does not fit; the end variant only
    // the end of the text (a long word on an earlier line is just clipped).
    if (format & DT_WORD_ELLIPSIS)
      for (TLine& line : lines) ApplyEllipsis(items, layout, width64, line);
    else if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS))
      ApplyEllipsis(items, layout, width64, lines.back());
    for (TLine& line : lines) line.Width = LineExtent(items, line, layout);
    if (kept) {
      kept->Face = face.Serial();
      kept->Format = keyFormat;
      kept->Width64 = keyWidth;
      kept->Text.assign(utf8);
    }
  }

  const bool single = format & DT_SINGLELINE;
  const int total = static_cast<int>(lines.size()) * layout.LineHeight;
  if (calc) {
    int widest = 0;
    for (const TLine& line : lines) widest = std::max(widest, Pixels(line.Width));
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + total;
    return total;
  }

  int top = rect.Top;
  if (single && (format & DT_VCENTER))
    top = rect.Top + (rect.Height() - layout.LineHeight) / 2;
  else if (single && (format & DT_BOTTOM))
    top = rect.Bottom - layout.LineHeight;
  const int result = single && (format & (DT_VCENTER | DT_BOTTOM)) ? top - rect.Top + layout.LineHeight : total;
  if (!target || !target->Bitmap) return result;

  // Clip to the rectangle too unless asked not to.
  std::span<const TRect> clip = target->Clip;
  if (!(format & DT_NOCLIP)) {
    const TRect bounds = rect.Offset(target->Origin.X, target->Origin.Y);
    scratch.Clip.clear();
    for (const TRect& c : target->Clip) {
      const TRect r = c.Intersect(bounds);
      if (!r.IsEmpty()) scratch.Clip.push_back(r);
    }
    clip = scratch.Clip;
  }
  if (clip.empty()) return result;

  const bool editControl = (format & DT_EDITCONTROL) && !single;
  int y = top;
  for (std::size_t i = 0; i < lines.size(); ++i, y += layout.LineHeight) {
    // An edit control shows no partly visible last line.
    if (editControl && i > 0 && y + layout.LineHeight > rect.Bottom) break;
    const TLine& line = lines[i];
    int x = rect.Left;
    if (format & DT_CENTER)
      x = rect.Left + (width - Pixels(line.Width)) / 2;
    else if (format & DT_RIGHT)
      x = rect.Right - Pixels(line.Width);
    DrawLine(face, style, items, line, layout, x + target->Origin.X, y + target->Origin.Y, *target, clip,
             scratch.Placed);
  }
  return result;
}

TSize TextExtentOf(TFontFace& face, std::string_view utf8) {
  int width = 0;
  for (std::size_t pos = 0; pos < utf8.size();) width += face.Glyph(NextCodePoint(utf8, pos)).Advance64;
  return {Pixels(width), face.Height()};
}

void TextOutOn(TFontFace& face, TTextStyle style, int x, int y, std::string_view utf8, const TTextTarget& target) {
  if (!target.Bitmap) return;
  std::vector<TPlacedGlyph>& placed = Scratch().Placed;
  placed.clear();
  const int devX = x + target.Origin.X;
  const int devY = y + target.Origin.Y;
  int pen64 = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const TGlyph& glyph = face.Glyph(NextCodePoint(utf8, pos));
    placed.push_back({&glyph, devX + Pixels(pen64)});
    pen64 += glyph.Advance64;
  }
  const int pen = devX + Pixels(pen64);
  TBitmap& bitmap = *target.Bitmap;
  if (target.Opaque) FillClipped(bitmap, target.Clip, {devX, devY, pen, devY + face.Height()}, target.BkColor);
  const int baseline = devY + face.Ascent();
  BlendGlyphs(bitmap, target.Clip, placed, baseline, target.TextColor);
  if (style.Underline) {
    const int top = baseline + face.UnderlineOffset();
    FillClipped(bitmap, target.Clip, {devX, top, pen, top + face.UnderlineThickness()}, target.TextColor);
  }
  if (style.StrikeOut) {
    const int top = baseline - face.StrikeOutOffset();
    FillClipped(bitmap, target.Clip, {devX, top, pen, top + face.StrikeOutThickness()}, target.TextColor);
  }
}

void DrawTextRun(TBitmap& target, std::span<const TRect> clip, TFontFace& face, int x, int baseline,
                 std::string_view utf8, COLORREF color) {
  std::vector<TPlacedGlyph>& placed = Scratch().Placed;
  placed.clear();
  int pen64 = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const TGlyph& glyph = face.Glyph(NextCodePoint(utf8, pos));
    placed.push_back({&glyph, x + Pixels(pen64)});
    pen64 += glyph.Advance64;
  }
  BlendGlyphs(target, clip, placed, baseline, color);
}
