#pragma once
// Skin packages (".asz"): the magic "ASzf", an entry count, then per entry a
// Windows-1251 name, the inflated size and one zlib stream. The compressed length
// is not stored: an entry ends where its zlib stream ends.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/core/acMemoryStream.h"

class TacSkinBudget;

// One image entry of a package.
struct TacImageItem {
  std::string Name;  // the entry name as stored, converted to UTF-8
  bool IsBitmap = false;  // the upper-cased extension is ".BMP"
  std::unique_ptr<TacMemoryStream> Stream;  // the inflated file bytes
};

class TacSkinConvertor {
public:
  TacSkinConvertor() = default;
  TacSkinConvertor(const TacSkinConvertor&) = delete;
  TacSkinConvertor& operator=(const TacSkinConvertor&) = delete;
  ~TacSkinConvertor() { ClearPackage(); }

  // The package being read: owned when read from a file, borrowed otherwise.
  TacMemoryStream* SourceStream = nullptr;
  std::unique_ptr<TacMemoryStream> OptionsStream;  // the inflated "Options.dat", or none
  std::int32_t ImageCount = 0;  // entry count - 1
  std::vector<TacImageItem> Items;  // image entries in package order
  // What the load may still inflate; without one a parse has a budget of its own.
  TacSkinBudget* Budget = nullptr;

  // Takes ownership of a source stream.
  void OwnSource(std::unique_ptr<TacMemoryStream> source);
  // Reads a stream that stays owned by someone else (a stored skin's Data).
  void BorrowSource(TacMemoryStream* source);
  // Lets go of the source: an owned one is released, a borrowed one forgotten.
  void ReleaseSource();

  // Parses SourceStream from its first byte. Raises Exception "Loaded data is not a
  // packed skin file" without the magic (the reader is cleared first), EReadError
  // "Stream read error" when the data ends early, and Exception with zlib's message
  // for a corrupt stream. Declared sizes are counted against Budget before an entry
  // is inflated (ESkinTooLarge), and Options.dat has its own smaller bound.
  void ParsePackage();
  // Releases every item, the options stream and the source.
  void ClearPackage();

  // The first item whose upper-cased name equals reference exactly, or nullptr.
  TacImageItem* FindItem(const std::string& reference);

private:
  std::unique_ptr<TacMemoryStream> OwnedSource_;
};

// When a file exists at path, (re)creates reader, reads the whole file as its source
// and parses it; releaseSource drops the source afterwards. A missing file leaves
// reader untouched. path is a skin path text ("\" separators).
// The file and its entries count against budget when one is given.
void LoadPackageFile(const std::string& path, std::unique_ptr<TacSkinConvertor>& reader, bool releaseSource,
                     TacSkinBudget* budget = nullptr);

// One entry of a package as it lies in the file, for the skin tools.
struct TacPackEntryInfo {
  std::string Name;  // UTF-8
  std::size_t Offset = 0;          // of the entry's name length
  std::size_t PackedSize = 0;      // bytes of its zlib stream
  std::int32_t Size = 0;           // inflated bytes
  std::vector<std::uint8_t> Bytes;  // the inflated bytes
};
// Every entry in package order, Options.dat included; the same errors as ParsePackage.
std::vector<TacPackEntryInfo> ReadPackageEntries(TacMemoryStream& source);

// Inflates exactly size bytes of one zlib stream starting at source's position and
// leaves source on the first byte after the stream's trailer. Input is pulled in
// blocks of kPackInputBlock bytes; output grows only as bytes really arrive.
constexpr std::size_t kPackInputBlock = 65536;
std::vector<std::uint8_t> InflateEntry(TacMemoryStream& source, std::int64_t size);
