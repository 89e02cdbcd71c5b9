#pragma once
// Addresses the HTML view is navigated to: file paths (absolute, relative, with
// '\' or '/'), file:// URLs and network addresses.
#include <string>

struct THtmlAddress {
  enum class TKind { File, Remote, Blank };
  TKind Kind = TKind::Blank;
  std::string Path;      // File: absolute, normalised, '/' separators
  std::string Fragment;  // after '#', decoded, without the '#'
  std::string Text;      // the address as given (trimmed), for messages
};

// Resolves an address; relative paths are taken from `baseDir` (the working
// directory when empty).
THtmlAddress ParseHtmlAddress(const std::string& address, const std::string& baseDir = {});
// "%D0%9F" and friends decoded (invalid escapes stay as they are).
std::string PercentDecode(const std::string& text);
// The folder of a file path ("/a/b/c.htm" -> "/a/b").
std::string FolderOf(const std::string& path);
// A file: URL for a path, as the view reports its location.
std::string FileUrl(const std::string& path);
