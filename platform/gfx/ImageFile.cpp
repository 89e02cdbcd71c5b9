#include "platform/gfx/ImageFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/base/Exception.h"
#include "platform/base/RegularFile.h"
#include "platform/gfx/ImageCodec.h"

void CheckImageSize(const char* kind, std::int64_t width, std::int64_t height, TPixelFormat format) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width <= 0 || height <= 0) throw EInvalidGraphic(std::string(kind) + " has an invalid size of " + size + " pixels");
  if (width > kMaxBitmapSide || height > kMaxBitmapSide)
    throw EOutOfResources(std::string(kind) + " of " + size + " pixels is larger than the allowed 16384 x 16384");
  const auto bytes = static_cast<std::uint64_t>(DibRowBytes(static_cast<int>(width), format)) *
                     static_cast<std::uint64_t>(height);
  if (bytes > kMaxBitmapBytes)
    throw EOutOfResources(std::string(kind) + " of " + size + " pixels needs more than the allowed 256 MiB");
}

TImageFormat DetectImageFormat(std::span<const std::uint8_t> data) {
  static constexpr std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (data.size() >= 8 && std::memcmp(data.data(), kPng, 8) == 0) return TImageFormat::Png;
  if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return TImageFormat::Jpeg;
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') return TImageFormat::Bmp;
  return TImageFormat::Unknown;
}

TBitmap LoadImageFromMemory(std::span<const std::uint8_t> data) {
  switch (DetectImageFormat(data)) {
    case TImageFormat::Bmp: return LoadBmpFromMemory(data);
    case TImageFormat::Png: return LoadPngFromMemory(data);
    case TImageFormat::Jpeg: return LoadJpegFromMemory(data);
    case TImageFormat::Unknown: break;
  }
  throw EInvalidGraphic("Unknown picture file format");
}

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  TRegularFileRead read = ReadRegularFile(path, maxBytes);
  switch (read.Status) {
    case TRegularFileStatus::Ok: return std::move(read.Bytes);
    case TRegularFileStatus::CannotOpen: throw EFileError("Cannot open file \"" + path + "\"");
    case TRegularFileStatus::NotRegular: throw EFileError("\"" + path + "\" is not a regular file");
    case TRegularFileStatus::TooLarge:
      throw EFileError("File \"" + path + "\" is larger than the allowed " + std::to_string(maxBytes) + " bytes");
    case TRegularFileStatus::CannotRead: break;
  }
  throw EFileError("Cannot read file \"" + path + "\"");
}

namespace {

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& data) {
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw EFileError("Cannot create file \"" + path + "\"");
  if (std::fwrite(data.data(), 1, data.size(), file.get()) != data.size() || std::fflush(file.get()) != 0)
    throw EFileError("Cannot write file \"" + path + "\"");
}

}  // namespace

TBitmap LoadImageFromFile(const std::string& path) { return LoadImageFromMemory(ReadWholeFile(path)); }
TBitmap LoadBmpFromFile(const std::string& path) { return LoadBmpFromMemory(ReadWholeFile(path)); }
TBitmap LoadPngFromFile(const std::string& path) { return LoadPngFromMemory(ReadWholeFile(path)); }
TBitmap LoadJpegFromFile(const std::string& path) { return LoadJpegFromMemory(ReadWholeFile(path)); }

void SaveBmpToFile(const TBitmap& bitmap, const std::string& path, bool bitfields32) {
  WriteWholeFile(path, SaveBmpToMemory(bitmap, bitfields32));
}
void SavePngToFile(const TBitmap& bitmap, const std::string& path) { WriteWholeFile(path, SavePngToMemory(bitmap)); }
void SaveJpegToFile(const TBitmap& bitmap, const std::string& path, int quality) {
  WriteWholeFile(path, SaveJpegToMemory(bitmap, quality));
}
