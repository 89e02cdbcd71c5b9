#pragma once
// Checks a skin package or skin folder the way the skin tools report it: every image
// reference that finds nothing, every unknown parent or parent loop, every value that
// loading would silently ignore or fail on, and finally a real load of the model.
#include <string>
#include <vector>

struct TacSkinProblem {
  std::string Section;  // empty for problems of the whole skin
  std::string Key;
  std::string Message;
};

// nativePath: a ".asz" file or a folder holding Options.dat.
std::vector<TacSkinProblem> CheckSkin(const std::string& nativePath);
std::string FormatSkinProblem(const TacSkinProblem& problem);
