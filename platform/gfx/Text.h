#pragma once
// Classic text calls on a device context handle. Text is UTF-8.
#include <string_view>

#include "platform/gfx/FontTypes.h"
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/TextFlags.h"
#include "platform/gfx/Types.h"

// Returns the text height (0 for a null context or rectangle); see TDeviceContext::DrawText.
int DrawText(HDC dc, std::string_view utf8, TRect* rect, unsigned format);
bool GetTextExtentPoint32(HDC dc, std::string_view utf8, TSize* size);
// Metrics of the selected font (the default GUI font when none is selected).
bool GetTextMetrics(HDC dc, TTextMetric* metric);
bool TextOut(HDC dc, int x, int y, std::string_view utf8);
