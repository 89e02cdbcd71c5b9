// html-shot: renders an HTML document the way the materials browser shows it and
// writes the picture as PNG, for looking at pages without a display.
//   html-shot FILE-OR-ADDRESS OUT.png [WIDTH] [MAX-HEIGHT]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "media/HtmlDocument.h"
#include "platform/gfx/ImageFile.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: html-shot FILE-OR-ADDRESS OUT.png [WIDTH] [MAX-HEIGHT]\n");
    return 2;
  }
  const int width = argc > 3 ? std::atoi(argv[3]) : 1024;
  const int maxHeight = argc > 4 ? std::atoi(argv[4]) : 4000;
  try {
    const auto start = std::chrono::steady_clock::now();
    THtmlDocument page;
    const bool ok = page.Open(argv[1]);
    const auto opened = std::chrono::steady_clock::now();
    page.Layout(width, 768);
    const auto laidOut = std::chrono::steady_clock::now();
    const int height = std::max(1, std::min(page.Height(), maxHeight));
    TBitmap shot(std::max(width, std::min(page.Width(), 4 * width)), height, TPixelFormat::pf32bit, true);
    page.Draw(shot, {0, 0}, Bounds(0, 0, shot.Width(), shot.Height()));
    const auto drawn = std::chrono::steady_clock::now();
    SavePngToFile(shot, argv[2]);
    using ms = std::chrono::duration<double, std::milli>;
    std::printf("%s: %s, charset %s, title \"%s\", %zu nodes, page %d x %d, open %.1f ms, layout %.1f ms, draw %.1f ms\n", argv[1],
                ok ? "shown" : page.ErrorText().c_str(), page.CharsetName(), page.Title().c_str(), page.NodeCount(), page.Width(),
                page.Height(), ms(opened - start).count(), ms(laidOut - opened).count(), ms(drawn - laidOut).count());
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "html-shot: %s\n", e.what());
    return 3;
  }
}
