#pragma once
// Pictures of HTML documents: PNG, JPEG and BMP through platform/gfx, GIF
// through giflib, as 32-bit BGRA (straight alpha, top-down).
//
// A page may name any number of pictures of any size, so nothing is decoded to
// lay a page out (the size comes from the file's header), and what is kept is
// what was drawn, at the size it was drawn, within a budget of bytes.
#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <span>
#include <string>
#include <tuple>
#include <unordered_map>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"

// Pictures wider or taller than this are not shown (a screen is far smaller);
// they are refused from their header, before anything is decoded.
constexpr int kHtmlMaxPictureSide = 8192;
// Picture files larger than this are not read.
constexpr std::size_t kHtmlMaxPictureFileBytes = 32u << 20;

// Width and height from the header of a PNG, JPEG, BMP or GIF; {0, 0} when the
// data is none of them or the header is damaged.
TSize ProbePictureSize(std::span<const std::uint8_t> data);
// The first frame of a GIF, with its transparent colour as alpha 0; the frames
// after it are never read. Raises EInvalidGraphic for data giflib cannot read,
// EOutOfResources for sizes over kHtmlMaxPictureSide.
TBitmap LoadGifFromMemory(std::span<const std::uint8_t> data);
// Any picture the view shows, as 32-bit BGRA top-down; sizes over
// kHtmlMaxPictureSide are refused before decoding.
TBitmap LoadHtmlPicture(std::span<const std::uint8_t> data);
// Bilinear scaling of a 32-bit picture (box-averaged first when shrinking a lot).
TBitmap ScalePicture(const TBitmap& source, int width, int height);
// The part `region` of ScalePicture(source, width, height), pixel for pixel,
// without making the whole.
TBitmap ScalePictureRegion(const TBitmap& source, int width, int height, const TRect& region);
// Blends a 32-bit picture at device (x, y) onto a 24- or 32-bit target, inside `clip`.
void BlendPicture(TBitmap& target, const TRect& clip, const TBitmap& picture, int x, int y);

class THtmlImageCache {
public:
  // Decoded and scaled pictures kept between draws, in bytes.
  static constexpr std::size_t kBudgetBytes = 160u << 20;
  // Scaled copies larger than this are not kept: the part in view is scaled
  // at each draw instead.
  static constexpr std::size_t kMaxScaledBytes = 32u << 20;

  explicit THtmlImageCache(std::size_t budgetBytes = kBudgetBytes) : Budget_(budgetBytes) {}

  // The natural size of a file's picture, from its header; {0, 0} when it
  // cannot be shown (also after a draw found its data damaged).
  TSize Size(const std::string& path);
  // Blends the file's picture, scaled to width × height, with its top-left at
  // (x, y) of the target, inside `clip`. Decodes only when some of it is in view.
  void Draw(TBitmap& target, const TRect& clip, const std::string& path, int width, int height, int x, int y);
  void Clear();

  // Bytes of pictures kept now (never more than the budget).
  std::size_t Bytes() const { return Bytes_; }
  // Pictures decoded so far (every decode of a file counts).
  int Decodes() const { return Decodes_; }

private:
  struct TEntry {
    std::string Path;
    int Width = 0;
    int Height = 0;
    TBitmap Picture;
  };
  using TKey = std::tuple<std::string, int, int>;

  const TBitmap* Find(const std::string& path, int width, int height);
  void Keep(const std::string& path, TBitmap picture);
  void Forget(const std::string& path, int width, int height);

  std::unordered_map<std::string, TSize> Sizes_;
  std::list<TEntry> Kept_;  // most recently used first
  std::map<TKey, std::list<TEntry>::iterator> Index_;
  std::size_t Budget_;
  std::size_t Bytes_ = 0;
  int Decodes_ = 0;
};
