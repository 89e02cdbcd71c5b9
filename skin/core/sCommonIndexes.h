#pragma once
// Indexes of frequently used sections and masks, cached by the manager after every
// load; -1 when not found.
#include <cstdint>

struct TacSectionMaskIndexes {
  std::int32_t Section = -1;
  std::int32_t Border = -1;
  std::int32_t Glyph = -1;
  std::int32_t Texture = -1;     // PATTERN
  std::int32_t HotTexture = -1;  // HOTPATTERN
};

struct TacCommonIndexes {
  std::int32_t GlobalInfo = -1;
  // GLOBALINFO check marks: BOXCHECKED, BOXUNCHECKED, BOXGRAYED, RADIOCHECKED,
  // RADIOUNCHECKED, RADIOGRAYED, SMALLCHECKED, SMALLUNCHECKED, SMALLGRAYED.
  std::int32_t CheckBoxChecked = -1;
  std::int32_t CheckBoxUnChecked = -1;
  std::int32_t CheckBoxGrayed = -1;
  std::int32_t RadioButtonChecked = -1;
  std::int32_t RadioButtonUnChecked = -1;
  std::int32_t RadioButtonGrayed = -1;
  std::int32_t SmallBoxChecked = -1;
  std::int32_t SmallBoxUnChecked = -1;
  std::int32_t SmallBoxGrayed = -1;
  std::int32_t ExBorder = -1;
  TacSectionMaskIndexes ComboBtn;  // section COMBOBTN; Border exact, textures inherited
  std::int32_t ComboBoxGlyph = -1;  // exact mask COMBOBOX / GLYPHMASK
  TacSectionMaskIndexes TabTop, TabBottom, TabLeft, TabRight;
  TacSectionMaskIndexes ScrollBtnTop, ScrollBtnBottom, ScrollBtnLeft, ScrollBtnRight;
  TacSectionMaskIndexes ScrollSliderV, ScrollSliderH;
  TacSectionMaskIndexes ScrollBar1H, ScrollBar1V, ScrollBar2H, ScrollBar2V;
};
