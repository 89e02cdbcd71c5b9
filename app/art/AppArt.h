#pragma once
// The program's own pictures: the main window's cover, the words on its buttons,
// the about window's banner and the test menu's three pictures. tools/app-art
// draws them at build time in the palette of the internal skin, and their PNG
// bytes are compiled in here.
#include <cstdint>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"

enum class TAppPicture {
  MainBackground,   // 873 x 585, opaque; below about row 475 it lies under the strip
  ButtonLessons,    // "Уроки"           strip button face, transparent around
  ButtonVideo,      // "Видео"
  ButtonTests,      // "Тесты"
  ButtonExtra,      // "Дополнительно"
  ButtonAccounts,   // "Учетные записи"
  ButtonAbout,      // "О программе"     the small button at the top right
  AboutBanner,      // 377 x 153, opaque; the cover's scene composed for the about window
  TestTaking,       // 128 x 128, transparent around: "Тестирование"
  TestResults,      // 128 x 128: "Просмотр результатов"
  TestEditing,      // 128 x 128: "Редактирование тестов"
};
inline constexpr int kAppPictureCount = 11;

// Sizes the pictures are drawn for. A button a few pixels larger than its face
// centres it (Margin -1); the strip is 889 x 113.
inline constexpr TSize kMainBackgroundSize{873, 585};
inline constexpr TSize kStripFaceSize{180, 40};    // the five strip buttons' pictures
inline constexpr TSize kStripButtonSize{196, 46};  // suggested strip button size
inline constexpr TSize kAboutFaceSize{124, 26};    // "О программе"
inline constexpr TSize kAboutButtonSize{132, 30};  // suggested about button size
inline constexpr TSize kAboutBannerSize{377, 153};
inline constexpr TSize kTestPictureSize{128, 128};

// The about window's credit of the textbook's author (UTF-8).
inline constexpr const char* kAboutCredit =
    "Автор учебника и составитель тестов — учитель информатики А. В. Ларионова";

// The picture as PNG bytes (32-bit RGBA; backgrounds are fully opaque).
const std::vector<std::uint8_t>& AppPictureBytes(TAppPicture id);
// The picture decoded: 32-bit BGRA, top-down, with its alpha.
TBitmap AppPictureBitmap(TAppPicture id);
// What a window shows of the picture, stored decoded at build time so that
// start-up does not spend its time inflating PNGs: the pixels of AppPictureBitmap,
// as 24 bits for an opaque one (the two backgrounds, whose alpha is 255
// throughout), with their alpha for the rest.
TBitmap AppShownBitmap(TAppPicture id);
// The picture as a 24-bit button glyph: pixels less than half covered become the
// magenta key (bottom-left pixel stays key, as glyphs expect), the rest are
// flattened over `face`, the colour of the button face it will lie on.
TBitmap AppPictureGlyph(TAppPicture id, TColor face);
