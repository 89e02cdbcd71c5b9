#pragma once
// Pages written to a scratch folder, rendered into bitmaps, and read back by pixel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "media/HtmlDocument.h"
#include "platform/gfx/Bitmap.h"

class HtmlFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() /
          ("media_tests_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = Dir / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  // The page laid out at `width` and drawn whole (up to `maxHeight`) on white.
  static TBitmap Render(THtmlDocument& page, int width, int maxHeight = 2000) {
    page.Layout(width, 600);
    TBitmap shot(width, std::max(1, std::min(page.Height(), maxHeight)), TPixelFormat::pf32bit, true);
    page.Draw(shot, {0, 0}, Bounds(0, 0, shot.Width(), shot.Height()));
    return shot;
  }

  static constexpr const char* kLectureHead =
      "<html><head><title>Длинная</title><style>h2 { color: #2e5a88 } .note { background: #fff6d5 }"
      " td { border: 1px solid #888 }</style></head><body>\n";

  // One section of a lecture: heading, paragraphs, a list, a table and a floated box.
  static std::string LectureSection(int n) {
    const std::string i = std::to_string(n);
    return "<h2 id=s" + i + ">Раздел " + i + "</h2>\n<p>Текст раздела " + i +
           ", в котором довольно много слов, чтобы строки переносились и занимали место на экране.</p>\n"
           "<div style=\"float:right;width:80px;height:40px;background:#cde\">врезка</div>\n"
           "<ul><li>первый пункт<li>второй пункт</ul>\n<table><tr><td>" + i + "<td>ячейка</table>\n"
           "<p class=note>Заметка " + i + ".</p>\n";
  }

  // A page of `sections` sections with `tail` before the end of the body.
  static std::string LongLecture(int sections, const std::string& tail = {}) {
    std::string html = kLectureHead;
    for (int i = 0; i < sections; ++i) html += LectureSection(i);
    return html + tail + "</body></html>\n";
  }

  static TColor At(const TBitmap& b, int x, int y) { return b.Pixel(x, y) & 0xFFFFFF; }

  // Rows [top, bottom) that hold a pixel of exactly this colour.
  static bool FindColor(const TBitmap& b, TColor color, TRect* where) {
    TRect box{b.Width(), b.Height(), -1, -1};
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        if (At(b, x, y) == color) {
          box.Left = std::min(box.Left, x);
          box.Top = std::min(box.Top, y);
          box.Right = std::max(box.Right, x + 1);
          box.Bottom = std::max(box.Bottom, y + 1);
        }
    if (box.Right < 0) return false;
    if (where) *where = box;
    return true;
  }

  // Pixels darker than mid-grey (text) inside a rectangle.
  static int DarkPixels(const TBitmap& b, const TRect& r) {
    int n = 0;
    for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
      for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x) {
        const TColor c = At(b, x, y);
        if ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 3 * 128) ++n;
      }
    return n;
  }

  static bool SameImage(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (At(a, x, y) != At(b, x, y)) return false;
    return true;
  }

  std::filesystem::path Dir;
};
