// skin-lab: paints a skin's sections with the section painter.
//   skin-lab SKIN OUT.png                       the whole sheet
//   skin-lab SKIN --section NAME --state N --size WxH [--parent-color DECIMAL | --parent-image PNG] OUT.png
// SKIN is "internal", a package file (.asz) or a skin folder holding Options.dat.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"
#include "skin/paint/sStyleSimply.h"
#include "tools/skin-lab/LabSheet.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: skin-lab SKIN OUT.png\n"
               "       skin-lab SKIN --section NAME --state N --size WxH "
               "[--parent-color DECIMAL | --parent-image PNG] OUT.png\n"
               "SKIN: internal, a package file (.asz) or a skin folder\n");
  return 2;
}

int ParseInt(const std::string& text, const char* what) {
  std::size_t used = 0;
  const int v = std::stoi(text, &used);
  if (used != text.size()) throw Exception(std::string("Not a number for ") + what + ": " + text);
  return v;
}

int PaintOne(const std::string& skinArg, const std::vector<std::string>& args) {
  std::string section, out, parentImage;
  int state = 0, w = 100, h = 30;
  bool hasColor = false;
  TColor parentColor = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto next = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw Exception("Missing value after " + a);
      return args[++i];
    };
    if (a == "--section") {
      section = next();
    } else if (a == "--state") {
      state = ParseInt(next(), "--state");
    } else if (a == "--size") {
      const std::string& s = next();
      const std::size_t x = s.find('x');
      if (x == std::string::npos) throw Exception("Size must be WxH: " + s);
      w = ParseInt(s.substr(0, x), "--size");
      h = ParseInt(s.substr(x + 1), "--size");
      if (w < 1 || h < 1 || w > 4096 || h > 4096) throw Exception("Size out of range: " + s);
    } else if (a == "--parent-color") {
      parentColor = static_cast<TColor>(std::stoll(next()));
      hasColor = true;
    } else if (a == "--parent-image") {
      parentImage = next();
    } else if (out.empty() && a.rfind("--", 0) != 0) {
      out = a;
    } else {
      throw Exception("Unknown argument " + a);
    }
  }
  if (section.empty() || out.empty()) return Usage();
  auto skin = LoadLabSkin(skinArg);
  const int index = skin->SectionIndexOf(section);
  if (index < 0) throw Exception("The skin has no section " + section);
  TBitmap target(w, h, TPixelFormat::pf24bit, true);
  TBitmap parent;
  BackgroundInfo bg = BackgroundInfo::FromColor(0xFF00FF);
  if (!parentImage.empty()) {
    parent = LoadImageFromFile(parentImage);
    parent.SetPixelFormat(TPixelFormat::pf24bit);
    bg = BackgroundInfo::FromBitmap(&parent, 0, 0);
  } else if (hasColor) {
    bg = BackgroundInfo::FromColor(parentColor);
  } else {
    parent = TBitmap(w, h, TPixelFormat::pf24bit, true);
    PaintLabBackground(parent);
    bg = BackgroundInfo::FromBitmap(&parent, 0, 0);
  }
  target.Fill(hasColor ? parentColor : 0xFFFFFF);
  PaintSectionByIndex(index, section, bg, -1, -1, skin.get(), &target, {0, 0}, {0, 0, w, h}, static_cast<TacPaintState>(state), true);
  SavePngToFile(target, out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) return Usage();
  try {
    if (args.size() == 2) {
      SavePngToFile(PaintLabSheet(args[0]), args[1]);
      return 0;
    }
    return PaintOne(args[0], {args.begin() + 1, args.end()});
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin-lab: %s\n", e.what());
    return 1;
  }
}
