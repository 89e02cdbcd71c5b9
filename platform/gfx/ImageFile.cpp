#include "platform/gfx/ImageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/base/Exception.h"
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

namespace {

struct TFdCloser {
  int Fd;
  ~TFdCloser() { ::close(Fd); }
};

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  // Non-blocking: opening a pipe that nobody writes to would wait for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw EFileError("Cannot open file \"" + path + "\"");
  const TFdCloser closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw EFileError("Cannot read file \"" + path + "\"");
  // Pipes and devices (/dev/zero) may never end or never answer.
  if (!S_ISREG(info.st_mode)) throw EFileError("\"" + path + "\" is not a regular file");
  const auto tooLarge = [&] {
    return EFileError("File \"" + path + "\" is larger than the allowed " + std::to_string(maxBytes) + " bytes");
  };
  if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > maxBytes) throw tooLarge();
  std::vector<std::uint8_t> data(static_cast<std::size_t>(info.st_size));
  std::size_t got = 0;
  for (;;) {
    // A file that grows while read is still held to the limit.
    if (got == data.size()) {
      if (data.size() >= maxBytes) {
        std::uint8_t probe;
        const ssize_t n = ::read(fd, &probe, 1);
        if (n > 0) throw tooLarge();
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EFileError("Cannot read file \"" + path + "\"");
        break;
      }
      data.resize(std::min(maxBytes, std::max<std::size_t>(data.size() * 2, 65536)));
    }
    const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EFileError("Cannot read file \"" + path + "\"");
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  data.resize(got);
  return data;
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
