// skin-art: draws the internal skin "Lumen" from code and writes its files.
//
//   skin-art <folder> [--package <file.asz>]
//
// The folder receives Options.dat, Master.bmp, ButtonHuge.bmp and the three glow
// pictures; with --package the same files are also packed into one skin package.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"
#include "skin/core/acSkinPackWriter.h"
#include "tools/skin-art/LumenExtras.h"
#include "tools/skin-art/LumenLayout.h"
#include "tools/skin-art/LumenOptions.h"
#include "tools/skin-art/LumenPaint.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw EFileError("Cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--package")) {
    std::fprintf(stderr, "usage: skin-art <folder> [--package <file.asz>]\n");
    return 2;
  }
  try {
    const auto problems = CheckLayout(LumenMasks());
    for (const auto& p : problems) std::fprintf(stderr, "skin-art: %s\n", p.c_str());
    if (!problems.empty()) return 1;

    // Package order: options first, then the pictures as the program expects them.
    std::vector<TacPackEntry> entries;
    entries.push_back({"Options.dat", Bytes(LumenOptionsText())});
    entries.push_back({"ButtonHuge.bmp", SaveBmpToMemory(PaintHugeButton())});
    entries.push_back({"Master.bmp", SaveBmpToMemory(PaintMaster())});
    entries.push_back({"GlowBlue.png", SavePngToMemory(PaintGlow(0x3C8FE0))});
    entries.push_back({"GlowRed.png", SavePngToMemory(PaintGlow(lumen::kCloseRed))});
    entries.push_back({"GlowYellow.png", SavePngToMemory(PaintGlow(0xF0B429))});

    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& e : entries) WriteFile(folder / e.Name, e.Bytes);
    // The package is the internal skin compiled into the program: its entries are
    // stored, not deflated (level 0), so loading it copies them instead of
    // inflating 250 KB; the program grows by about as much.
    if (argc == 4) WriteFile(argv[3], WritePackage(entries, 0));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin-art: %s\n", e.what());
    return 1;
  }
}
