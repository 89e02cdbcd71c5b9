// JPEG through libjpeg. Its errors leave by longjmp, so libjpeg calls run inside
// small functions that hold no C++ objects; buffers are made by the callers.
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/ImageFile.h"

namespace {

// Progressive files can hold any number of scans; real pictures use a handful.
constexpr int kMaxScans = 500;

struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX + 1];
};

void OnErrorExit(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  (*info->err->format_message)(info, error->Message);
  std::longjmp(error->Jump, 1);
}

// Warnings are ignored except running out of data: a cut file is an error here.
void OnEmitMessage(j_common_ptr info, int level) {
  if (level == -1 && info->err->msg_code == JWRN_JPEG_EOF) {
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    std::snprintf(error->Message, sizeof error->Message, "%s", "Premature end of JPEG file");
    std::longjmp(error->Jump, 1);
  }
}

void OnOutputMessage(j_common_ptr) {}

void OnProgress(j_common_ptr info) {
  if (!info->is_decompressor) return;
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans) {
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    std::snprintf(error->Message, sizeof error->Message, "more than %d scans", kMaxScans);
    std::longjmp(error->Jump, 1);
  }
}

void InitError(TJpegError& error) {
  jpeg_std_error(&error.Manager);
  error.Manager.error_exit = OnErrorExit;
  error.Manager.emit_message = OnEmitMessage;
  error.Manager.output_message = OnOutputMessage;
  error.Message[0] = '\0';
}

struct TJpegHeader {
  JDIMENSION Width = 0;
  JDIMENSION Height = 0;
  bool Cmyk = false;
  bool Inverted = false;
};

bool ReadHeader(jpeg_decompress_struct* info, TJpegError* error, jpeg_progress_mgr* progress, const std::uint8_t* data,
                std::size_t size, TJpegHeader* header) {
  if (setjmp(error->Jump)) return false;
  jpeg_create_decompress(info);
  info->progress = progress;
  info->mem->max_memory_to_use = 768L * 1024L * 1024L;
  jpeg_mem_src(info, data, static_cast<unsigned long>(size));
  jpeg_read_header(info, TRUE);
  header->Width = info->image_width;
  header->Height = info->image_height;
  header->Cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  header->Inverted = info->saw_Adobe_marker;
  return true;
}

bool ReadPixels(jpeg_decompress_struct* info, TJpegError* error, const TJpegHeader* header, JSAMPROW* rows,
                JSAMPROW cmykRow) {
  if (setjmp(error->Jump)) return false;
  info->out_color_space = header->Cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(info);
  if (info->output_width != header->Width || info->output_height != header->Height ||
      info->output_components != (header->Cmyk ? 4 : 3)) {
    std::snprintf(error->Message, sizeof error->Message, "%s", "unexpected output layout");
    return false;
  }
  while (info->output_scanline < info->output_height) {
    const JDIMENSION y = info->output_scanline;
    JSAMPROW target = header->Cmyk ? cmykRow : rows[y];
    if (jpeg_read_scanlines(info, &target, 1) != 1) {
      std::snprintf(error->Message, sizeof error->Message, "%s", "no scan line returned");
      return false;
    }
    if (header->Cmyk) {
      JSAMPROW out = rows[y];
      for (JDIMENSION x = 0; x < header->Width; ++x, out += 3) {
        int c = cmykRow[x * 4], m = cmykRow[x * 4 + 1], yy = cmykRow[x * 4 + 2], k = cmykRow[x * 4 + 3];
        if (!header->Inverted) {
          c = 255 - c;
          m = 255 - m;
          yy = 255 - yy;
          k = 255 - k;
        }
        out[0] = static_cast<JSAMPLE>(yy * k / 255);
        out[1] = static_cast<JSAMPLE>(m * k / 255);
        out[2] = static_cast<JSAMPLE>(c * k / 255);
      }
    }
  }
  return true;
}

struct TDecompress {
  jpeg_decompress_struct Info{};
  bool Created = false;
  ~TDecompress() {
    if (Info.mem) jpeg_destroy_decompress(&Info);
  }
};

[[noreturn]] void Fail(const char* message) {
  throw EInvalidGraphic(std::string("JPEG image could not be decoded: ") + message);
}

}  // namespace

TBitmap LoadJpegFromMemory(std::span<const std::uint8_t> data) {
  if (data.size() < 3 || data[0] != 0xFF || data[1] != 0xD8) Fail("not a JPEG file");
  TJpegError error;
  InitError(error);
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;
  TDecompress d;
  d.Info.err = &error.Manager;
  TJpegHeader header;
  if (!ReadHeader(&d.Info, &error, &progress, data.data(), data.size(), &header)) Fail(error.Message);
  CheckImageSize("JPEG image", header.Width, header.Height, TPixelFormat::pf24bit);
  TBitmap bitmap(static_cast<int>(header.Width), static_cast<int>(header.Height), TPixelFormat::pf24bit, true);
  std::vector<JSAMPROW> rows(header.Height);
  for (JDIMENSION y = 0; y < header.Height; ++y) rows[y] = bitmap.ScanLine(static_cast<int>(y));
  std::vector<JSAMPLE> cmykRow(header.Cmyk ? static_cast<std::size_t>(header.Width) * 4 : 0);
  if (!ReadPixels(&d.Info, &error, &header, rows.data(), cmykRow.data())) Fail(error.Message);
  return bitmap;
}

namespace {

bool WriteJpeg(jpeg_compress_struct* info, TJpegError* error, unsigned char** buffer, unsigned long* size,
               JDIMENSION width, JDIMENSION height, bool bgrx, int quality, JSAMPROW* rows) {
  if (setjmp(error->Jump)) return false;
  jpeg_create_compress(info);
  jpeg_mem_dest(info, buffer, size);
  info->image_width = width;
  info->image_height = height;
  info->input_components = bgrx ? 4 : 3;
  info->in_color_space = bgrx ? JCS_EXT_BGRX : JCS_EXT_BGR;
  jpeg_set_defaults(info);
  jpeg_set_quality(info, quality, TRUE);
  jpeg_start_compress(info, TRUE);
  while (info->next_scanline < info->image_height) {
    JSAMPROW row = rows[info->next_scanline];
    jpeg_write_scanlines(info, &row, 1);
  }
  jpeg_finish_compress(info);
  return true;
}

struct TCompress {
  jpeg_compress_struct Info{};
  unsigned char* Buffer = nullptr;
  ~TCompress() {
    if (Info.mem) jpeg_destroy_compress(&Info);
    std::free(Buffer);
  }
};

}  // namespace

std::vector<std::uint8_t> SaveJpegToMemory(const TBitmap& bitmap, int quality) {
  if (bitmap.Empty()) throw EInvalidGraphic("Cannot save an empty picture");
  const bool bgrx = bitmap.PixelFormat() == TPixelFormat::pf32bit;
  TBitmap converted;
  const TBitmap* source = &bitmap;
  if (!bgrx && bitmap.PixelFormat() != TPixelFormat::pf24bit) {
    converted = bitmap;
    converted.SetPixelFormat(TPixelFormat::pf24bit);
    source = &converted;
  }
  std::vector<JSAMPROW> rows(static_cast<std::size_t>(source->Height()));
  for (int y = 0; y < source->Height(); ++y) rows[static_cast<std::size_t>(y)] = const_cast<JSAMPROW>(source->ScanLine(y));
  TJpegError error;
  InitError(error);
  TCompress c;
  c.Info.err = &error.Manager;
  unsigned long size = 0;
  if (!WriteJpeg(&c.Info, &error, &c.Buffer, &size, static_cast<JDIMENSION>(source->Width()),
                 static_cast<JDIMENSION>(source->Height()), bgrx, std::clamp(quality, 1, 100), rows.data()))
    throw EInvalidGraphic(std::string("JPEG image could not be written: ") + error.Message);
  return std::vector<std::uint8_t>(c.Buffer, c.Buffer + size);
}
