#include "skin/core/acSkinPackWriter.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/base/Cp1251.h"
#include "platform/base/Exception.h"

namespace {

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((u >> shift) & 0xFF));
}

void PutUint16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// A zlib stream of stored blocks, written by hand: deflate's own state is about
// 300 KB cleared on every call, which for bytes that are only copied costs more
// than the copy itself.
void PutStoredStream(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& bytes) {
  constexpr std::size_t kBlock = 65535;
  out.push_back(0x78);
  out.push_back(0x01);
  std::size_t at = 0;
  do {
    const std::size_t length = std::min(kBlock, bytes.size() - at);
    const bool last = at + length == bytes.size();
    out.push_back(last ? 1 : 0);
    PutUint16(out, static_cast<unsigned>(length));
    PutUint16(out, static_cast<unsigned>(~length & 0xFFFF));
    out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
               bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  } while (at < bytes.size());
  const uLong check = adler32(adler32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size()));
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>((check >> shift) & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> PackageHeader(std::int32_t count) {
  std::vector<std::uint8_t> out = {'A', 'S', 'z', 'f'};
  PutInt32(out, count);
  return out;
}

void AppendPackageEntry(std::vector<std::uint8_t>& out, const TacPackEntry& entry, int level) {
  const std::string name = Utf8ToCp1251(entry.Name);
  PutInt32(out, static_cast<std::int32_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  PutInt32(out, static_cast<std::int32_t>(entry.Bytes.size()));
  if (level == 0) {
    PutStoredStream(out, entry.Bytes);
    return;
  }
  uLongf packedSize = compressBound(static_cast<uLong>(entry.Bytes.size()));
  std::vector<std::uint8_t> packed(packedSize);
  const int code = compress2(packed.data(), &packedSize, entry.Bytes.data(), static_cast<uLong>(entry.Bytes.size()), level);
  if (code != Z_OK) throw Exception(zError(code));
  out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packedSize));
}

std::vector<std::uint8_t> WritePackage(const std::vector<TacPackEntry>& entries, int level) {
  std::vector<std::uint8_t> out = PackageHeader(static_cast<std::int32_t>(entries.size()));
  for (const TacPackEntry& entry : entries) AppendPackageEntry(out, entry, level);
  return out;
}

std::vector<TacPackEntry> ReadPackEntriesFromFolder(const std::string& nativeFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(nativeFolder, ec)) throw EFileError("Folder not found: " + nativeFolder);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(nativeFolder, ec))
    if (entry.is_regular_file()) files.push_back(entry.path());
  if (ec) throw EFileError("Cannot list folder " + nativeFolder + ": " + ec.message());
  auto isOptions = [](const fs::path& p) { return UpperCaseUtf8(p.filename().string()) == "OPTIONS.DAT"; };
  std::sort(files.begin(), files.end(), [&](const fs::path& a, const fs::path& b) {
    if (isOptions(a) != isOptions(b)) return isOptions(a);
    return a.filename() < b.filename();
  });
  std::vector<TacPackEntry> entries;
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw EFileError("Cannot open file \"" + file.string() + "\"");
    TacPackEntry entry;
    entry.Name = file.filename().string();
    entry.Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    entries.push_back(std::move(entry));
  }
  return entries;
}
