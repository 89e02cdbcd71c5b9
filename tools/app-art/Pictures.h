#pragma once
// Every picture of the program, by the name its file gets in the output folder.
#include <string>
#include <vector>

#include "tools/app-art/ArtCanvas.h"

namespace appart {

struct TPictureEntry {
  std::string FileName;  // e.g. "MainBackground.png"
  std::string Title;     // what the contact sheet writes under it
  TArtCanvas Picture;
};

TArtCanvas PaintCover(int width, int height);
TArtCanvas PaintAboutBanner(int width, int height);

enum class TFaceIcon { Lessons, Video, Tests, Extra, Accounts, About };
// The icon and the word, centred in a transparent picture of the given size.
TArtCanvas PaintButtonFace(TFaceIcon icon, const std::string& word, int width, int height, int fontHeight);

enum class TTestIcon { Taking, Results, Editing };
TArtCanvas PaintTestPicture(TTestIcon icon, int size);

// All pictures in the order of TAppPicture.
std::vector<TPictureEntry> AllPictures();

// The contact sheet: every picture, the faces over the speed button's colours.
TBitmap PaintContactSheet(const std::vector<TPictureEntry>& pictures);

}  // namespace appart
