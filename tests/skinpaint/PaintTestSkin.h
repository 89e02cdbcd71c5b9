#pragma once
// A skin model built by hand for the painter tests: sections, masks and a master
// bitmap set directly, so each test states exactly the values it paints from.
#include <memory>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "skin/core/acSkinModel.h"
#include "skin/paint/sStyleSimply.h"
#include "skin/runtime/sBackground.h"

constexpr TColor kKey = 0xFF00FF;

struct TPaintSkin {
  TacSkinModel Model;

  TPaintSkin() {
    Model.SkinData.SkinReady = true;
    Model.MasterBitmap = std::make_unique<TBitmap>(64, 64, TPixelFormat::pf24bit);
    Model.MasterBitmap->Fill(0x808080);
  }
  // A plain opaque section of the colour.
  int AddSection(const std::string& name, TColor color = 0xFFFFFF) {
    TsGeneralData s;
    s.SectionName = name;
    s.Color = color;
    s.HotColor = color;
    s.GradientData = "";
    return Model.AddSection(s);
  }
  TsGeneralData& Section(int i) { return *Model.Section(i); }
  // A mask over rect of the master bitmap.
  int AddMask(const std::string& section, const std::string& key, TRect r, int imageCount, int maskType,
              TacImgType type = TacImgType::itisaBorder, int stretchMode = 0) {
    TsMaskData m;
    m.SectionName = section;
    m.PropertyName = key;
    m.Left = r.Left, m.Top = r.Top, m.Right = r.Right, m.Bottom = r.Bottom;
    m.ImageCount = static_cast<std::int16_t>(imageCount);
    m.MaskType = static_cast<std::int16_t>(maskType);
    m.ImgType = type;
    m.StretchMode = static_cast<std::int16_t>(stretchMode);
    m.Manager = &Model;
    return Model.AddMask(std::move(m));
  }
  TsMaskData& Mask(int i) { return *Model.Mask(i); }
  void FillMaster(TRect r, TColor c) {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) Model.MasterBitmap->SetPixel(x, y, c);
  }
  TacPaintSource Source(int section) {
    TacPaintSource s;
    s.Manager = &Model;
    s.SkinIndex = section;
    s.BorderIndex = Section(section).BorderIndex;
    return s;
  }
};

inline TBitmap Filled(int w, int h, TColor c, TPixelFormat f = TPixelFormat::pf24bit) {
  TBitmap b(w, h, f);
  b.Fill(c);
  return b;
}

// A parent picture whose every pixel differs: (x * 7, y * 11, x + y).
inline TBitmap PatternedParent(int w, int h) {
  TBitmap b(w, h, TPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, static_cast<TColor>(RGB(static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11), static_cast<std::uint8_t>(x + y))));
  return b;
}
