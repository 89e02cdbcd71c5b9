#include "platform/gfx/Text.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"

int DrawText(HDC dc, std::string_view utf8, TRect* rect, unsigned format) {
  if (!dc || !rect) return 0;
  return dc->DrawText(utf8, *rect, format);
}

bool GetTextExtentPoint32(HDC dc, std::string_view utf8, TSize* size) {
  if (!dc || !size) return false;
  *size = dc->TextExtent(utf8);
  return true;
}

bool GetTextMetrics(HDC dc, TTextMetric* metric) {
  if (!dc || !metric) return false;
  *metric = EffectiveFont(dc->SelectedFont()).Metric();
  return true;
}

bool TextOut(HDC dc, int x, int y, std::string_view utf8) {
  if (!dc) return false;
  return dc->TextOut(x, y, utf8);
}
