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

// The engine text with each "?" marker (outside quoted text and comments)
// numbered "$1", "$2" … for engines that number their parameters; count gets the
// number of markers.
std::string NumberedMarkers(std::string_view engineText, int& count);

// True when text other than blanks, ";" and comments follows the first ";" outside
// quoted text: one statement per command, a second one is refused, not run.
bool HasSecondStatement(std::string_view text);
