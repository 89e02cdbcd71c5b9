#include "platform/gfx/SystemColors.h"

#include <array>
#include <memory>

#include "platform/gfx/GdiTools.h"

namespace {

// The classic default scheme.
constexpr std::array<COLORREF, kSystemColorCount> kDefaultColors = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25: unused slot
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

std::array<COLORREF, kSystemColorCount>& Colors() {
  static std::array<COLORREF, kSystemColorCount> colors = kDefaultColors;
  return colors;
}

// Brushes are stock objects that follow the scheme; created on first request.
std::array<std::unique_ptr<TGdiBrush>, kSystemColorCount>& Brushes() {
  static std::array<std::unique_ptr<TGdiBrush>, kSystemColorCount> brushes;
  return brushes;
}

bool ValidIndex(int index) { return index >= 0 && index < kSystemColorCount; }

}  // namespace

COLORREF GetSysColor(int index) { return ValidIndex(index) ? Colors()[static_cast<std::size_t>(index)] : 0; }

bool SetSysColor(int index, COLORREF color) {
  if (!ValidIndex(index)) return false;
  const auto i = static_cast<std::size_t>(index);
  Colors()[i] = color & 0x00FFFFFF;
  if (Brushes()[i]) Brushes()[i]->Color = static_cast<TColor>(Colors()[i]);
  return true;
}

void ResetSysColors() {
  for (int i = 0; i < kSystemColorCount; ++i) SetSysColor(i, kDefaultColors[static_cast<std::size_t>(i)]);
}

HBRUSH GetSysColorBrush(int index) {
  if (!ValidIndex(index)) return nullptr;
  auto& slot = Brushes()[static_cast<std::size_t>(index)];
  if (!slot) {
    slot = std::make_unique<TGdiBrush>(BS_SOLID, static_cast<TColor>(GetSysColor(index)));
    MarkStockObject(slot.get());
  }
  return slot.get();
}

TColor ColorToRGB(TColor color) {
  const auto c = static_cast<std::uint32_t>(color);
  if ((c & 0xFF000000u) == 0xFF000000u) return static_cast<TColor>(GetSysColor(static_cast<int>(c & 0xFF)));
  return color;
}
