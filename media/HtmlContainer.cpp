#include "media/HtmlContainer.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "media/HtmlAddress.h"
#include "media/HtmlCharset.h"
#include "media/HtmlElements.h"
#include "platform/base/Cp1251.h"
#include "platform/base/TextHelpers.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/FontFace.h"
#include "platform/gfx/ImageFile.h"
#include "platform/gfx/TextRender.h"

namespace {

constexpr int kDefaultFontSize = 16;
constexpr const char* kDefaultFontName = "Times New Roman";
constexpr std::size_t kMaxStyleSheetBytes = 2u << 20;

std::string TrimName(std::string s) {
  const auto first = s.find_first_not_of(" \t\r\n'\"");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n'\"");
  return s.substr(first, last - first + 1);
}

// Families the font configuration maps to a metric-compatible or look-alike font.
bool IsWellKnownFamily(const std::string& lower) {
  static const char* const kKnown[] = {"arial", "helvetica", "times new roman", "times", "courier new", "courier",
                                       "palatino linotype", "book antiqua", "palatino", "tahoma", "verdana",
                                       "ms sans serif", "microsoft sans serif", "arial narrow", "bookman old style",
                                       "century gothic", "liberation sans", "liberation serif", "liberation mono",
                                       "dejavu sans", "dejavu serif", "dejavu sans mono"};
  return std::any_of(std::begin(kKnown), std::end(kKnown), [&](const char* k) { return lower == k; });
}

enum class TSymbolMap { None, Symbol, Wingdings };

// The family to ask the font engine for; empty when this one is not installed.
std::string PickFamily(const std::string& name, TSymbolMap& symbols) {
  const std::string lower = LowerAscii(name);
  symbols = TSymbolMap::None;
  if (lower == "serif" || lower == "cursive") return "Times New Roman";
  if (lower == "sans-serif" || lower == "fantasy" || lower == "system-ui") return "Arial";
  if (lower == "monospace") return "Courier New";
  if (lower == "symbol") {
    symbols = TSymbolMap::Symbol;
    return "Arial";
  }
  if (lower == "wingdings") {
    symbols = TSymbolMap::Wingdings;
    return "DejaVu Sans";
  }
  if (IsWellKnownFamily(lower)) return name;
  try {
    const TResolvedFont& resolved = TFontEngine::Instance().Resolve(name, FW_NORMAL, false);
    if (LowerAscii(resolved.Family) == lower) return name;
  } catch (const std::exception&) {
  }
  return {};
}

// Symbol-encoded fonts of word processors: the bullets they use, in Unicode.
std::string MapSymbols(std::string_view text, TSymbolMap map) {
  std::string out;
  out.reserve(text.size() + 4);
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp = NextCodePoint(text, pos);
    if (cp >= 0xF020 && cp <= 0xF0FF) cp -= 0xF000;
    if (map == TSymbolMap::Symbol) {
      if (cp == 0xB7) cp = 0x2022;
      else if (cp == 0xAE) cp = 0x2192;
      else if (cp == 0xD7) cp = 0x00D7;
    } else {
      switch (cp) {
        case 0xA7: cp = 0x25AA; break;
        case 0xD8: cp = 0x27A2; break;
        case 0xFC: cp = 0x2713; break;
        case 'q': cp = 0x2751; break;
        case 'v': cp = 0x2756; break;
        case 'n': cp = 0x25A0; break;
        case 'l': cp = 0x25CF; break;
        default: break;
      }
    }
    AppendUtf8(out, cp);
  }
  return out;
}

COLORREF ColorOf(litehtml::web_color c) { return RGB(c.red, c.green, c.blue); }

TRect ToRect(const litehtml::position& p) { return Bounds(p.x, p.y, p.width, p.height); }

// Shade of a border colour for the 3-D styles.
litehtml::web_color Shade(litehtml::web_color c, bool dark) {
  if (dark) return litehtml::web_color(c.red / 2, c.green / 2, c.blue / 2, c.alpha);
  return litehtml::web_color(static_cast<litehtml::byte>(c.red + (255 - c.red) / 2),
                             static_cast<litehtml::byte>(c.green + (255 - c.green) / 2),
                             static_cast<litehtml::byte>(c.blue + (255 - c.blue) / 2), c.alpha);
}

std::string RomanNumber(int n, bool upper) {
  static const std::pair<int, const char*> kParts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                                                       {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
                                                       {5, "v"},    {4, "iv"},   {1, "i"}};
  std::string out;
  for (const auto& [value, text] : kParts)
    while (n >= value) {
      out += text;
      n -= value;
    }
  if (upper)
    for (char& c : out) c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string AlphaNumber(int n, bool upper) {
  std::string out;
  while (n > 0) {
    --n;
    out.insert(out.begin(), static_cast<char>((upper ? 'A' : 'a') + n % 26));
    n /= 26;
  }
  return out;
}

}  // namespace

struct THtmlContainer::TFont {
  TFontFace* Face = nullptr;
  bool Underline = false;
  bool StrikeOut = false;
  bool Overline = false;
  TSymbolMap Symbols = TSymbolMap::None;
};

THtmlContainer::THtmlContainer() = default;
THtmlContainer::~THtmlContainer() = default;

void THtmlContainer::SetDocumentPath(const std::string& path) {
  DocumentPath_ = path;
  BaseUrl_.clear();
  Title_.clear();
  Cursor_.clear();
  ClickedLink_.clear();
}

void THtmlContainer::SetViewSize(int width, int height) {
  ViewWidth_ = std::max(1, width);
  ViewHeight_ = std::max(1, height);
}

std::string THtmlContainer::TakeClickedLink() {
  std::string link;
  link.swap(ClickedLink_);
  return link;
}

std::string THtmlContainer::BaseFolder(const std::string& baseUrl) const {
  if (!baseUrl.empty()) {
    const THtmlAddress base = ParseHtmlAddress(baseUrl, DocumentPath_.empty() ? std::string() : FolderOf(DocumentPath_));
    if (base.Kind == THtmlAddress::TKind::File) {
      // A base naming a file means its folder; one ending in '/' is the folder itself.
      const bool folder = baseUrl.back() == '/' || baseUrl.back() == '\\';
      return folder ? base.Path : FolderOf(base.Path);
    }
  }
  if (!BaseUrl_.empty() && &baseUrl != &BaseUrl_) return BaseFolder(BaseUrl_);
  return DocumentPath_.empty() ? std::string() : FolderOf(DocumentPath_);
}

std::string THtmlContainer::ResolveFile(const std::string& src, const std::string& baseUrl) const {
  const THtmlAddress address = ParseHtmlAddress(src, BaseFolder(baseUrl));
  return address.Kind == THtmlAddress::TKind::File ? address.Path : std::string();
}

// --- fonts and text -------------------------------------------------------------

litehtml::uint_ptr THtmlContainer::create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                               litehtml::font_style italic, unsigned int decoration,
                                               litehtml::font_metrics* fm) {
  std::string family;
  TSymbolMap symbols = TSymbolMap::None;
  litehtml::string_vector names;
  litehtml::split_string(faceName ? faceName : "", names, ",");
  for (const std::string& raw : names) {
    family = PickFamily(TrimName(raw), symbols);
    if (!family.empty()) break;
  }
  if (family.empty()) family = kDefaultFontName;
  auto font = std::make_unique<TFont>();
  TLogFont log;
  log.FaceName = family;
  log.Height = -std::clamp(size, 1, 400);
  log.Weight = std::clamp(weight, 100, 900);
  log.Italic = italic == litehtml::fontStyleItalic;
  font->Face = &TFontEngine::Instance().Face(log);
  font->Underline = (decoration & litehtml::font_decoration_underline) != 0;
  font->StrikeOut = (decoration & litehtml::font_decoration_linethrough) != 0;
  font->Overline = (decoration & litehtml::font_decoration_overline) != 0;
  font->Symbols = symbols;
  if (fm) {
    fm->ascent = font->Face->Ascent();
    fm->height = font->Face->Height();
    fm->descent = fm->height - fm->ascent;
    fm->x_height = std::max(1, font->Face->Glyph(U'x').Top);
    fm->draw_spaces = font->Underline || font->StrikeOut || font->Overline;
  }
  const auto handle = reinterpret_cast<litehtml::uint_ptr>(font.get());
  Fonts_[handle] = std::move(font);
  return handle;
}

void THtmlContainer::delete_font(litehtml::uint_ptr hFont) { Fonts_.erase(hFont); }

int THtmlContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) {
  auto it = Fonts_.find(hFont);
  if (it == Fonts_.end() || !text) return 0;
  const TFont& font = *it->second;
  if (font.Symbols != TSymbolMap::None) return TextExtentOf(*font.Face, MapSymbols(text, font.Symbols)).cx;
  return TextExtentOf(*font.Face, text).cx;
}

void THtmlContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                               litehtml::web_color color, const litehtml::position& pos) {
  auto* canvas = reinterpret_cast<THtmlCanvas*>(hdc);
  auto it = Fonts_.find(hFont);
  if (!canvas || !canvas->Bitmap || it == Fonts_.end() || !text || color.alpha == 0) return;
  const TFont& font = *it->second;
  const TRect clip = ClipOf(*canvas);
  if (clip.IsEmpty()) return;
  const int x = pos.x + canvas->Origin.X;
  const int top = pos.y + canvas->Origin.Y;
  if (top > clip.Bottom || top + font.Face->Height() < clip.Top) return;
  const std::string mapped = font.Symbols != TSymbolMap::None ? MapSymbols(text, font.Symbols) : std::string();
  const std::string_view run = font.Symbols != TSymbolMap::None ? std::string_view(mapped) : std::string_view(text);
  const int baseline = top + font.Face->Ascent();
  DrawTextRun(*canvas->Bitmap, std::span<const TRect>(&clip, 1), *font.Face, x, baseline, run, ColorOf(color));
  if (font.Underline || font.StrikeOut || font.Overline) {
    const int width = TextExtentOf(*font.Face, run).cx;
    if (font.Underline)
      Fill(*canvas, Bounds(pos.x, pos.y + font.Face->Ascent() + font.Face->UnderlineOffset(), width,
                           std::max(1, font.Face->UnderlineThickness())),
           color);
    if (font.StrikeOut)
      Fill(*canvas, Bounds(pos.x, pos.y + font.Face->Ascent() - font.Face->StrikeOutOffset(), width,
                           std::max(1, font.Face->StrikeOutThickness())),
           color);
    if (font.Overline) Fill(*canvas, Bounds(pos.x, pos.y, width, 1), color);
  }
}

int THtmlContainer::pt_to_px(int pt) const { return (pt * 96 + 36) / 72; }
int THtmlContainer::get_default_font_size() const { return kDefaultFontSize; }
const litehtml::tchar_t* THtmlContainer::get_default_font_name() const { return kDefaultFontName; }

void THtmlContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
  switch (tt) {
    case litehtml::text_transform_uppercase: text = UpperCaseUtf8(text); break;
    case litehtml::text_transform_lowercase: text = LowerCaseUtf8(text); break;
    case litehtml::text_transform_capitalize: {
      std::size_t pos = 0;
      if (text.empty()) break;
      NextCodePoint(text, pos);
      text = UpperCaseUtf8(text.substr(0, pos)) + text.substr(pos);
      break;
    }
    case litehtml::text_transform_none: break;
  }
}

// --- boxes ------------------------------------------------------------------------

TRect THtmlContainer::ClipOf(const THtmlCanvas& canvas) const {
  TRect clip = canvas.Clip.Intersect(Bounds(0, 0, canvas.Bitmap->Width(), canvas.Bitmap->Height()));
  for (const TRect& c : Clips_) clip = clip.Intersect(c.Offset(canvas.Origin.X, canvas.Origin.Y));
  return clip;
}

void THtmlContainer::Fill(const THtmlCanvas& canvas, const TRect& rect, litehtml::web_color color) {
  if (color.alpha == 0 || !canvas.Bitmap) return;
  const TRect area = rect.Offset(canvas.Origin.X, canvas.Origin.Y).Intersect(ClipOf(canvas));
  if (area.IsEmpty()) return;
  TBitmap& bmp = *canvas.Bitmap;
  const int bpp = bmp.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  if (bmp.PixelFormat() != TPixelFormat::pf32bit && bmp.PixelFormat() != TPixelFormat::pf24bit) return;
  const unsigned a = color.alpha;
  for (int y = area.Top; y < area.Bottom; ++y) {
    std::uint8_t* d = bmp.ScanLine(y) + area.Left * bpp;
    if (a == 255) {
      for (int x = area.Left; x < area.Right; ++x, d += bpp) {
        d[0] = color.blue;
        d[1] = color.green;
        d[2] = color.red;
        if (bpp == 4) d[3] = 255;
      }
    } else {
      for (int x = area.Left; x < area.Right; ++x, d += bpp) {
        d[0] = static_cast<std::uint8_t>((color.blue * a + d[0] * (255 - a) + 127) / 255);
        d[1] = static_cast<std::uint8_t>((color.green * a + d[1] * (255 - a) + 127) / 255);
        d[2] = static_cast<std::uint8_t>((color.red * a + d[2] * (255 - a) + 127) / 255);
      }
    }
  }
}

void THtmlContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) {
  auto* canvas = reinterpret_cast<THtmlCanvas*>(hdc);
  if (!canvas || !canvas->Bitmap) return;
  const TRect clipBox = ToRect(bg.clip_box);
  Fill(*canvas, clipBox, bg.color);
  if (bg.image.empty()) return;
  const std::string path = ResolveFile(bg.image, bg.baseurl);
  if (path.empty()) return;
  const TSize natural = Images_.Size(path);
  if (natural.cx <= 0 || natural.cy <= 0) return;
  const int w = bg.image_size.width > 0 ? bg.image_size.width : natural.cx;
  const int h = bg.image_size.height > 0 ? bg.image_size.height : natural.cy;
  if (w > kHtmlMaxPictureSide || h > kHtmlMaxPictureSide) return;
  const TRect clip = clipBox.Offset(canvas->Origin.X, canvas->Origin.Y).Intersect(ClipOf(*canvas));
  if (clip.IsEmpty()) return;
  // litehtml gives the picture's place in page coordinates, origin box included.
  const int startX = bg.position_x + canvas->Origin.X;
  const int startY = bg.position_y + canvas->Origin.Y;
  const bool repeatX = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_x;
  const bool repeatY = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_y;
  auto firstTile = [](int start, int size, int clipStart, bool repeat) {
    if (!repeat) return start;
    int first = start - ((start - clipStart) / size + 1) * size;
    while (first + size <= clipStart) first += size;
    return first;
  };
  const int x0 = firstTile(startX, w, clip.Left, repeatX);
  const int y0 = firstTile(startY, h, clip.Top, repeatY);
  for (int y = y0; y < clip.Bottom; y += h) {
    for (int x = x0; x < clip.Right; x += w) {
      Images_.Draw(*canvas->Bitmap, clip, path, w, h, x, y);
      if (!repeatX) break;
    }
    if (!repeatY) break;
  }
}

void THtmlContainer::DrawSide(const THtmlCanvas& canvas, const TRect& rect, const litehtml::border& side,
                              bool horizontal, bool topLeft) {
  if (side.width <= 0 || side.style == litehtml::border_style_none || side.style == litehtml::border_style_hidden)
    return;
  litehtml::web_color color = side.color;
  switch (side.style) {
    case litehtml::border_style_dotted:
    case litehtml::border_style_dashed: {
      const int dash = side.style == litehtml::border_style_dotted ? side.width : side.width * 3;
      const int length = horizontal ? rect.Width() : rect.Height();
      for (int at = 0; at < length; at += dash * 2) {
        const int n = std::min(dash, length - at);
        Fill(canvas, horizontal ? Bounds(rect.Left + at, rect.Top, n, rect.Height()) : Bounds(rect.Left, rect.Top + at, rect.Width(), n),
             color);
      }
      return;
    }
    case litehtml::border_style_double: {
      const int line = std::max(1, side.width / 3);
      if (side.width < 3) break;
      if (horizontal) {
        Fill(canvas, Bounds(rect.Left, rect.Top, rect.Width(), line), color);
        Fill(canvas, Bounds(rect.Left, rect.Bottom - line, rect.Width(), line), color);
      } else {
        Fill(canvas, Bounds(rect.Left, rect.Top, line, rect.Height()), color);
        Fill(canvas, Bounds(rect.Right - line, rect.Top, line, rect.Height()), color);
      }
      return;
    }
    case litehtml::border_style_inset: color = Shade(color, topLeft); break;
    case litehtml::border_style_outset: color = Shade(color, !topLeft); break;
    case litehtml::border_style_groove:
    case litehtml::border_style_ridge: {
      const bool groove = side.style == litehtml::border_style_groove;
      const int half = std::max(1, side.width / 2);
      const TRect outer = horizontal ? Bounds(rect.Left, topLeft ? rect.Top : rect.Bottom - side.width, rect.Width(), half)
                                     : Bounds(topLeft ? rect.Left : rect.Right - side.width, rect.Top, half, rect.Height());
      Fill(canvas, rect, Shade(color, groove != topLeft));
      Fill(canvas, outer, Shade(color, groove == topLeft));
      return;
    }
    case litehtml::border_style_none:
    case litehtml::border_style_hidden:
    case litehtml::border_style_solid: break;
  }
  Fill(canvas, rect, color);
}

void THtmlContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                  const litehtml::position& pos, bool) {
  auto* canvas = reinterpret_cast<THtmlCanvas*>(hdc);
  if (!canvas || !canvas->Bitmap) return;
  const TRect r = ToRect(pos);
  DrawSide(*canvas, Bounds(r.Left, r.Top, borders.left.width, r.Height()), borders.left, false, true);
  DrawSide(*canvas, Bounds(r.Right - borders.right.width, r.Top, borders.right.width, r.Height()), borders.right,
           false, false);
  DrawSide(*canvas, Bounds(r.Left, r.Top, r.Width(), borders.top.width), borders.top, true, true);
  DrawSide(*canvas, Bounds(r.Left, r.Bottom - borders.bottom.width, r.Width(), borders.bottom.width), borders.bottom,
           true, false);
}

void THtmlContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) {
  auto* canvas = reinterpret_cast<THtmlCanvas*>(hdc);
  if (!canvas || !canvas->Bitmap) return;
  if (!marker.image.empty()) {
    const std::string path = ResolveFile(marker.image, marker.baseurl ? marker.baseurl : "");
    const TSize size = path.empty() ? TSize{} : Images_.Size(path);
    if (size.cx > 0 && size.cy > 0) {
      Images_.Draw(*canvas->Bitmap, ClipOf(*canvas), path, size.cx, size.cy, marker.pos.x + canvas->Origin.X,
                   marker.pos.y + canvas->Origin.Y);
      return;
    }
  }
  const TRect box = ToRect(marker.pos);
  const litehtml::list_style_type type = marker.marker_type;
  if (type == litehtml::list_style_type_none) return;
  if (type == litehtml::list_style_type_square) {
    Fill(*canvas, box, marker.color);
    return;
  }
  if (type == litehtml::list_style_type_disc || type == litehtml::list_style_type_circle) {
    // A round dot (or ring) drawn row by row: no anti-aliasing needed at this size.
    const double r = box.Width() / 2.0;
    const double cx = box.Left + r;
    const double cy = box.Top + box.Height() / 2.0;
    for (int y = box.Top; y < box.Bottom; ++y) {
      const double dy = y + 0.5 - cy;
      if (std::abs(dy) > r) continue;
      const double half = std::sqrt(r * r - dy * dy);
      const int left = static_cast<int>(std::lround(cx - half));
      const int right = static_cast<int>(std::lround(cx + half));
      if (type == litehtml::list_style_type_disc || std::abs(dy) > r - 1.5) {
        Fill(*canvas, TRect{left, y, right, y + 1}, marker.color);
      } else {
        Fill(*canvas, TRect{left, y, left + 1, y + 1}, marker.color);
        Fill(*canvas, TRect{right - 1, y, right, y + 1}, marker.color);
      }
    }
    return;
  }
  // Numbered markers: the number and a dot, ending just before the item's text.
  std::string text;
  if (type == litehtml::list_style_type_lower_alpha || type == litehtml::list_style_type_lower_latin)
    text = AlphaNumber(marker.index, false);
  else if (type == litehtml::list_style_type_upper_alpha || type == litehtml::list_style_type_upper_latin)
    text = AlphaNumber(marker.index, true);
  else if (type == litehtml::list_style_type_lower_roman)
    text = RomanNumber(marker.index, false);
  else if (type == litehtml::list_style_type_upper_roman)
    text = RomanNumber(marker.index, true);
  else
    text = std::to_string(marker.index);
  text += ".";
  auto it = Fonts_.find(marker.font);
  if (it == Fonts_.end()) return;
  const int width = TextExtentOf(*it->second->Face, text).cx;
  litehtml::position pos = marker.pos;
  pos.x = marker.pos.x + marker.pos.width - width;
  pos.y = marker.pos.y + marker.pos.height - it->second->Face->Ascent();
  draw_text(hdc, text.c_str(), marker.font, marker.color, pos);
}

void THtmlContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool valid_x,
                              bool valid_y) {
  constexpr int kOpen = 1 << 28;
  TRect clip = ToRect(pos);
  if (!valid_x) {
    clip.Left = -kOpen;
    clip.Right = kOpen;
  }
  if (!valid_y) {
    clip.Top = -kOpen;
    clip.Bottom = kOpen;
  }
  Clips_.push_back(clip);
}

void THtmlContainer::del_clip() {
  if (!Clips_.empty()) Clips_.pop_back();
}

// --- pictures, styles, links ------------------------------------------------------

void THtmlContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool) {
  if (!src) return;
  const std::string path = ResolveFile(src, baseurl ? baseurl : "");
  if (!path.empty()) Images_.Size(path);
}

void THtmlContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                                    litehtml::size& sz) {
  sz.width = 0;
  sz.height = 0;
  if (!src) return;
  const std::string path = ResolveFile(src, baseurl ? baseurl : "");
  if (!path.empty()) {
    const TSize size = Images_.Size(path);
    sz.width = size.cx;
    sz.height = size.cy;
  }
}

void THtmlContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) {
  text.clear();
  const std::string path = ResolveFile(url, baseurl);
  if (path.empty()) return;
  try {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path, kMaxStyleSheetBytes);
    std::string raw(bytes.begin(), bytes.end());
    if (raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
    text = IsValidUtf8(raw) ? raw : Cp1251ToUtf8(raw);
    baseurl = path;
  } catch (const std::exception&) {
    text.clear();  // a missing style sheet leaves the page in the master styles
  }
}

void THtmlContainer::set_caption(const litehtml::tchar_t* caption) { Title_ = caption ? caption : ""; }
void THtmlContainer::set_base_url(const litehtml::tchar_t* base_url) { BaseUrl_ = base_url ? base_url : ""; }
void THtmlContainer::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) {}

void THtmlContainer::on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr&) {
  ClickedLink_ = url ? url : "";
}

void THtmlContainer::set_cursor(const litehtml::tchar_t* cursor) { Cursor_ = cursor ? cursor : ""; }

void THtmlContainer::get_client_rect(litehtml::position& client) const {
  client = litehtml::position(0, 0, ViewWidth_, ViewHeight_);
}

std::shared_ptr<litehtml::element> THtmlContainer::create_element(const litehtml::tchar_t* tag_name,
                                                                  const litehtml::string_map& attributes,
                                                                  const std::shared_ptr<litehtml::document>& doc) {
  return CreateLegacyElement(tag_name, attributes, doc);
}

void THtmlContainer::get_media_features(litehtml::media_features& media) const {
  media.type = litehtml::media_type_screen;
  media.width = ViewWidth_;
  media.height = ViewHeight_;
  media.device_width = std::max(ViewWidth_, 1024);
  media.device_height = std::max(ViewHeight_, 768);
  media.color = 8;
  media.color_index = 0;
  media.monochrome = 0;
  media.resolution = 96;
}

void THtmlContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const {
  language = "ru";
  culture = "ru-RU";
}
