#pragma once
// Class names of plain controls that adapters skin, by kind. One list gives the
// stored properties in their published order, their indexes and their defaults.
#include <array>
#include <string>
#include <vector>

// X(index, property, kind, default), in published order.
#define AC_THIRD_PARTY_LIST(X)                        \
  X(0, ThirdEdits, "Edit", " ")                       \
  X(1, ThirdButtons, "Button", "TButton")             \
  X(2, ThirdBitBtns, "BitBtn", " ")                   \
  X(3, ThirdCheckBoxes, "CheckBox", " ")              \
  X(6, ThirdGroupBoxes, "GroupBox", " ")              \
  X(7, ThirdListViews, "ListView", " ")               \
  X(8, ThirdPanels, "Panel", " ")                     \
  X(5, ThirdGrids, "Grid", " ")                       \
  X(9, ThirdTreeViews, "TreeView", " ")               \
  X(4, ThirdComboBoxes, "ComboBox", " ")              \
  X(10, ThirdWWEdits, "wwEdit", " ")                  \
  X(12, ThirdVirtualTrees, "VirtualTree", " ")        \
  X(11, ThirdGridEh, "GridEh", " ")                   \
  X(13, ThirdPageControl, "PageControl", " ")         \
  X(14, ThirdTabControl, "TabControl", " ")           \
  X(15, ThirdToolBar, "ToolBar", " ")                 \
  X(16, ThirdStatusBar, "StatusBar", " ")             \
  X(17, ThirdSpeedButton, "SpeedButton", " ")

constexpr int kThirdPartyCount = 18;

// The eighteen stored texts, each a list of class names one a line, by index.
class TacThirdPartyList {
public:
#define AC_THIRD_ACCESSORS(index, name, kind, defaultValue)              \
  const std::string& name() const { return Texts_[index]; }              \
  void Set##name(const std::string& value) { Texts_[index] = value; }
  AC_THIRD_PARTY_LIST(AC_THIRD_ACCESSORS)
#undef AC_THIRD_ACCESSORS

  const std::string& Text(int index) const { return Texts_.at(static_cast<std::size_t>(index)); }
  void SetText(int index, const std::string& value) { Texts_.at(static_cast<std::size_t>(index)) = value; }
  static const char* KindName(int index);
  static const char* DefaultText(int index);
  static const char* PropertyName(int index);
  // Empty texts get their defaults.
  void FillDefaults();

private:
  std::array<std::string, kThirdPartyCount> Texts_;
};

// Splits a stored text into its lines (CR LF, LF or CR), keeping blank ones as
// the list of lines keeps them.
std::vector<std::string> SplitLines(const std::string& text);
std::string JoinLines(const std::vector<std::string>& lines);
