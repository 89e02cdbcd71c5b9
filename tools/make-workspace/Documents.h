#pragma once
// The demo lectures and labs: real HTML pages in Russian.
#include <string>
#include <vector>

struct DemoDocument {
  std::string Title;     // the entry's title in the materials list
  std::string Path;      // relative to the workspace
  std::string Html;      // UTF-8 text
  bool Windows1251 = false;  // written in Windows-1251 (its meta names the charset)
};

std::vector<DemoDocument> DemoLectures();
std::vector<DemoDocument> DemoLabs();
// The blank page the web view shows when no document is open.
std::string BlankPage();
