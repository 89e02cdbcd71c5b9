// PNG through libpng. libpng reports errors by longjmp, so every libpng call runs
// inside small functions that hold no C++ objects; buffers are made by the callers.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <memory>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/ImageFile.h"

namespace {

struct TPngIo {
  const std::uint8_t* Data = nullptr;
  std::size_t Size = 0;
  std::size_t Pos = 0;
  std::vector<std::uint8_t>* Out = nullptr;
  char Message[256] = {};
};

void OnError(png_structp png, png_const_charp message) {
  auto* io = static_cast<TPngIo*>(png_get_error_ptr(png));
  std::snprintf(io->Message, sizeof io->Message, "%s", message ? message : "unknown error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep out, std::size_t count) {
  auto* io = static_cast<TPngIo*>(png_get_io_ptr(png));
  if (io->Size - io->Pos < count) png_error(png, "unexpected end of data");
  std::memcpy(out, io->Data + io->Pos, count);
  io->Pos += count;
}

struct TPngHeader {
  png_uint_32 Width = 0;
  png_uint_32 Height = 0;
};

// Signature, IHDR and the chunks before the image data.
bool ReadHeader(png_structp png, png_infop info, TPngHeader* header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  header->Width = png_get_image_width(png, info);
  header->Height = png_get_image_height(png, info);
  return true;
}

// Converts every colour type to 8-bit B, G, R, A and reads all rows.
bool ReadPixels(png_structp png, png_infop info, png_bytep* rows, png_uint_32 expectedRowBytes) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int colorType = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  png_set_expand(png);
  if (depth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != expectedRowBytes || png_get_channels(png, info) != 4)
    png_error(png, "unexpected row layout after conversion");
  png_read_image(png, rows);
  return true;
}

struct TReadStructs {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  ~TReadStructs() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }
};

[[noreturn]] void Fail(const char* message) {
  throw EInvalidGraphic(std::string("PNG image could not be decoded: ") + message);
}

}  // namespace

TBitmap LoadPngFromMemory(std::span<const std::uint8_t> data) {
  TPngIo io;
  io.Data = data.data();
  io.Size = data.size();
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) Fail("not a PNG file");
  TReadStructs s;
  s.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
  if (!s.Png) throw EOutOfResources("Out of memory while decoding a PNG image");
  s.Info = png_create_info_struct(s.Png);
  if (!s.Info) throw EOutOfResources("Out of memory while decoding a PNG image");
  png_set_read_fn(s.Png, &io, OnRead);
  // Our own limits below give the clearer message.
  png_set_user_limits(s.Png, 0x7FFFFFFF, 0x7FFFFFFF);
  png_set_chunk_malloc_max(s.Png, 8u * 1024u * 1024u);

  TPngHeader header;
  if (!ReadHeader(s.Png, s.Info, &header)) Fail(io.Message);
  CheckImageSize("PNG image", header.Width, header.Height, TPixelFormat::pf32bit);
  TBitmap bitmap(static_cast<int>(header.Width), static_cast<int>(header.Height), TPixelFormat::pf32bit, true);
  std::vector<png_bytep> rows(header.Height);
  for (png_uint_32 y = 0; y < header.Height; ++y) rows[y] = bitmap.ScanLine(static_cast<int>(y));
  if (!ReadPixels(s.Png, s.Info, rows.data(), header.Width * 4)) Fail(io.Message);
  return bitmap;
}

namespace {

void OnWrite(png_structp png, png_bytep data, std::size_t count) {
  auto* io = static_cast<TPngIo*>(png_get_io_ptr(png));
  try {
    io->Out->insert(io->Out->end(), data, data + count);
  } catch (...) {
    png_error(png, "out of memory");
  }
}

void OnFlush(png_structp) {}

bool WritePng(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height, bool alpha,
              png_bytep* rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

struct TWriteStructs {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  ~TWriteStructs() { png_destroy_write_struct(&Png, Info ? &Info : nullptr); }
};

}  // namespace

std::vector<std::uint8_t> SavePngToMemory(const TBitmap& bitmap) {
  if (bitmap.Empty()) throw EInvalidGraphic("Cannot save an empty picture");
  const bool alpha = bitmap.PixelFormat() == TPixelFormat::pf32bit;
  TBitmap converted;
  const TBitmap* source = &bitmap;
  if (!alpha && bitmap.PixelFormat() != TPixelFormat::pf24bit) {
    converted = bitmap;
    converted.SetPixelFormat(TPixelFormat::pf24bit);
    source = &converted;
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(source->Height()));
  for (int y = 0; y < source->Height(); ++y) rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(source->ScanLine(y));
  std::vector<std::uint8_t> out;
  TPngIo io;
  io.Out = &out;
  TWriteStructs s;
  s.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
  if (!s.Png) throw EOutOfResources("Out of memory while writing a PNG image");
  s.Info = png_create_info_struct(s.Png);
  if (!s.Info) throw EOutOfResources("Out of memory while writing a PNG image");
  png_set_write_fn(s.Png, &io, OnWrite, OnFlush);
  if (!WritePng(s.Png, s.Info, static_cast<png_uint_32>(source->Width()), static_cast<png_uint_32>(source->Height()),
                alpha, rows.data()))
    throw EInvalidGraphic(std::string("PNG image could not be written: ") + io.Message);
  return out;
}
