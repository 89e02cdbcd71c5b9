#pragma once
// Reading and writing image files: BMP, PNG (libpng) and JPEG (libjpeg).
//
// Decoders never trust the input: a file that cannot be decoded raises
// EInvalidGraphic with the decoder's message, and an image larger than
// 16384 × 16384 pixels or 256 MiB of pixels raises EOutOfResources before
// anything is allocated for its pixels. Missing or unreadable files raise EFileError.
//
// Results: BMP keeps its depth (1, 4, 8 bits with palette, 24, 32; 16-bit files
// become 24-bit) and its row order; PNG always gives 32-bit BGRA with alpha,
// top-down; JPEG gives 24-bit, top-down.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"

enum class TImageFormat { Unknown, Bmp, Png, Jpeg };

// Recognises the format by its signature.
TImageFormat DetectImageFormat(std::span<const std::uint8_t> data);

// Any of the three formats, by signature. Unknown data raises EInvalidGraphic.
TBitmap LoadImageFromMemory(std::span<const std::uint8_t> data);
TBitmap LoadImageFromFile(const std::string& path);

TBitmap LoadBmpFromMemory(std::span<const std::uint8_t> data);
TBitmap LoadPngFromMemory(std::span<const std::uint8_t> data);
TBitmap LoadJpegFromMemory(std::span<const std::uint8_t> data);
TBitmap LoadBmpFromFile(const std::string& path);
TBitmap LoadPngFromFile(const std::string& path);
TBitmap LoadJpegFromFile(const std::string& path);

// BMP in the bitmap's own depth and row order (BITMAPINFOHEADER; 32-bit as BI_RGB
// keeping the alpha bytes, or BI_BITFIELDS with explicit masks when asked).
std::vector<std::uint8_t> SaveBmpToMemory(const TBitmap& bitmap, bool bitfields32 = false);
void SaveBmpToFile(const TBitmap& bitmap, const std::string& path, bool bitfields32 = false);
// PNG: 32-bit bitmaps as RGBA, every other depth as RGB.
std::vector<std::uint8_t> SavePngToMemory(const TBitmap& bitmap);
void SavePngToFile(const TBitmap& bitmap, const std::string& path);
// JPEG (baseline, quality 1..100); alpha is dropped.
std::vector<std::uint8_t> SaveJpegToMemory(const TBitmap& bitmap, int quality = 90);
void SaveJpegToFile(const TBitmap& bitmap, const std::string& path, int quality = 90);

// Whole file into memory. Only regular files are read (a pipe or a device may
// never end), and only up to `maxBytes`, checked before reading; EFileError
// otherwise or when the file cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes = kMaxBitmapBytes);
