#pragma once
// Image half of a loaded skin: masks (rectangles of the master bitmap or bitmaps of
// their own) and large JPEG textures (patterns). A mask or pattern index is a
// position in its array.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "skin/core/acImgType.h"

class TacSkinModel;

struct TsMaskData {
  std::unique_ptr<TBitmap> Image;  // own picture; none for a rectangle of the master bitmap
  std::string SectionName;
  std::string PropertyName;
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  std::int16_t ImageCount = 0;  // state frames side by side
  std::int16_t MaskType = 0;    // rows of frames - 1
  std::int16_t BorderWidth = 0;
  std::int16_t StretchMode = 0;
  TacImgType ImgType = TacImgType::itisaBorder;
  TacSkinModel* Manager = nullptr;
  std::int16_t WL = 0;
  std::int16_t WT = 0;
  std::int16_t WR = 0;
  std::int16_t WB = 0;

  TRect R() const { return {Left, Top, Right, Bottom}; }
};

using TsMaskArray = std::vector<TsMaskData>;

struct TsPatternData {
  std::unique_ptr<TBitmap> Image;  // the decoded JPEG
  std::string SectionName;   // upper-cased
  std::string PropertyName;  // upper-cased
};

using TsPatternArray = std::vector<TsPatternData>;
