#pragma once
// Skins stored with a window's design: either the bytes of a package (Data) or the
// converted collections of sections, masks and patterns.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "skin/core/acImgType.h"
#include "skin/core/acMemoryStream.h"

struct TsSkinGeneral {
  std::string SectionName;
  std::string ParentClass;
  std::int32_t Color = 0;
  bool ReservedBoolean = false;
  std::string FontColor;     // five colours separated by ";"
  std::string HotFontColor;  // idem
  std::int32_t Transparency = 0;
  std::int32_t GlowCount = 0;
  std::int32_t GlowMargin = 0;
  std::int32_t GradientPercent = 0;
  std::string GradientData;
  std::int32_t ImagePercent = 0;
  bool ShowFocus = false;
  bool FadingEnabled = false;
  std::int32_t FadingIterations = 0;
  std::int32_t HotColor = 0;
  std::int32_t HotTransparency = 0;
  std::int32_t HotGradientPercent = 0;
  std::string HotGradientData;
  std::int32_t HotImagePercent = 0;
  std::string Name;
  bool GiveOwnFont = false;
};

struct TsSkinImage {
  std::string SectionName;
  TBitmap Image;
  std::string Name;
  std::string PropertyName;
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  std::int16_t ImageCount = 0;
  std::int16_t MaskType = 0;
  std::int16_t BorderWidth = 0;
  std::int16_t StretchMode = 0;
  TacImgType ImgType = TacImgType::itisaBorder;
  std::int16_t WL = 0;
  std::int16_t WR = 0;
  std::int16_t WT = 0;
  std::int16_t WB = 0;
};

struct TsSkinPattern {
  std::string SectionName;
  TBitmap Image;  // the decoded JPEG picture
  std::string Name;
  std::string PropertyName;
};

using TsSkinGenerals = std::vector<TsSkinGeneral>;
using TsSkinImages = std::vector<TsSkinImage>;
using TsSkinPatterns = std::vector<TsSkinPattern>;

struct TsStoredSkin {
  std::string Name;  // matched exactly against SkinName
  TsSkinGenerals GeneralData;
  TsSkinImages Images;
  TsSkinPatterns Patterns;
  TBitmap MasterBitmap;
  std::int32_t Shadow1Color = 0;
  std::int32_t Shadow1Offset = 0;
  std::int32_t Shadow1Blur = -1;
  std::int32_t Shadow1Transparency = 0;
  std::int32_t BorderColor = 0xFF00FF;
  double Version = 0;
  std::string Author;
  std::string Description;
  // The complete bytes of a skin package; when not empty it is the skin and the
  // collections and values above are not consulted.
  TacMemoryStream Data;
};

class TsStoredSkins {
public:
  TsStoredSkin& Add();
  int Count() const { return static_cast<int>(Items_.size()); }
  TsStoredSkin& Items(int index) { return *Items_.at(static_cast<std::size_t>(index)); }
  const TsStoredSkin& Items(int index) const { return *Items_.at(static_cast<std::size_t>(index)); }
  TsStoredSkin& operator[](int index) { return Items(index); }
  // The first item whose Name equals name exactly, or -1.
  int IndexOf(const std::string& name) const;
  void Delete(int index);
  void Clear() { Items_.clear(); }

private:
  std::vector<std::unique_ptr<TsStoredSkin>> Items_;  // items keep their address
};
