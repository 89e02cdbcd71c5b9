#include "app/art/AppArt.h"
#include "tools/app-art/Pictures.h"

namespace appart {

std::vector<TPictureEntry> AllPictures() {
  // The order and the file names are those of TAppPicture and app/art's list.
  std::vector<TPictureEntry> out;
  auto face = [&](const char* file, TFaceIcon icon, const char* word) {
    out.push_back({file, word, PaintButtonFace(icon, word, kStripFaceSize.cx, kStripFaceSize.cy, 16)});
  };
  out.push_back({"MainBackground.png", "Обложка главного окна, 873 × 585",
                 PaintCover(kMainBackgroundSize.cx, kMainBackgroundSize.cy)});
  face("ButtonLessons.png", TFaceIcon::Lessons, "Уроки");
  face("ButtonVideo.png", TFaceIcon::Video, "Видео");
  face("ButtonTests.png", TFaceIcon::Tests, "Тесты");
  face("ButtonExtra.png", TFaceIcon::Extra, "Дополнительно");
  face("ButtonAccounts.png", TFaceIcon::Accounts, "Учетные записи");
  out.push_back({"ButtonAbout.png", "О программе",
                 PaintButtonFace(TFaceIcon::About, "О программе", kAboutFaceSize.cx, kAboutFaceSize.cy, 15)});
  out.push_back({"AboutBanner.png", "Окно «О программе», 377 × 153",
                 PaintAboutBanner(kAboutBannerSize.cx, kAboutBannerSize.cy)});
  out.push_back({"TestTaking.png", "Тестирование", PaintTestPicture(TTestIcon::Taking, kTestPictureSize.cx)});
  out.push_back({"TestResults.png", "Просмотр результатов", PaintTestPicture(TTestIcon::Results, kTestPictureSize.cx)});
  out.push_back({"TestEditing.png", "Редактирование тестов", PaintTestPicture(TTestIcon::Editing, kTestPictureSize.cx)});
  return out;
}

}  // namespace appart
