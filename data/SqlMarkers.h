#pragma once
// Finds the ":name" parameter markers of a statement, outside quoted text and
// comments, and gives the engine's text with each marker replaced by "?".
#include <string>
#include <string_view>
#include <vector>

struct SqlMarkers {
  std::vector<std::string> Names;  // one per marker, in order of appearance
  std::string EngineText;
};

SqlMarkers ParseSqlMarkers(std::string_view sql);
