#pragma once
// One resolved font file at one pixel size, with its metrics and rendered glyphs.
//
// Glyphs are rasterised once (8-bit anti-aliased coverage) and kept for the life
// of the face, so drawing on a warm cache only looks them up. Faces are owned by
// the font engine and used from the UI thread only.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/FontTypes.h"

struct FT_FaceRec_;
struct FT_LibraryRec_;

// A file picked by fontconfig for a face name and style.
struct TResolvedFont {
  std::string File;
  int Index = 0;
  std::string Family;  // the family fontconfig answered, e.g. "Liberation Sans"
  std::string Style;
  bool Embolden = false;  // bold asked for, the file has none: thicken outlines
  bool Oblique = false;   // italic asked for, the file has none: slant outlines
};

struct TGlyph {
  int Left = 0;     // pen position to the first coverage column
  int Top = 0;      // baseline up to the first coverage row
  int Width = 0;
  int Rows = 0;
  int Advance = 0;    // whole pixels (rounded)
  int Advance64 = 0;  // 1/64 pixel: the unrounded advance layout accumulates
  std::vector<std::uint8_t> Coverage;  // Width * Rows, top row first
};

class TFontFace {
public:
  // Opens the file; `height` follows the logical-font rule (negative: em size).
  // Raises EFontError when the file cannot be opened.
  TFontFace(FT_LibraryRec_* library, const TResolvedFont& resolved, int height, int weight, bool italic);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  const TResolvedFont& Resolved() const { return Resolved_; }
  // Different for every face the process makes, so that what is kept about a face
  // (a laid-out text, its glyphs' addresses) is never taken for a later one at the
  // same address.
  std::uint64_t Serial() const { return Serial_; }
  int PixelSize() const { return PixelSize_; }
  // Underline and strike-out flags of the metric are left clear: they belong to the logical font.
  const TTextMetric& Metric() const { return Metric_; }
  int Ascent() const { return Metric_.tmAscent; }
  int Height() const { return Metric_.tmHeight; }
  // Underline: top of the line below the baseline (pixels, downwards) and thickness.
  int UnderlineOffset() const { return UnderlineOffset_; }
  int UnderlineThickness() const { return UnderlineThickness_; }
  // Strike-out: top of the line above the baseline (pixels, upwards) and thickness.
  int StrikeOutOffset() const { return StrikeOutOffset_; }
  int StrikeOutThickness() const { return StrikeOutThickness_; }

  // The glyph of a code point, rendered on first use. Code points the file lacks
  // come from the fallback face when it has them, else the file's missing-glyph box.
  const TGlyph& Glyph(char32_t cp) {
    if (cp < kDirectCount) {
      const TGlyph* g = Direct_[cp];
      return g ? *g : Load(cp);
    }
    auto it = Others_.find(cp);
    return it != Others_.end() ? *it->second : Load(cp);
  }

  // Where the face of the same pixel size asked for code points this file lacks
  // (borrowed) comes from: asked once, when the first such code point is drawn, so
  // that a caption in letters the file has never opens a second font file.
  void SetFallbackSource(std::function<TFontFace*()> source) { FallbackSource_ = std::move(source); }
  bool HasGlyph(char32_t cp) const;
  std::size_t CachedGlyphCount() const { return Glyphs_.size(); }

private:
  // Basic Latin to Cyrillic: the textbook's texts live here, looked up by index.
  static constexpr char32_t kDirectCount = 0x500;

  const TGlyph& Load(char32_t cp);
  void Render(TGlyph& glyph, unsigned glyphIndex);
  void ComputeMetrics(int height, int weight, bool italic);

  TResolvedFont Resolved_;
  std::uint64_t Serial_ = 0;
  FT_FaceRec_* Face_ = nullptr;
  int PixelSize_ = 0;
  TTextMetric Metric_;
  int UnderlineOffset_ = 1;
  int UnderlineThickness_ = 1;
  int StrikeOutOffset_ = 0;
  int StrikeOutThickness_ = 1;
  TFontFace* Fallback();
  std::function<TFontFace*()> FallbackSource_;
  TFontFace* Fallback_ = nullptr;
  std::deque<TGlyph> Glyphs_;
  std::vector<const TGlyph*> Direct_;
  std::unordered_map<char32_t, const TGlyph*> Others_;
};
