// app-art: draws the program's own pictures and writes them as PNG files.
//
//   app-art <folder> [--sheet <contact-sheet.png>]
//   app-art --icons <folder> <name>
//
// The folder receives one PNG per picture, named as app/art expects them, and
// each picture also as a BMP of the same name, which the program shows as it is,
// with no decoding at start-up: 24-bit for the opaque ones (the backgrounds),
// 32-bit with its alpha for the rest; with
// --icons, the program's icon as an icon theme tree: hicolor/NxN/apps/<name>.png
// at the sizes desktops ask for and hicolor/scalable/apps/<name>.svg.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gfx/ImageFile.h"
#include "skin/frame/acAppIcon.h"
#include "tools/app-art/Pictures.h"

namespace {
int WriteIcons(const std::filesystem::path& folder, const std::string& name) {
  const std::filesystem::path theme = folder / "hicolor";
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const std::filesystem::path dir = theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    std::filesystem::create_directories(dir);
    SavePngToFile(DrawTextbookIcon(size), (dir / (name + ".png")).string());
  }
  const std::filesystem::path scalable = theme / "scalable" / "apps";
  std::filesystem::create_directories(scalable);
  std::ofstream svg(scalable / (name + ".svg"), std::ios::binary);
  svg << TextbookIconSvg();
  if (!svg.flush()) throw std::runtime_error("cannot write " + (scalable / (name + ".svg")).string());
  return 0;
}

// The picture as a BMP: without its alpha when every pixel is opaque.
std::vector<std::uint8_t> ShownForm(const TBitmap& picture) {
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.ScanLine(y)[x * 4 + 3] != 255) return SaveBmpToMemory(picture, true);
  TBitmap opaque = picture;
  opaque.SetPixelFormat(TPixelFormat::pf24bit);
  return SaveBmpToMemory(opaque);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--icons") {
    try {
      return WriteIcons(argv[2], argv[3]);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "app-art: %s\n", e.what());
      return 1;
    }
  }
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--sheet")) {
    std::fprintf(stderr, "usage: app-art <folder> [--sheet <contact-sheet.png>] | app-art --icons <folder> <name>\n");
    return 2;
  }
  try {
    const auto pictures = appart::AllPictures();
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& p : pictures) {
      const TBitmap picture = p.Picture.ToBitmap();
      SavePngToFile(picture, (folder / p.FileName).string());
      const std::vector<std::uint8_t> shown = ShownForm(picture);
      std::ofstream bmp(folder / std::filesystem::path(p.FileName).replace_extension(".bmp"), std::ios::binary);
      bmp.write(reinterpret_cast<const char*>(shown.data()), static_cast<std::streamsize>(shown.size()));
      if (!bmp.flush()) throw std::runtime_error("cannot write the BMP of " + p.FileName);
    }
    if (argc == 4) SavePngToFile(appart::PaintContactSheet(pictures), argv[3]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "app-art: %s\n", e.what());
    return 1;
  }
}
