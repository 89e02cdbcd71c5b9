#include "platform/gfx/Font.h"

#include "platform/gfx/FontEngine.h"

std::unique_ptr<TGdiObject> MakeStockFont(int index) {
  TLogFont font = DefaultGuiLogFont();
  switch (index) {
    case DEFAULT_GUI_FONT:
    case ANSI_VAR_FONT:
    case DEVICE_DEFAULT_FONT: break;
    case SYSTEM_FONT:
      font.Height = 16;
      font.Weight = FW_BOLD;
      break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
      font.FaceName = "Courier New";
      font.Height = -13;
      break;
    default: return nullptr;
  }
  return std::make_unique<TGdiFont>(font);
}

TGdiFont::TGdiFont(const TLogFont& font) : LogFont_(font) {}

TFontFace& TGdiFont::Face() {
  if (!Face_) Face_ = &TFontEngine::Instance().Face(LogFont_);
  return *Face_;
}

TTextMetric TGdiFont::Metric() {
  TTextMetric metric = Face().Metric();
  metric.tmUnderlined = LogFont_.Underline ? 1 : 0;
  metric.tmStruckOut = LogFont_.StrikeOut ? 1 : 0;
  return metric;
}

HFONT CreateFontIndirect(const TLogFont& font) {
  return new TGdiFont(font);  // the caller owns it until DeleteObject
}

bool GetLogFont(HFONT font, TLogFont* out) {
  if (!out || !IsGdiObject(font)) return false;
  const auto* object = dynamic_cast<const TGdiFont*>(static_cast<const TGdiObject*>(font));
  if (!object) return false;
  *out = object->LogFont();
  return true;
}

TLogFont DefaultGuiLogFont() { return TLogFont{"MS Sans Serif", -11}; }

HFONT DefaultGuiFont() {
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TGdiFont& EffectiveFont(HFONT selected) {
  if (selected && IsGdiObject(selected)) return *selected;
  HFONT fallback = DefaultGuiFont();
  if (fallback) return *fallback;
  static TGdiFont font(DefaultGuiLogFont());  // only if the stock table refused
  return font;
}
