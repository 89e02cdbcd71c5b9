#pragma once
// Inputs for the HTML view's parsers: the bytes of a page (charset detection,
// preparation, parsing, layout and drawing) or an address. Errors the view
// shows as pages are expected; anything else escapes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "media/HtmlAddress.h"
#include "media/HtmlCharset.h"
#include "media/HtmlDocument.h"
#include "media/HtmlPrepare.h"

// Charset detection and preparation. The decoded text is UTF-8 without NULs, as
// the parser needs it, and preparation keeps it so.
inline void FuzzHtmlText(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(FuzzBytes(data, size));
  LooksBinary(bytes);
  const std::string declared = DeclaredHtmlCharset(bytes);
  const THtmlDecoded decoded = DecodeHtmlBytes(bytes);
  FuzzCheck(IsValidUtf8(decoded.Text), "decoded page is not UTF-8");
  FuzzCheck(decoded.Text.find('\0') == std::string::npos, "decoded page holds a NUL");
  FuzzCheck(HtmlCharsetName(decoded.Charset) != nullptr, "charset without a name");
  for (int depth : {kHtmlMaxDepth, 3}) {
    const THtmlPrepared prepared = PrepareHtml(decoded.Text, depth);
    FuzzCheck(IsValidUtf8(prepared.Text), "prepared page is not UTF-8");
    FuzzCheck(prepared.Text.size() <= decoded.Text.size() + 64 * prepared.DroppedTags + 64,
              "preparation made the page much longer");
  }
}

// The folder pages are written to: a page is opened from a real file, as the
// view opens lectures (the charset, size and node limits on the way included).
inline const std::filesystem::path& HtmlFuzzFolder() {
  static const std::filesystem::path folder = [] {
    const auto dir = std::filesystem::temp_directory_path() / ("textbook-fuzz-html-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
  }();
  return folder;
}

// A page laid out at a width taken from its first byte and drawn into a small
// bitmap, twice: scrolled and at another width.
inline void FuzzHtmlLayout(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return;  // layout time grows with the page; big pages say nothing new
  const int width = size ? 40 + data[0] * 4 : 300;
  const std::filesystem::path page = HtmlFuzzFolder() / "page.htm";
  {
    std::ofstream out(page, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  THtmlDocument document;
  document.Open(page.string());
  FuzzCheck(document.Loaded(), "no page, not even an error page");
  document.Layout(width, 200);
  TBitmap target(160, 120, TPixelFormat::pf32bit, true);
  document.Draw(target, TPoint{0, 0}, TRect{0, 0, 160, 120});
  document.Draw(target, TPoint{-20, -document.Height() / 2}, TRect{0, 0, 160, 120});
  document.Layout(width / 3 + 1, 200);
  document.Draw(target, TPoint{0, 0}, TRect{10, 10, 100, 100});
  FuzzCheck(document.Width() >= width / 3 + 1, "page narrower than its layout");
  document.AnchorTop("a");
  document.MouseMove(5, 5, 5, 5);
  document.MouseDown(5, 5, 5, 5);
  document.MouseUp(5, 5, 5, 5);
  document.TakeClickedLink();
}

// An address resolved from a fixed folder: a file's path comes out absolute and
// normalised (empty when it names no file, as "#name" or "file:?x").
inline void FuzzHtmlAddress(const std::uint8_t* data, std::size_t size) {
  const std::string text(FuzzBytes(data, size));
  const THtmlAddress address = ParseHtmlAddress(text, "/home/student/lectures");
  if (address.Kind == THtmlAddress::TKind::File) {
    const std::string& path = address.Path;
    FuzzCheck(path.empty() || path.front() == '/', "file path is not absolute");
    FuzzCheck(path.find("/../") == std::string::npos && path.find("/./") == std::string::npos,
              "file path is not normalised");
    FuzzCheck(path.find('\\') == std::string::npos, "file path keeps a backslash");
    FileUrl(path);
    FolderOf(path);
  }
  FuzzCheck(PercentDecode(text).size() <= text.size(), "decoding made the text longer");
}
