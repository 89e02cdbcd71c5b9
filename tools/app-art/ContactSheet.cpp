#include <algorithm>

#include "app/art/AppArt.h"
#include "skin/render/acSmoothStretch.h"
#include "tools/app-art/ArtPalette.h"
#include "tools/app-art/Pictures.h"

namespace appart {

namespace {

constexpr int kSheetWidth = 1360;
constexpr int kSheetHeight = 1300;
constexpr int kRightColumn = 930;
const TArtFont kLabelFont{"Arial", 13, false, false};
const TArtFont kHeadFont{"Arial", 16, true, false};

// A speed-button face of the skin's colours, the picture centred on it.
void ButtonWith(TArtCanvas& sheet, const TArtCanvas& face, double x, double y, int w, int h, unsigned color, bool down) {
  const TArtShape plate = RoundRect(x, y, x + w, y + h, 4);
  sheet.Fill(plate, Linear(0, y, Mix(Rgb(color), Rgb(kWhite), down ? 0.0 : 0.35), 0, y + h, Rgb(color)));
  sheet.Fill(Outline(RoundRect(x + 0.5, y + 0.5, x + w - 0.5, y + h - 0.5, 4), 1), Rgb(down ? kDeepBlue : kSteel));
  const int d = down ? 1 : 0;
  sheet.Draw(face, static_cast<int>(x) + (w - face.Width()) / 2 + d, static_cast<int>(y) + (h - face.Height()) / 2 + d);
}

// The cover under a sketch of the main window's strip and buttons, placed as the
// main window places them, with the client height a skinned frame leaves: what
// of the cover stays visible.
void MainWindowSketch(TArtCanvas& sheet, const std::vector<TPictureEntry>& p, int x, int y) {
  const int clientW = 889, clientH = 590, stripTop = clientH - 113;
  const int lowerRow = 59, upperRow = 8, firstButton = 78, step = kStripButtonSize.cx + 6;
  sheet.Fill(RoundRect(x, y, x + clientW, y + clientH, 0), Rgb(kForm));
  sheet.Draw(p[0].Picture, x, y);
  sheet.Fill(RoundRect(x, y + stripTop, x + clientW, y + clientH, 0),
             Linear(0, y + stripTop, Rgb(kPanelTop), 0, y + clientH, Rgb(kPanelBottom)));
  sheet.Fill(RoundRect(x, y + stripTop, x + clientW, y + stripTop + 1, 0), Rgb(kWhite), 0.6);
  sheet.Fill(RoundRect(x + 8, y + stripTop + lowerRow, x + 72, y + stripTop + lowerRow + 48, 4), Rgb(kPanel));
  sheet.Text(x + 12, y + stripTop + lowerRow + 13, "Admin", {"Arial", 17, true, false}, Solid(Rgb(kNavy)));
  const int bw = kStripButtonSize.cx, bh = kStripButtonSize.cy;
  ButtonWith(sheet, p[5].Picture, x + firstButton + 3 * step, y + stripTop + upperRow, bw, bh, kPaleSky, false);
  const int order[] = {1, 2, 3, 4};  // Уроки, Видео, Тесты, Дополнительно
  for (int i = 0; i < 4; ++i)
    ButtonWith(sheet, p[order[i]].Picture, x + firstButton + i * step, y + stripTop + lowerRow, bw, bh,
               i == 2 ? kSky : kPaleSky, i == 0);
  ButtonWith(sheet, p[6].Picture, x + clientW - 8 - kAboutButtonSize.cx, y + 8, kAboutButtonSize.cx, kAboutButtonSize.cy,
             kPaleSky, false);
}

}  // namespace

TBitmap PaintContactSheet(const std::vector<TPictureEntry>& p) {
  TArtCanvas sheet(kSheetWidth, kSheetHeight);
  sheet.Fill(RoundRect(0, 0, kSheetWidth, kSheetHeight, 0), Rgb(0xF4F6F8));
  const TArtPaint ink = Solid(Rgb(kNavy));
  sheet.Text(20, 14, "Картинки программы (tools/app-art)", kHeadFont, ink);

  sheet.Text(20, 44, p[0].Title, kLabelFont, ink);
  sheet.Draw(p[0].Picture, 20, 64);
  sheet.Text(20, 664, "Набросок главного окна: полоса навигации и кнопки поверх обложки (места кнопок примерные)", kLabelFont, ink);
  MainWindowSketch(sheet, p, 20, 684);

  int y = 44;
  sheet.Text(kRightColumn, y, p[7].Title, kLabelFont, ink);
  sheet.Draw(p[7].Picture, kRightColumn, y + 20);
  y += 20 + kAboutBannerSize.cy + 24;

  sheet.Text(kRightColumn, y, "Картинки меню тестов, 128 × 128, на цвете PANEL", kLabelFont, ink);
  y += 20;
  for (int i = 0; i < 3; ++i) {
    const int x = kRightColumn + i * 140;
    sheet.Fill(RoundRect(x, y, x + 132, y + 132, 0), Rgb(kPanel));
    sheet.Draw(p[8 + i].Picture, x + 2, y + 2);
    sheet.Text(x, y + 136, p[8 + i].Title, {"Arial", 11, false, false}, ink);
  }
  y += 132 + 40;

  sheet.Text(kRightColumn, y, "Кнопки: обычная, под мышью, нажатая", kLabelFont, ink);
  y += 22;
  const unsigned pressed = 0x6FB7E3;
  for (int i = 1; i <= 6; ++i) {
    const bool about = i == 6;
    const int w = about ? kAboutButtonSize.cx : kStripButtonSize.cx, h = about ? kAboutButtonSize.cy : kStripButtonSize.cy;
    // Strip faces are wider than the column: they are shown at two thirds, smoothly scaled.
    TArtCanvas row(3 * (w + 8), h + 2);
    ButtonWith(row, p[i].Picture, 0, 0, w, h, kPaleSky, false);
    ButtonWith(row, p[i].Picture, w + 8, 0, w, h, kSky, false);
    ButtonWith(row, p[i].Picture, 2 * (w + 8), 0, w, h, pressed, true);
    if (row.Width() <= kSheetWidth - kRightColumn - 10) {
      sheet.Draw(row, kRightColumn, y);
    } else {
      TBitmap full = row.ToBitmap(), half;
      SmoothStretch(full, half, row.Width() * 2 / 3, row.Height() * 2 / 3, sfMitchell);
      sheet.Draw(TArtCanvas::FromBitmap(half), kRightColumn, y);
    }
    y += (row.Width() <= kSheetWidth - kRightColumn - 10 ? h : h * 2 / 3) + 10;
  }
  y += 10;
  sheet.Text(kRightColumn, y, "Кнопки полосы в натуральную величину", kLabelFont, ink);
  y += 22;
  for (int i = 1; i <= 5; ++i) {
    const int col = (i - 1) % 2, rowIndex = (i - 1) / 2;
    ButtonWith(sheet, p[i].Picture, kRightColumn + col * (kStripButtonSize.cx + 10), y + rowIndex * (kStripButtonSize.cy + 10),
               kStripButtonSize.cx, kStripButtonSize.cy, kPaleSky, false);
  }
  return sheet.ToBitmap();
}

}  // namespace appart
