#include "tools/skin-art/LumenOptions.h"

#include <map>
#include <stdexcept>

#include "tools/skin-art/LumenLayout.h"
#include "tools/skin-art/LumenPaint.h"

using namespace lumen;

namespace {

std::string C(unsigned rgb) { return std::to_string(OptColor(rgb)); }

// A vertical two-colour gradient over the whole height ("top;bottom;99;0;0;bottom;bottom;0;0;0").
std::string Vertical(unsigned top, unsigned bottom) {
  return C(top) + ";" + C(bottom) + ";99;0;0;" + C(bottom) + ";" + C(bottom) + ";0;0;0";
}

using TKeys = std::vector<std::pair<std::string, std::string>>;

// A surface that never goes hot (containers, bars, hints, meters) looks the same in
// every state: each normal value is repeated for the hot state unless given.
TKeys Steady(TKeys keys) {
  static const std::pair<const char*, const char*> kHotOf[] = {
      {"COLOR", "HOTCOLOR"},
      {"FONTCOLOR", "HOTFONTCOLOR"},
      {"TRANSPARENCY", "HOTTRANSPARENCY"},
      {"GRADIENTPERCENT", "HOTGRADIENTPERCENT"},
      {"GRADIENTDATA", "HOTGRADIENTDATA"},
      {"IMAGEPERCENT", "HOTIMAGEPERCENT"}};
  auto has = [&](const std::string& key) {
    for (const auto& kv : keys)
      if (kv.first == key) return true;
    return false;
  };
  const TKeys normal = keys;
  for (const auto& [key, value] : normal)
    for (const auto& [plain, hot] : kHotOf)
      if (key == plain && !has(hot)) keys.emplace_back(hot, value);
  return keys;
}

// Sections in file order. The masks are added from the layout table.
std::vector<TArtSection> PlainSections() {
  const std::string navy = C(kNavy);
  const std::string white = C(kWhite);
  std::vector<TArtSection> s = {
      {"GLOBALINFO",
       {{"VERSION", "6.4"},
        {"AUTHOR", "Textbook team"},
        {"DESCRIPTION", "Lumen: a light, calm skin for the classroom textbook"},
        {"SUID", "LUMEN-INTERNAL-1"},
        {"MASTERBITMAP", "MASTER.BMP"},
        {"BORDERWIDTH", "4"},
        {"TITLEHEIGHT", "24"},
        {"MAXHEIGHT", "22"},
        {"FORMOFFSET", "8"},
        {"CENTEROFFSET", "0"},
        {"BORDERMODE", "0"},
        {"SHADOW1COLOR", "0"},
        {"SHADOW1OFFSET", "0"},
        {"SHADOW1BLUR", "-1"},
        {"SHADOW1TRANSPARENCY", "0"},
        {"BISPACE", "2"},
        {"BIVALIGN", "0"},
        {"BIRIGHT", "4"},
        {"BILEFT", "4"},
        {"BORDERCOLOR", C(0x5677A0)},
        {"BIKEEPHUE", "0"},
        {"BICONCLOSEGLOW", "1"},
        {"BICONCLOSEGLOWMARGIN", "3"},
        {"BICONMAXGLOW", "1"},
        {"BICONMAXGLOWMARGIN", "3"},
        {"BICONMINGLOW", "1"},
        {"BICONMINGLOWMARGIN", "3"},
        {"BICONCLOSEGLOW0", "!GLOWRED.PNG!1!0!4"},
        {"BICONMAXGLOW0", "!GLOWBLUE.PNG!1!0!4"},
        {"BICONMINGLOW0", "!GLOWYELLOW.PNG!1!0!4"},
        {"COLOR", C(kForm)},
        {"HOTCOLOR", C(kPaleSky)},
        {"FONTCOLOR", navy},
        {"HOTFONTCOLOR", navy}}},
      {"SPLITTER", {{"PARENTCLASS", "SPEEDBUTTON_SMALL"}, {"COLOR", C(0xC9D8E6)}, {"HOTCOLOR", C(0xA9CBEA)}}},
      {"MENUITEM",
       {{"COLOR", C(0xF7FAFD)}, {"HOTCOLOR", C(0xD9EEFD)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", C(0x13263D)},
        {"TRANSPARENCY", "0"}}},
      {"MAINMENU", {{"COLOR", C(0xE7EEF5)}, {"FONTCOLOR", navy}, {"HOTCOLOR", C(0xD0EBFF)}, {"HOTFONTCOLOR", navy}}},
      {"COMBOBOX", {{"PARENTCLASS", "EDIT"}}},
      {"MENULINE", Steady({{"COLOR", C(0xE7EEF5)}, {"GRADIENTDATA", Vertical(0xF3F7FB, 0xDCE6EF)}, {"GRADIENTPERCENT", "100"}})},
      {"PAGECONTROL", Steady({{"COLOR", C(0xF3F7FB)}, {"FONTCOLOR", navy}})},
      {"SCROLLBAR1H", {{"COLOR", C(0xE9F0F6)}, {"HOTCOLOR", C(0xDDE8F2)}}},
      {"SCROLLBAR2H", {{"COLOR", C(0xD6E3EF)}, {"HOTCOLOR", C(0xC9DAEA)}}},
      {"SCROLLBAR1V", {{"COLOR", C(0xE9F0F6)}, {"HOTCOLOR", C(0xDDE8F2)}}},
      {"SCROLLBAR2V", {{"COLOR", C(0xD6E3EF)}, {"HOTCOLOR", C(0xC9DAEA)}}},
      {"STATUSBAR", Steady({{"COLOR", C(0xDCE6EF)}, {"FONTCOLOR", navy}, {"GRADIENTDATA", Vertical(0xE9F0F6, 0xD1DDE8)},
                            {"GRADIENTPERCENT", "100"}})},
      {"DIVIDER", Steady({{"COLOR", C(0xB9C9D8)}})},
      {"GROUPBOX", {}},
      {"PAGECONTROLBOTTOM", {{"PARENTCLASS", "PAGECONTROL"}}},
      {"TABCONTROL", {{"PARENTCLASS", "PAGECONTROL"}}},
      {"TABCONTROLBOTTOM", {{"PARENTCLASS", "PAGECONTROLBOTTOM"}}},
      {"TABCONTROLLEFT", {{"PARENTCLASS", "PAGECONTROLLEFT"}}},
      {"TABCONTROLRIGHT", {{"PARENTCLASS", "PAGECONTROLRIGHT"}}},
      {"PAGECONTROLRIGHT", {{"PARENTCLASS", "PAGECONTROL"}}},
      {"PAGECONTROLLEFT", {{"PARENTCLASS", "PAGECONTROL"}}},
      {"CALCPANEL", Steady({{"COLOR", C(0xDCE6EF)}, {"FONTCOLOR", navy}})},
      {"FORMTITLE",
       {{"COLOR", C(0xC4D8EA)},
        {"GRADIENTDATA", Vertical(0xE3ECF4, 0xC4D8EA)},
        {"GRADIENTPERCENT", "100"},
        {"HOTCOLOR", C(0x8DB8E0)},
        {"HOTGRADIENTDATA", Vertical(0xB9D3EA, 0x8DB8E0)},
        {"HOTGRADIENTPERCENT", "100"},
        {"FONTCOLOR", C(0x4A6380)},
        {"HOTFONTCOLOR", C(0x17304D)},
        {"HOTTCBOTTOM", C(0xC8DCEE)}}},
      {"PANEL_LOW", Steady({{"COLOR", C(0xDCE6EF)}, {"FONTCOLOR", navy}})},
      {"DIALOG", {{"PARENTCLASS", "FORM"}}},
      {"TOOLBAR", Steady({{"COLOR", C(0xDCE6EF)}, {"GRADIENTDATA", Vertical(0xF3F7FB, 0xD6E2EE)}, {"GRADIENTPERCENT", "100"}})},
      {"PANEL", {}},
      {"EDIT",
       {{"COLOR", white}, {"HOTCOLOR", white}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy}, {"FADINGENABLED", "FALSE"}}},
      {"DRAGBAR", Steady({{"COLOR", C(0xA9C6E0)}, {"GRADIENTDATA", Vertical(0xC4D8EA, 0x9ABFE0)}, {"GRADIENTPERCENT", "100"},
                          {"FONTCOLOR", navy}})},
      {"ALPHACOMBOBOX", {{"PARENTCLASS", "ALPHAEDIT"}}},
      {"PROGRESSV", Steady({{"COLOR", C(0x5FA8E0)}, {"GRADIENTDATA", C(0x8CCAF2) + ";" + C(0x3F8FD0) + ";99;1;0"},
                            {"GRADIENTPERCENT", "100"}})},
      {"GAUGE", {{"COLOR", C(0xE9F0F6)}, {"HOTCOLOR", C(0x5FA8E0)}, {"FONTCOLOR", navy}}},
      {"TABBOTTOM", {{"COLOR", C(0xE3ECF4)}, {"HOTCOLOR", C(0xF3F9FE)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy}}},
      {"TABTOP", {{"COLOR", C(0xE3ECF4)}, {"HOTCOLOR", C(0xF3F9FE)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy},
                  {"GRADIENTDATA", Vertical(0xF3F7FB, 0xDCE6EF)}, {"GRADIENTPERCENT", "100"}}},
      {"TABLEFT", {{"COLOR", C(0xE3ECF4)}, {"HOTCOLOR", C(0xF3F9FE)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy}}},
      {"TABRIGHT", {{"COLOR", C(0xE3ECF4)}, {"HOTCOLOR", C(0xF3F9FE)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy}}},
      {"SCROLLBTNBOTTOM", {{"COLOR", C(0xE9F0F6)}, {"HOTCOLOR", C(kPaleSky)}, {"FADINGENABLED", "TRUE"},
                           {"FADINGITERATIONS", "8"}}},
      {"SCROLLBTNLEFT", {{"COLOR", C(0xE9F0F6)}, {"HOTCOLOR", C(kPaleSky)}, {"FADINGENABLED", "TRUE"},
                         {"FADINGITERATIONS", "8"}, {"RESERVEDBOOLEAN", "FALSE"}}},
      {"SCROLLBTNRIGHT", {{"COLOR", C(0xE9F0F6)}, {"HOTCOLOR", C(kPaleSky)}, {"FADINGENABLED", "TRUE"},
                          {"FADINGITERATIONS", "8"}}},
      {"SCROLLBTNTOP", {{"COLOR", C(0xE9F0F6)}, {"HOTCOLOR", C(kPaleSky)}, {"FADINGENABLED", "TRUE"},
                        {"FADINGITERATIONS", "8"}}},
      {"SCROLLSLIDERH", {{"COLOR", C(0xE3EDF6)}, {"HOTCOLOR", C(0xD3EBFC)}, {"GRADIENTDATA", Vertical(0xF3F7FB, 0xDCE7F1)},
                         {"GRADIENTPERCENT", "100"}, {"HOTGRADIENTDATA", Vertical(0xF0F9FF, 0xC6E4FA)},
                         {"HOTGRADIENTPERCENT", "100"}}},
      {"SCROLLSLIDERV", {{"COLOR", C(0xE3EDF6)}, {"HOTCOLOR", C(0xD3EBFC)}, {"GRADIENTDATA", Vertical(0xF3F7FB, 0xDCE7F1)},
                         {"GRADIENTPERCENT", "100"}, {"HOTGRADIENTDATA", Vertical(0xF0F9FF, 0xC6E4FA)},
                         {"HOTGRADIENTPERCENT", "100"}}},
      {"SPEEDBUTTON_SMALL",
       {{"COLOR", C(0xEEF4FA)}, {"HOTCOLOR", C(kPaleSky)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy},
        {"GRADIENTDATA", Vertical(0xFFFFFF, 0xD6E4F1)}, {"GRADIENTPERCENT", "100"},
        {"HOTGRADIENTDATA", Vertical(0xFFFFFF, 0xBFE3FA)}, {"HOTGRADIENTPERCENT", "100"}, {"FADINGENABLED", "TRUE"},
        {"FADINGITERATIONS", "10"}, {"FADINGINTERVALIN", "10"}, {"FADINGINTERVALOUT", "10"}}},
      {"FORM", {{"COLOR", C(kForm)}, {"HOTCOLOR", C(kForm)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy}}},
      {"ALPHAEDIT", {{"COLOR", white}, {"HOTCOLOR", white}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy},
                     {"TRANSPARENCY", "20"}}},
      {"BAR", {}},
      {"BARPANEL", Steady({{"COLOR", C(0xDCE6EF)}, {"FONTCOLOR", navy}})},
      {"WEBBUTTON", {{"COLOR", C(kForm)}, {"HOTCOLOR", C(kForm)}, {"FONTCOLOR", C(0x1F5F9E)},
                     {"HOTFONTCOLOR", C(0x2E8CD1)}, {"TRANSPARENCY", "100"}, {"HOTTRANSPARENCY", "100"}}},
      {"RADIOBUTTON", {{"COLOR", C(kForm)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", C(0x1F5F9E)},
                       {"TRANSPARENCY", "100"}, {"HOTTRANSPARENCY", "100"}}},
      {"CHECKBOX", {{"COLOR", C(kForm)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", C(0x1F5F9E)},
                    {"TRANSPARENCY", "100"}, {"HOTTRANSPARENCY", "100"}}},
      {"BUTTON_BIG", {{"PARENTCLASS", "BUTTON"}, {"COLOR", "16772048"}, {"FONTCOLOR", navy}}},
      {"BUTTON", {}},
      {"BARTITLE", Steady({{"COLOR", C(0xA9C6E0)}, {"GRADIENTDATA", Vertical(0xC4D8EA, 0xA9C6E0)}, {"GRADIENTPERCENT", "100"},
                           {"FONTCOLOR", navy}})},
      {"SPEEDBUTTON", {}},
      {"TOOLBUTTON",
       {{"COLOR", C(0xDCE6EF)}, {"HOTCOLOR", C(0xE6F4FE)}, {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy},
        {"TRANSPARENCY", "100"}, {"HOTTRANSPARENCY", "30"}, {"FADINGENABLED", "TRUE"}, {"FADINGITERATIONS", "10"},
        {"FADINGINTERVALIN", "10"}, {"FADINGINTERVALOUT", "10"}}},
      {"EXTRALINE", Steady({{"COLOR", C(0xA9C6E0)}, {"GRADIENTDATA", "14730921;14396279;99;1;0"}, {"GRADIENTPERCENT", "100"},
                            {"FONTCOLOR", white}})},
      {"GRIPH", Steady({{"BORDERSMASK", "N/A"}, {"COLOR", C(0xDCE6EF)}, {"IMAGEPERCENT", "100"}})},
      {"HINT", Steady({{"COLOR", C(0xFBFCE8)}, {"FONTCOLOR", navy}, {"GRADIENTDATA", Vertical(0xFFFFFF, 0xF4F3DC)},
                       {"GRADIENTPERCENT", "100"}})},
      {"TRACKBAR", {{"COLOR", C(kForm)}, {"TRANSPARENCY", "100"}, {"HOTTRANSPARENCY", "100"}}},
      {"BUTTON_HUGE",
       {{"BORDERSMASK", "!BUTTONHUGE.BMP!3!1!0"}, {"COLOR", C(0xE3EDF6)}, {"HOTCOLOR", C(0xEAF5FE)},
        {"FONTCOLOR", navy}, {"HOTFONTCOLOR", navy}, {"TRANSPARENCY", "100"}, {"HOTTRANSPARENCY", "100"},
        {"FADINGENABLED", "TRUE"}, {"FADINGITERATIONS", "20"}}},
      {"UPDOWNBTN", {{"COLOR", C(0xEEF4FA)}, {"HOTCOLOR", C(kPaleSky)}, {"GRADIENTDATA", Vertical(0xFFFFFF, 0xD6E4F1)},
                     {"GRADIENTPERCENT", "100"}, {"HOTGRADIENTDATA", Vertical(0xFFFFFF, 0xBFE3FA)},
                     {"HOTGRADIENTPERCENT", "100"}}},
      {"DIVIDERV", Steady({{"COLOR", C(0xB9C9D8)}})},
      {"PROGRESSH", Steady({{"COLOR", C(0x5FA8E0)}, {"GRADIENTDATA", Vertical(0x8CCAF2, 0x3F8FD0)}, {"GRADIENTPERCENT", "100"}})},
  };
  // The five sections the windows bind to, line by line as fixed for this skin; the
  // containers (PANEL, GROUPBOX) repeat their look for the hot state, which a panel
  // under the mouse or a focused group box's caption band is painted in.
  for (TArtSection& section : s) {
    if (section.Name == "PANEL")
      section.Keys = Steady({{"BORDERSMASK", "^0045^0054^0081^0090^0000^0000^0000^0000^1^0^1^2"},
                             {"COLOR", "15390916"},
                             {"GRADIENTDATA", "14396279;14730921;99;0;0;14730921;14730921;0;0;0"},
                             {"GRADIENTPERCENT", "100"}});
    else if (section.Name == "SPEEDBUTTON")
      section.Keys = {{"BORDERSMASK", "^0000^0180^0045^0210^0000^0000^0000^0000^3^1^5^0"},
                      {"FADINGENABLED", "TRUE"},
                      {"FADINGITERATIONS", "20"},
                      {"HOTCOLOR", "16505484"},
                      {"TRANSPARENCY", "100"},
                      {"COLOR", "16772048"}};
    else if (section.Name == "BUTTON")
      section.Keys = {{"BORDERSMASK", "^0000^0000^0081^0054^0000^0000^0000^0000^3^1^5^0"},
                      {"FADINGENABLED", "TRUE"},
                      {"FADINGITERATIONS", "20"},
                      {"FONTCOLOR", "5454116"},
                      {"GRADIENTDATA", "16777215;11237449;99;0;0;11237449;11237449;0;0;0"},
                      {"GRADIENTPERCENT", "100"},
                      {"HOTGRADIENTDATA", "16777215;13732910;99;0;0;13732910;13732910;0;0;0"},
                      {"HOTGRADIENTPERCENT", "100"},
                      {"SHOWFOCUS", "TRUE"},
                      {"TRANSPARENCY", "50"},
                      {"COLOR", "16772048"}};
    else if (section.Name == "GROUPBOX")
      section.Keys = Steady({{"BORDERSMASK", "^0000^0279^0012^0297^0000^0000^0000^0000^1^1^5^0"},
                             {"COLOR", "14215660"},
                             {"TRANSPARENCY", "100"}});
    else if (section.Name == "BAR")
      section.Keys = {{"BORDERSMASK", "^0135^0000^0180^0090^0000^0000^0000^0000^1^1^5^0"},
                      {"TRANSPARENCY", "100"},
                      {"HOTTRANSPARENCY", "100"},
                      {"COLOR", "14075313"},
                      {"HOTCOLOR", "16777215"}};
  }
  return s;
}

bool IsFixedSection(const std::string& name) {
  return name == "PANEL" || name == "SPEEDBUTTON" || name == "BUTTON" || name == "GROUPBOX" || name == "BAR";
}

}  // namespace

std::vector<TArtSection> LumenSections() {
  std::vector<TArtSection> sections = PlainSections();
  std::map<std::string, int> inserted;
  for (const TArtMask& mask : LumenMasks()) {
    TArtSection* target = nullptr;
    for (TArtSection& s : sections)
      if (s.Name == mask.Section) target = &s;
    if (!target) throw std::logic_error("mask of unknown section " + mask.Section);
    const std::string value = MaskValueText(mask);
    if (IsFixedSection(mask.Section)) {
      // The fixed lines already carry the value; the layout must agree with them.
      bool found = false;
      for (const auto& kv : target->Keys)
        if (kv.first == mask.Key && kv.second == value) found = true;
      if (!found) throw std::logic_error("layout disagrees with the fixed value of " + mask.Section);
      continue;
    }
    // Mask keys come first in a section (after PARENTCLASS), in table order;
    // GLOBALINFO lists them after its global values.
    std::size_t at = static_cast<std::size_t>(inserted[mask.Section]++);
    if (!target->Keys.empty() && target->Keys.front().first == "PARENTCLASS") ++at;
    if (mask.Section == "GLOBALINFO") at = target->Keys.size();
    target->Keys.insert(target->Keys.begin() + static_cast<std::ptrdiff_t>(at), {mask.Key, value});
  }
  return sections;
}

std::string LumenOptionsText() {
  std::string text = "; Lumen: the textbook's internal skin. Generated by skin-art; do not edit.\r\n";
  for (const TArtSection& s : LumenSections()) {
    text += "\r\n[" + s.Name + "]\r\n";
    for (const auto& [key, value] : s.Keys) text += key + "=" + value + "\r\n";
  }
  return text;
}
