#pragma once
// Logical fonts: the handle object of a face name, height and style.
#include <string>

#include "platform/gfx/FontFace.h"
#include "platform/gfx/FontTypes.h"
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/TextRender.h"

class TGdiFont : public TGdiObject {
public:
  explicit TGdiFont(const TLogFont& font);

  const TLogFont& LogFont() const { return LogFont_; }
  // The sized face, resolved on first use and shared through the font engine.
  // Raises EFontError when no font file at all can be found.
  TFontFace& Face();
  TTextStyle Style() const { return {LogFont_.Underline, LogFont_.StrikeOut}; }
  // Metrics of the face with this font's underline and strike-out flags.
  TTextMetric Metric();

private:
  TLogFont LogFont_;
  TFontFace* Face_ = nullptr;  // owned by the font engine
};

HFONT CreateFontIndirect(const TLogFont& font);
// Copies the logical font of a live font handle; false for anything else.
bool GetLogFont(HFONT font, TLogFont* out);

// The classic GUI font: "MS Sans Serif", height -11 (8 pt at 96 dpi).
TLogFont DefaultGuiLogFont();
// The stock DEFAULT_GUI_FONT, also used by contexts that have no font selected.
HFONT DefaultGuiFont();
// The font a context draws with: its selected font when live, else the default GUI font.
TGdiFont& EffectiveFont(HFONT selected);
// Makes the stock font of a GetStockObject index (SYSTEM_FONT, DEFAULT_GUI_FONT ...);
// null for an index that is not a font.
std::unique_ptr<TGdiObject> MakeStockFont(int index);
