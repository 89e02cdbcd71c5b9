#pragma once
// The options text of the internal skin.
#include <string>
#include <utility>
#include <vector>

struct TArtSection {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Keys;
};

// The 63 sections in file order, mask values included.
std::vector<TArtSection> LumenSections();
// "Options.dat" as text (ASCII, CRLF line ends).
std::string LumenOptionsText();
