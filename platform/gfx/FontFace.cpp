#include "platform/gfx/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "platform/gfx/FontError.h"

namespace {

// Largest em size we agree to render; larger requests are clamped.
constexpr int kMaxPixelSize = 1000;
// Em size of a logical font with height 0.
constexpr int kDefaultPixelSize = 12;

int Scale(long units, int ppem, int upem) {
  return static_cast<int>(std::lround(static_cast<double>(units) * ppem / upem));
}

}  // namespace

TFontFace::TFontFace(FT_LibraryRec_* library, const TResolvedFont& resolved, int height, int weight, bool italic)
    : Resolved_(resolved), Direct_(kDirectCount, nullptr) {
  static std::atomic<std::uint64_t> made{0};
  Serial_ = ++made;
  if (FT_New_Face(library, resolved.File.c_str(), resolved.Index, &Face_) != 0 || !Face_)
    throw EFontError("Cannot open font file " + resolved.File);
  if (!FT_IS_SCALABLE(Face_)) {
    FT_Done_Face(Face_);
    Face_ = nullptr;
    throw EFontError("Font file " + resolved.File + " has no outlines");
  }
  FT_Select_Charmap(Face_, FT_ENCODING_UNICODE);
  ComputeMetrics(height, weight, italic);
}

TFontFace::~TFontFace() {
  if (Face_) FT_Done_Face(Face_);
}

void TFontFace::ComputeMetrics(int height, int weight, bool italic) {
  const int upem = Face_->units_per_EM > 0 ? Face_->units_per_EM : 2048;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face_, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(Face_, FT_SFNT_HHEA));
  // The classic cell is the Windows ascent and descent of the OS/2 table.
  long winAscent = 0;
  long winDescent = 0;
  if (os2 && os2->version != 0xFFFF) {
    winAscent = os2->usWinAscent;
    winDescent = os2->usWinDescent;
  }
  if (winAscent + winDescent <= 0) {
    winAscent = Face_->ascender;
    winDescent = -Face_->descender;
  }
  if (winAscent + winDescent <= 0) {
    winAscent = upem * 9 / 10;
    winDescent = upem - winAscent;
  }
  const long cellUnits = winAscent + winDescent;

  int ascent = 0;
  int descent = 0;
  if (height > 0) {
    const int cell = std::min(height, kMaxPixelSize);
    PixelSize_ = std::max(1, static_cast<int>(std::lround(static_cast<double>(cell) * upem / cellUnits)));
    ascent = static_cast<int>(std::lround(static_cast<double>(cell) * winAscent / cellUnits));
    descent = cell - ascent;
  } else {
    PixelSize_ = height == 0 ? kDefaultPixelSize : std::min(-static_cast<long>(height), static_cast<long>(kMaxPixelSize));
    ascent = Scale(winAscent, PixelSize_, upem);
    descent = Scale(winDescent, PixelSize_, upem);
  }
  PixelSize_ = std::min(PixelSize_, kMaxPixelSize);
  FT_Set_Pixel_Sizes(Face_, 0, static_cast<FT_UInt>(PixelSize_));

  // Hinting lifts the marks of Ё and Й a pixel above the rounded ascent at many
  // sizes, and the deep descenders of some faces below the rounded descent; a
  // caption clipped to its cell would lose them, so the cell grows to hold them
  // (a cell of a given height keeps its height and moves the baseline down as far
  // as the descenders allow).
  int accentTop = 0;
  for (char32_t cp : {U'Ё', U'Й'}) accentTop = std::max(accentTop, Glyph(cp).Top);
  int descenderDepth = 0;
  for (char32_t cp : {U'у', U'р', U'ф', U'Д', U'Щ', U'д', U'ц'}) descenderDepth = std::max(descenderDepth, Glyph(cp).Rows - Glyph(cp).Top);
  if (height > 0) {
    const int cell = ascent + descent;
    ascent = std::max(ascent, std::min(accentTop, cell - std::max(descenderDepth, 0)));
    descent = cell - ascent;
  } else {
    ascent = std::max(ascent, accentTop);
    descent = std::max(descent, descenderDepth);
  }

  Metric_ = {};
  Metric_.tmAscent = ascent;
  Metric_.tmDescent = descent;
  Metric_.tmHeight = ascent + descent;
  Metric_.tmInternalLeading = std::max(0, Metric_.tmHeight - PixelSize_);
  if (hhea) {
    const long lineUnits = hhea->Ascender - hhea->Descender + hhea->Line_Gap;
    Metric_.tmExternalLeading = std::max(0, Scale(lineUnits - cellUnits, PixelSize_, upem));
  }
  Metric_.tmMaxCharWidth = Scale(Face_->max_advance_width, PixelSize_, upem);
  Metric_.tmWeight = weight <= 0 ? FW_NORMAL : weight;
  Metric_.tmItalic = italic ? 1 : 0;
  Metric_.tmPitchAndFamily =
      static_cast<std::uint8_t>(TMPF_VECTOR | TMPF_TRUETYPE | (FT_IS_FIXED_WIDTH(Face_) ? 0 : TMPF_FIXED_PITCH));

  if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
    Metric_.tmAveCharWidth = Scale(os2->xAvgCharWidth, PixelSize_, upem);
  else
    Metric_.tmAveCharWidth = Glyph(U'x').Advance;
  if (Resolved_.Embolden) {
    // Thickened outlines advance one pixel wider per glyph at text sizes.
    Metric_.tmAveCharWidth += 1;
    Metric_.tmMaxCharWidth += 1;
  }
  Metric_.tmAveCharWidth = std::max(1, Metric_.tmAveCharWidth);

  const int ulThickness = std::max(1, Scale(Face_->underline_thickness, PixelSize_, upem));
  const double ulCentre = -static_cast<double>(Face_->underline_position) * PixelSize_ / upem;
  UnderlineThickness_ = ulThickness;
  UnderlineOffset_ = std::max(1, static_cast<int>(std::lround(ulCentre - ulThickness / 2.0)));
  if (UnderlineOffset_ + ulThickness > descent) UnderlineOffset_ = std::max(1, descent - ulThickness);

  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    StrikeOutThickness_ = std::max(1, Scale(os2->yStrikeoutSize, PixelSize_, upem));
    StrikeOutOffset_ = std::max(StrikeOutThickness_, Scale(os2->yStrikeoutPosition, PixelSize_, upem));
  } else {
    StrikeOutThickness_ = ulThickness;
    StrikeOutOffset_ = std::max(ulThickness, ascent / 3);
  }
}

TFontFace* TFontFace::Fallback() {
  if (FallbackSource_) {
    Fallback_ = FallbackSource_();
    FallbackSource_ = nullptr;
  }
  return Fallback_;
}

bool TFontFace::HasGlyph(char32_t cp) const { return FT_Get_Char_Index(Face_, cp) != 0; }

const TGlyph& TFontFace::Load(char32_t cp) {
  TGlyph& glyph = Glyphs_.emplace_back();
  const bool control = cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
  if (!control) {
    const FT_UInt index = FT_Get_Char_Index(Face_, cp);
    TFontFace* fallback = index == 0 ? Fallback() : nullptr;
    if (fallback && fallback->HasGlyph(cp))
      glyph = fallback->Glyph(cp);
    else
      Render(glyph, index);
  }
  if (cp < kDirectCount)
    Direct_[cp] = &glyph;
  else
    Others_.emplace(cp, &glyph);
  return glyph;
}

void TFontFace::Render(TGlyph& glyph, unsigned glyphIndex) {
  // Light hinting: vertical snapping only, which keeps Cyrillic shapes even at 8 pt.
  if (FT_Load_Glyph(Face_, glyphIndex, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) != 0) return;
  FT_GlyphSlot slot = Face_->glyph;
  // Light hinting leaves horizontal metrics alone, so the linear advance is the
  // true one; rounding every glyph's advance would space small text unevenly.
  const FT_Pos hinted = slot->advance.x;
  if (Resolved_.Embolden) FT_GlyphSlot_Embolden(slot);
  if (Resolved_.Oblique) FT_GlyphSlot_Oblique(slot);
  glyph.Advance64 = static_cast<int>(((slot->linearHoriAdvance + 512) >> 10) + (slot->advance.x - hinted));
  glyph.Advance = (glyph.Advance64 + 32) >> 6;
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
  const FT_Bitmap& bm = slot->bitmap;
  if (bm.width == 0 || bm.rows == 0 || !bm.buffer) return;
  glyph.Left = slot->bitmap_left;
  glyph.Top = slot->bitmap_top;
  glyph.Width = static_cast<int>(bm.width);
  glyph.Rows = static_cast<int>(bm.rows);
  glyph.Coverage.resize(static_cast<std::size_t>(glyph.Width) * glyph.Rows);
  const int pitch = bm.pitch;
  for (int row = 0; row < glyph.Rows; ++row) {
    const unsigned char* src = pitch >= 0 ? bm.buffer + static_cast<std::ptrdiff_t>(row) * pitch
                                          : bm.buffer + static_cast<std::ptrdiff_t>(glyph.Rows - 1 - row) * -pitch;
    std::uint8_t* dst = glyph.Coverage.data() + static_cast<std::size_t>(row) * glyph.Width;
    if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
      std::memcpy(dst, src, static_cast<std::size_t>(glyph.Width));
    } else if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (int x = 0; x < glyph.Width; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    }
  }
}
