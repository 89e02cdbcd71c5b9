#pragma once
// Writes skin packages; used by the skin tools and the build, never by the program.
#include <cstdint>
#include <string>
#include <vector>

struct TacPackEntry {
  std::string Name;  // UTF-8; stored as Windows-1251
  std::vector<std::uint8_t> Bytes;
};

// The package bytes: magic, count, then each entry deflated at the given zlib level
// (0: stored blocks, the entries' bytes as they are).
std::vector<std::uint8_t> WritePackage(const std::vector<TacPackEntry>& entries, int level = 9);
// The same in parts: the header for `count` entries, then each entry appended in turn
// (a package is its header and its entries one after another).
std::vector<std::uint8_t> PackageHeader(std::int32_t count);
void AppendPackageEntry(std::vector<std::uint8_t>& out, const TacPackEntry& entry, int level);
// Every file of a folder (not recursive, sorted, "Options.dat" first); paths are native.
std::vector<TacPackEntry> ReadPackEntriesFromFolder(const std::string& nativeFolder);
