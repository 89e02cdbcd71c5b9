#include "fuzz/gfx/ImageDecodeTarget.h"

#include <span>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"

namespace {

// Touches every row so the sanitizers see any read past the decoded pixels.
unsigned Checksum(const TBitmap& bitmap) {
  unsigned sum = 0;
  const auto bytes = static_cast<std::size_t>(bitmap.RowBytes());
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = bitmap.ScanLine(y);
    for (std::size_t i = 0; i < bytes; ++i) sum += row[i];
  }
  return sum;
}

template <class Decode>
int TryDecode(Decode decode, std::span<const std::uint8_t> data) {
  try {
    const TBitmap bitmap = decode(data);
    volatile unsigned sink = Checksum(bitmap);
    (void)sink;
    return 1;
  } catch (const EInvalidGraphic&) {
  } catch (const EOutOfResources&) {
  }
  return 0;
}

}  // namespace

int DecodeImageForFuzzing(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  int accepted = 0;
  accepted += TryDecode(LoadBmpFromMemory, bytes);
  accepted += TryDecode(LoadPngFromMemory, bytes);
  accepted += TryDecode(LoadJpegFromMemory, bytes);
  return accepted;
}
