#include "skin/core/acSkinPack.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "platform/base/Cp1251.h"
#include "platform/base/Exception.h"
#include "skin/core/acSkinBudget.h"
#include "skin/core/acSkinSource.h"

namespace {

constexpr char kPackMagic[4] = {'A', 'S', 'z', 'f'};
constexpr std::size_t kPackOutputChunk = 65536;
// No skin file comes near this; a larger declared size is a broken package.
constexpr std::int64_t kMaxPackEntryBytes = 256LL * 1024 * 1024;

// zlib's generic text for the code ("data error"), not its detailed stream message
// ("incorrect header check"), so that a load fails with one text per kind of fault.
std::string ZlibMessage(const z_stream&, int code) { return zError(code); }

// Ends the inflater whichever way the entry is left.
struct TInflater {
  z_stream Zs{};
  bool Started = false;
  ~TInflater() {
    if (Started) inflateEnd(&Zs);
  }
};

std::string UpperExtension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  return UpperCaseUtf8(std::string_view(name).substr(dot));
}

}  // namespace

std::vector<std::uint8_t> InflateEntry(TacMemoryStream& source, std::int64_t size) {
  if (size < 0 || size > kMaxPackEntryBytes) throw EReadError("Stream read error");
  TInflater inflater;
  z_stream& zs = inflater.Zs;
  const int initCode = inflateInit(&zs);
  if (initCode != Z_OK) throw Exception(ZlibMessage(zs, initCode));
  inflater.Started = true;

  // Sizes are counted against the load's budget before an entry is inflated, so the
  // whole output is reserved at once (untouched pages cost nothing until written) and
  // inflated into in place, a chunk at a time.
  const auto declared = static_cast<std::size_t>(size);
  std::vector<std::uint8_t> out;
  out.reserve(declared);
  std::uint8_t spare = 0;  // room for one byte past the declared size, to tell it
  bool ended = false;
  std::size_t pulled = 0;  // input handed to zlib in the current block
  std::size_t written = 0;
  while (!ended) {
    if (zs.avail_in == 0) {
      // Blocks of the source's own bytes, read in place.
      source.SetPosition(source.Position() + pulled);
      pulled = std::min(kPackInputBlock, source.Remaining());
      // Input ran out before the stream ended: a truncated entry.
      if (pulled == 0) throw EReadError("Stream read error");
      zs.next_in = const_cast<Bytef*>(source.Bytes().data() + source.Position());
      zs.avail_in = static_cast<uInt>(pulled);
    }
    const bool full = written == declared;
    const std::size_t room = std::min(declared - written, kPackOutputChunk);
    if (out.size() < written + room) out.resize(written + room);
    zs.next_out = full ? &spare : out.data() + written;
    zs.avail_out = full ? 1 : static_cast<uInt>(room);
    const int code = inflate(&zs, Z_NO_FLUSH);
    // More bytes than declared: the entry's size does not describe its stream.
    if (full && zs.avail_out == 0) throw EReadError("Stream read error");
    if (!full) written += room - zs.avail_out;
    switch (code) {
      case Z_STREAM_END:
        ended = true;
        break;
      case Z_OK:
        break;
      case Z_BUF_ERROR:
        // No progress possible with the input at hand; more input is read above.
        if (zs.avail_in != 0) throw Exception(ZlibMessage(zs, code));
        break;
      case Z_NEED_DICT:
      case Z_DATA_ERROR:
      case Z_STREAM_ERROR:
      case Z_MEM_ERROR:
      default:
        throw Exception(ZlibMessage(zs, code == Z_NEED_DICT ? Z_DATA_ERROR : code));
    }
  }
  // What was pulled but not consumed stays: the next entry starts there.
  source.SetPosition(source.Position() + pulled - zs.avail_in);
  if (written != declared) throw EReadError("Stream read error");
  out.resize(written);
  return out;
}

void TacSkinConvertor::OwnSource(std::unique_ptr<TacMemoryStream> source) {
  OwnedSource_ = std::move(source);
  SourceStream = OwnedSource_.get();
}

void TacSkinConvertor::BorrowSource(TacMemoryStream* source) {
  OwnedSource_.reset();
  SourceStream = source;
}

void TacSkinConvertor::ReleaseSource() {
  OwnedSource_.reset();
  SourceStream = nullptr;
}

void TacSkinConvertor::ClearPackage() {
  Items.clear();
  OptionsStream.reset();
  ReleaseSource();
  ImageCount = 0;
}

void TacSkinConvertor::ParsePackage() {
  Items.clear();
  OptionsStream.reset();
  ImageCount = 0;
  char magic[4] = {};
  bool isPackage = false;
  if (SourceStream != nullptr) {
    SourceStream->Rewind();
    isPackage = SourceStream->Read(magic, 4) == 4 && std::memcmp(magic, kPackMagic, 4) == 0;
  }
  if (!isPackage) {
    ClearPackage();
    throw Exception("Loaded data is not a packed skin file");
  }
  TacMemoryStream& src = *SourceStream;
  TacSkinBudget own;
  TacSkinBudget& budget = Budget != nullptr ? *Budget : own;
  const std::int32_t count = src.ReadInt32();
  ImageCount = count > 0 ? count - 1 : -1;  // no overflow for a negative count
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t nameLength = src.ReadInt32();
    if (nameLength < 0 || static_cast<std::size_t>(nameLength) > src.Remaining()) throw EReadError("Stream read error");
    std::string rawName(static_cast<std::size_t>(nameLength), '\0');
    src.ReadBuffer(rawName.data(), rawName.size());
    const std::int32_t size = src.ReadInt32();
    std::string name = Cp1251ToUtf8(rawName);
    const bool options = UpperCaseUtf8(name) == "OPTIONS.DAT";
    // A size past the bound of one entry is a lie that inflating reports as such.
    if (size > 0 && size <= kMaxPackEntryBytes) {
      if (options) CheckSkinOptionsSize(static_cast<std::uint64_t>(size), name);
      budget.Take(static_cast<std::uint64_t>(size), name);
    }
    auto stream = std::make_unique<TacMemoryStream>(InflateEntry(src, size));
    if (options) {
      OptionsStream = std::move(stream);
    } else {
      TacImageItem item;
      item.IsBitmap = UpperExtension(name) == ".BMP";
      item.Name = std::move(name);
      item.Stream = std::move(stream);
      Items.push_back(std::move(item));
    }
  }
}

std::vector<TacPackEntryInfo> ReadPackageEntries(TacMemoryStream& source) {
  source.Rewind();
  char magic[4] = {};
  if (source.Read(magic, 4) != 4 || std::memcmp(magic, kPackMagic, 4) != 0)
    throw Exception("Loaded data is not a packed skin file");
  const std::int32_t count = source.ReadInt32();
  TacSkinBudget budget;
  std::vector<TacPackEntryInfo> entries;
  for (std::int32_t i = 0; i < count; ++i) {
    TacPackEntryInfo info;
    info.Offset = source.Position();
    const std::int32_t nameLength = source.ReadInt32();
    if (nameLength < 0 || static_cast<std::size_t>(nameLength) > source.Remaining()) throw EReadError("Stream read error");
    std::string rawName(static_cast<std::size_t>(nameLength), '\0');
    source.ReadBuffer(rawName.data(), rawName.size());
    info.Name = Cp1251ToUtf8(rawName);
    info.Size = source.ReadInt32();
    if (info.Size > 0 && info.Size <= kMaxPackEntryBytes) budget.Take(static_cast<std::uint64_t>(info.Size), info.Name);
    const std::size_t streamStart = source.Position();
    info.Bytes = InflateEntry(source, info.Size);
    info.PackedSize = source.Position() - streamStart;
    entries.push_back(std::move(info));
  }
  return entries;
}

TacImageItem* TacSkinConvertor::FindItem(const std::string& reference) {
  for (TacImageItem& item : Items)
    if (UpperCaseUtf8(item.Name) == reference) return &item;
  return nullptr;
}

void LoadPackageFile(const std::string& path, std::unique_ptr<TacSkinConvertor>& reader, bool releaseSource,
                     TacSkinBudget* budget) {
  if (!SkinFileExists(path)) return;
  if (reader)
    reader->ClearPackage();
  else
    reader = std::make_unique<TacSkinConvertor>();
  auto bytes = ReadSkinFile(path, budget);
  if (!bytes) throw EFileError("Cannot open file \"" + path + "\"");
  reader->OwnSource(std::make_unique<TacMemoryStream>(std::move(*bytes)));
  reader->Budget = budget;
  reader->ParsePackage();
  if (releaseSource) reader->ReleaseSource();
}
