// app-art: draws the program's own pictures and writes them as PNG files.
//
//   app-art <folder> [--sheet <contact-sheet.png>]
//
// The folder receives one PNG per picture, named as app/art expects them.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/gfx/ImageFile.h"
#include "tools/app-art/Pictures.h"

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--sheet")) {
    std::fprintf(stderr, "usage: app-art <folder> [--sheet <contact-sheet.png>]\n");
    return 2;
  }
  try {
    const auto pictures = appart::AllPictures();
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& p : pictures) SavePngToFile(p.Picture.ToBitmap(), (folder / p.FileName).string());
    if (argc == 4) SavePngToFile(appart::PaintContactSheet(pictures), argv[3]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "app-art: %s\n", e.what());
    return 1;
  }
}
