// A specimen of the three faces: every line must carry ink inside its own band.
// With TEXTBOOK_TEXT_SPECIMEN=<folder> the picture is written there for a person to look at.
#include <gtest/gtest.h>

#include "tests/gfxtext/TextTestSupport.h"

using namespace gfxtext;

namespace {

TEST(TextSpecimen, ThreeFacesInSeveralSizesAndStyles) {
  struct TLine {
    TLogFont Font;
    const char* Text;
  };
  const TLine lines[] = {
      {{"Arial", -11}, "Arial 8 pt: Электронный учебник. Вход в систему — «Администратор»"},
      {{"Arial", -21, 700}, "Arial 21 px, полужирный: Тестирование"},
      {{"Arial", -13, 400, true}, "Arial курсив: Съешь же ещё этих мягких французских булок"},
      {{"Palatino Linotype", -16}, "Palatino 12 pt: Содержание · Словарь · Тесты · Справка"},
      {{"Palatino Linotype", -16, 700}, "Palatino полужирный: Глава 1. Введение"},
      {{"Palatino Linotype", -16, 400, true}, "Palatino курсив: «Широкая электрификация южных губерний»"},
      {{"MS Sans Serif", -11}, "MS Sans Serif 8 pt: Пользователь, Пароль, &Отмена, ОК"},
      {{"MS Sans Serif", -11, 700}, "MS Sans Serif полужирный: 1 2 3 4 5 6 7 8 9 10"},
      {{"Arial", -13, 400, false, true}, "Arial подчёркнутый: ссылка на материал"},
      {{"Arial", -13, 400, false, false, true}, "Arial зачёркнутый: неверный ответ"},
  };
  TBitmap bitmap = Canvas(560, 300);
  TWholeTarget whole(bitmap, 0x533924);  // the dark navy of the skin's captions
  int y = 6;
  for (const TLine& line : lines) {
    TFontFace& face = TFontEngine::Instance().Face(line.Font);
    TRect rect{8, y, 552, y + face.Height()};
    const int height = DrawTextOn(face, {line.Font.Underline, line.Font.StrikeOut}, line.Text, rect,
                                  DT_SINGLELINE | DT_END_ELLIPSIS, &whole.Target);
    EXPECT_EQ(height, face.Height());
    EXPECT_GT(InkCount(bitmap, rect), 100) << line.Text;
    y += height + 4;
  }
  EXPECT_LT(y, bitmap.Height());
  EXPECT_EQ(InkCount(bitmap, {0, y, 560, 300}), 0);
  MaybeWriteSpecimen(bitmap, "gfxtext-specimen");
}

}  // namespace
