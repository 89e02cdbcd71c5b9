// Hostile pages, each opened, laid out and drawn by html-shot in a process of
// its own under /usr/bin/time -v: every one must end (a page, or a page saying
// why not) under 1 GB of memory at the peak and within 10 s of processor time.
#include <gif_lib.h>
#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <regex>

#include "HtmlTestUtil.h"
#include "platform/gfx/ImageFile.h"

#ifndef TB_HTML_SHOT
#error "TB_HTML_SHOT names the html-shot tool"
#endif

namespace {

constexpr long kPeakLimitKb = 1024L * 1024L;
constexpr double kCpuLimitSeconds = 10.0;

struct TRun {
  int Status = -1;
  long PeakKb = 0;
  double CpuSeconds = 0;
  std::string Output;
};

double Number(const std::string& text, const char* label) {
  const std::regex re(std::string(label) + R"(:\s*([0-9.]+))");
  std::smatch m;
  return std::regex_search(text, m, re) ? std::atof(m[1].str().c_str()) : -1;
}

// html-shot on one page; a run that does not end within a minute is stopped (status 124).
// HTML_SHOT names another build of the tool to measure (an older one, say).
TRun Shot(const std::string& page, const std::string& out) {
  const char* tool = std::getenv("HTML_SHOT");
  const std::string command = "/usr/bin/time -v timeout 60 '" + std::string(tool && *tool ? tool : TB_HTML_SHOT) +
                              "' '" + page + "' '" + out + "' 640 1300 2>&1";
  TRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.Output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.PeakKb = static_cast<long>(Number(run.Output, "Maximum resident set size \\(kbytes\\)"));
  run.CpuSeconds = Number(run.Output, "User time \\(seconds\\)") + Number(run.Output, "System time \\(seconds\\)");
  return run;
}

TBitmap Solid(int w, int h, TColor color) {
  TBitmap b(w, h, TPixelFormat::pf24bit, true);
  b.Fill(color);
  return b;
}

// An RGB PNG of one colour written a row at a time, so that making an 8000 x 8000
// picture takes no more memory than a row.
void WriteBigPng(const std::string& path, int w, int h) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(w) * 3);
  for (std::size_t x = 0; x < row.size(); x += 3) row[x + 1] = 160;
  for (int y = 0; y < h; ++y) png_write_row(png, row.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// A GIF of `frames` frames of w x h, all the same: the first frame is encoded
// once and its bytes repeated.
void WriteManyFramesGif(const std::string& path, int w, int h, int frames) {
  const std::string one = path + ".one";
  int error = 0;
  GifFileType* gif = EGifOpenFileName(one.c_str(), false, &error);
  ASSERT_NE(gif, nullptr);
  GifColorType colors[2] = {{200, 30, 30}, {30, 30, 200}};
  ColorMapObject* map = GifMakeMapObject(2, colors);
  EGifSetGifVersion(gif, true);
  ASSERT_EQ(EGifPutScreenDesc(gif, w, h, 1, 0, map), GIF_OK);
  ASSERT_EQ(EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr), GIF_OK);
  std::vector<GifPixelType> row(static_cast<std::size_t>(w));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) row[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(x * 2 < w ? 0 : 1);
    ASSERT_EQ(EGifPutLine(gif, row.data(), w), GIF_OK);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  const std::vector<std::uint8_t> bytes = ReadWholeFile(one);
  std::filesystem::remove(one);
  const std::size_t head = 13 + 3 * 2;  // header, screen descriptor, two-colour table
  ASSERT_EQ(bytes[head], ',');
  ASSERT_EQ(bytes.back(), ';');
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(head));
  for (int i = 0; i < frames; ++i)
    out.write(reinterpret_cast<const char*>(bytes.data() + head), static_cast<std::streamsize>(bytes.size() - head - 1));
  out.put(';');
}

}  // namespace

class HostilePeakTest : public HtmlFilesTest {
protected:
  void Check(const std::string& name, const std::string& html) {
    const std::string page = Write(name + ".htm", html);
    const TRun run = Shot(page, (Dir / (name + ".png")).string());
    std::cout << "[ hostile  ] " << name << ": peak " << run.PeakKb / 1024 << " MB, cpu " << run.CpuSeconds
              << " s, exit " << run.Status << "\n";
    ASSERT_GT(run.PeakKb, 0) << run.Output;
    EXPECT_TRUE(run.Status == 0 || run.Status == 1) << name << " did not end with a page:\n" << run.Output;
    EXPECT_LT(run.PeakKb, kPeakLimitKb) << name << "\n" << run.Output;
    EXPECT_LT(run.CpuSeconds, kCpuLimitSeconds) << name << "\n" << run.Output;
  }
};

TEST_F(HostilePeakTest, ResourcesThatArePipesOrEndlessDevices) {
  ASSERT_EQ(mkfifo((Dir / "pipe.png").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((Dir / "pipe.css").c_str(), 0600), 0);
  Check("fifo-picture", "<html><body><p>Труба:<img src=\"pipe.png\"></body></html>");
  Check("fifo-style", "<html><head><link rel=stylesheet href=\"pipe.css\"></head><body>Труба</body></html>");
  Check("zero-picture", "<html><body><img src=\"/dev/zero\"><img src=\"/dev/urandom\"></body></html>");
  Check("urandom-link", "<html><head><link rel=stylesheet href=\"/dev/urandom\"></head><body>x</body></html>");
  Check("zero-import", "<html><head><style>@import url(\"/dev/zero\");</style></head><body>x</body></html>");
  Check("zero-background", "<html><body background=\"/dev/zero\"><div style=\"background:url(/dev/urandom);"
                           "height:50px\">x</div><ul style=\"list-style-image:url(/dev/zero)\"><li>y</ul></body></html>");
}

TEST_F(HostilePeakTest, PicturesStretchedHugeOrFarLargerThanShown) {
  SavePngToFile(Solid(2, 2, 0x00A000), (Dir / "tiny.png").string());
  std::string stretched = "<html><body>";
  for (int i = 0; i < 12; ++i) stretched += "<img src=tiny.png width=" + std::to_string(8000 - i) + " height=8000>";
  Check("tiny-png-at-8000", stretched + "</body></html>");

  SaveJpegToFile(Solid(6000, 4000, 0x3080C0), (Dir / "camera0.jpg").string(), 80);
  std::string camera = "<html><body>";
  for (int i = 0; i < 10; ++i) {
    if (i) std::filesystem::copy_file(Dir / "camera0.jpg", Dir / ("camera" + std::to_string(i) + ".jpg"));
    camera += "<p><img src=camera" + std::to_string(i) + ".jpg width=600 height=400></p>";
  }
  Check("ten-camera-jpegs-at-600", camera + "</body></html>");

  WriteBigPng((Dir / "big0.png").string(), 8000, 8000);
  std::string big = "<html><body>";
  for (int i = 0; i < 6; ++i) {
    if (i) std::filesystem::copy_file(Dir / "big0.png", Dir / ("big" + std::to_string(i) + ".png"));
    big += "<img src=big" + std::to_string(i) + ".png>";
  }
  Check("six-8000-pngs", big + "</body></html>");
}

TEST_F(HostilePeakTest, AnimatedGifsWithManyFrames) {
  WriteManyFramesGif((Dir / "large.gif").string(), 4000, 4000, 200);
  std::cout << "[ hostile  ] large.gif: " << std::filesystem::file_size(Dir / "large.gif") << " bytes\n";
  Check("gif-4000-by-200-frames", "<html><body><img src=large.gif width=400 height=400></body></html>");
  WriteManyFramesGif((Dir / "small.gif").string(), 64, 64, 100000);
  Check("gif-100000-frames", "<html><body><img src=small.gif></body></html>");
}

TEST_F(HostilePeakTest, TablesWithHugeSpansOrGrids) {
  Check("colspan-1e9", "<html><body><table><tr><td colspan=\"1000000000\" rowspan=\"1000000000\">x</td></tr>"
                       "</table></body></html>");
  std::string wide = "<html><body><table><tr>";
  for (int i = 0; i < 300; ++i) wide += "<td colspan=1000>x";
  Check("300-cells-of-colspan-1000", wide + "</table></body></html>");
  std::string padded = "<html><body><table><tr>";
  for (int i = 0; i < 5000; ++i) padded += "<td>x";
  for (int i = 0; i < 20000; ++i) padded += "<tr><td>y";
  Check("wide-row-over-many-rows", padded + "</table></body></html>");
}
