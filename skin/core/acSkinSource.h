#pragma once
// Skin directory texts keep "\" as separator; NativePath is the one place where a
// text becomes a file-system path.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "" stays; a final "\" stays; a final "/" becomes "\"; a drive letter gets ":\";
// anything else gets "\".
std::string WithTrailingSeparator(std::string_view dir);
// SkinDirectory made absolute against the program's folder (which ends with "\"):
// "..\x", ".\x" or "./x", a plain relative name, else unchanged. No separator added.
std::string ResolveSkinDirectory(std::string_view skinDirectory, std::string_view programFolder);
// The file-system path of a skin path text: every "\" becomes "/".
std::string NativePath(std::string_view text);
// The native path of an existing file or folder whose names match text ignoring
// letter case (skins name their files for a case-insensitive file system); the plain
// NativePath when nothing matches.
std::string ExistingNativePath(std::string_view text);
// A native path as a skin path text: every "/" becomes "\".
std::string TextPath(std::string_view nativePath);
// The running program's folder as a path text ending with "\".
std::string ProgramFolderText();

bool SkinFileExists(std::string_view textPath);
bool SkinDirectoryExists(std::string_view textPath);
class TacSkinBudget;

// The whole file, or nullopt when it is not a regular file or cannot be read. Its size
// is counted against budget before anything is read (without one, against a budget
// of its own), so a huge file fails with ESkinTooLarge.
std::optional<std::vector<std::uint8_t>> ReadSkinFile(std::string_view textPath, TacSkinBudget* budget = nullptr);
// The size of a regular file, or nullopt.
std::optional<std::uint64_t> SkinFileSize(std::string_view textPath);
