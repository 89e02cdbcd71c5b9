#include "skin/runtime/acControlKinds.h"

namespace {

struct TKindRange {
  int First, Last;
  std::string_view Section;
};

// Kinds whose owners get a section when theirs is left empty.
constexpr TKindRange kDefaultSections[] = {
    {2, 8, "EDIT"},          {10, 10, "EDIT"},        {41, 41, "EDIT"},         {76, 76, "EDIT"},
    {78, 78, "EDIT"},        {83, 84, "EDIT"},        {96, 97, "EDIT"},         {131, 131, "EDIT"},
    {140, 140, "EDIT"},      {227, 227, "EDIT"},      {11, 18, "COMBOBOX"},     {81, 82, "COMBOBOX"},
    {19, 19, "BAR"},         {20, 20, "BARTITLE"},    {32, 32, "CHECKBOX"},     {152, 152, "CHECKBOX"},
    {33, 33, "RADIOBUTTON"}, {51, 51, "PANEL"},       {59, 59, "PANEL"},        {68, 68, "PANEL"},
    {73, 73, "PANEL"},       {52, 52, "PANEL_LOW"},   {58, 58, "PANEL_LOW"},    {53, 54, "TOOLBAR"},
    {60, 60, "TOOLBAR"},     {56, 56, "DRAGBAR"},     {57, 57, "TABSHEET"},     {74, 74, "GROUPBOX"},
    {226, 226, "GROUPBOX"},  {75, 75, "SPLITTER"},    {92, 92, "SPEEDBUTTON"},  {95, 95, "SPEEDBUTTON"},
    {93, 94, "BUTTON"},      {98, 98, "TOOLBUTTON"},  {141, 141, "PAGECONTROL"}, {143, 143, "PAGECONTROL"},
    {151, 151, "STATUSBAR"}, {161, 161, "GAUGE"},     {165, 165, "TRACKBAR"},
};

constexpr TKindRange kEditKinds[] = {{2, 18, {}}, {41, 41, {}}, {76, 84, {}}, {96, 97, {}}, {131, 140, {}}};
constexpr TKindRange kContainerKinds[] = {{19, 19, {}}, {51, 74, {}}, {110, 110, {}}, {141, 161, {}}};
constexpr int kNoGlowKinds[] = {51, 52, 54, 56, 57, 58, 59, 60, 68, 73, 74, 110, 141, 143, 151, 161, 226};
constexpr int kOpaqueKinds[] = {51, 52, 54, 58, 59, 68, 73};

template <std::size_t N>
const TKindRange* RangeOf(const TKindRange (&ranges)[N], TacControlKind kind) {
  const int code = static_cast<int>(kind);
  for (const TKindRange& r : ranges)
    if (code >= r.First && code <= r.Last) return &r;
  return nullptr;
}

template <std::size_t N>
bool Listed(const int (&codes)[N], TacControlKind kind) {
  for (int code : codes)
    if (code == static_cast<int>(kind)) return true;
  return false;
}

}  // namespace

std::string_view DefaultSectionOfKind(TacControlKind kind) {
  const TKindRange* r = RangeOf(kDefaultSections, kind);
  return r ? r->Section : std::string_view();
}

bool IsEditKind(TacControlKind kind) { return RangeOf(kEditKinds, kind) != nullptr; }

bool IsContainerKind(TacControlKind kind) { return RangeOf(kContainerKinds, kind) != nullptr; }

bool IsNoGlowKind(TacControlKind kind) { return Listed(kNoGlowKinds, kind); }

bool IsButtonKind(TacControlKind kind) {
  return kind == TacControlKind::SpeedButton || kind == TacControlKind::Button || kind == TacControlKind::BitBtn;
}

bool KeepsOpacityKind(TacControlKind kind) { return Listed(kOpaqueKinds, kind); }
