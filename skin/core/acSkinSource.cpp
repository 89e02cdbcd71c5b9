#include "skin/core/acSkinSource.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/base/RegularFile.h"
#include "skin/core/acIniFile.h"
#include "skin/core/acSkinBudget.h"

std::string WithTrailingSeparator(std::string_view dir) {
  if (dir.empty()) return {};
  std::string out(dir);
  if (out.back() == '\\') return out;
  if (out.back() == '/') {
    out.back() = '\\';
    return out;
  }
  if (out.size() == 1) return out + ":\\";
  return out + "\\";
}

std::string ResolveSkinDirectory(std::string_view skinDirectory, std::string_view programFolder) {
  const std::string dir(skinDirectory);
  if (dir.starts_with("..")) {
    std::string parent(programFolder);
    if (!parent.empty()) parent.pop_back();  // the folder's own final "\"
    while (!parent.empty() && parent.back() != '/' && parent.back() != '\\') parent.pop_back();
    return parent + (dir.size() > 3 ? dir.substr(3) : std::string());
  }
  if (dir.starts_with(".\\") || dir.starts_with("./")) return std::string(programFolder) + dir.substr(2);
  if (dir.find(':') == std::string::npos && dir.find("\\\\") == std::string::npos)
    return std::string(programFolder) + dir;
  return dir;
}

std::string NativePath(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string ExistingNativePath(std::string_view text) {
  namespace fs = std::filesystem;
  const std::string native = NativePath(text);
  std::error_code ec;
  if (native.empty() || fs::exists(native, ec)) return native;
  const fs::path path(native);
  fs::path resolved = path.root_path();
  for (const fs::path& part : path.relative_path()) {
    const fs::path exact = resolved / part;
    if (fs::exists(exact, ec)) {
      resolved = exact;
      continue;
    }
    bool found = false;
    const std::string wanted = part.string();
    for (const auto& entry : fs::directory_iterator(resolved.empty() ? fs::path(".") : resolved, ec)) {
      const std::string name = entry.path().filename().string();
      if (SameTextUtf8(name, wanted)) {
        resolved /= name;
        found = true;
        break;
      }
    }
    if (!found) return native;
  }
  return resolved.string();
}

std::string TextPath(std::string_view nativePath) {
  std::string out(nativePath);
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

std::string ProgramFolderText() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::current_path(ec) / "textbook";
  std::string folder = TextPath(exe.parent_path().string());
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

bool SkinFileExists(std::string_view textPath) {
  std::error_code ec;
  return !textPath.empty() && std::filesystem::is_regular_file(ExistingNativePath(textPath), ec);
}

bool SkinDirectoryExists(std::string_view textPath) {
  std::error_code ec;
  return !textPath.empty() && std::filesystem::is_directory(ExistingNativePath(textPath), ec);
}

std::optional<std::uint64_t> SkinFileSize(std::string_view textPath) {
  std::error_code ec;
  const std::string native = ExistingNativePath(textPath);
  if (textPath.empty() || !std::filesystem::is_regular_file(native, ec)) return std::nullopt;
  const auto size = std::filesystem::file_size(native, ec);
  if (ec) return std::nullopt;
  return size;
}

std::optional<std::vector<std::uint8_t>> ReadSkinFile(std::string_view textPath, TacSkinBudget* budget) {
  const std::string native = ExistingNativePath(textPath);
  TacSkinBudget own;
  TacSkinBudget& total = budget != nullptr ? *budget : own;
  const std::size_t slash = native.find_last_of('/');
  const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
  // Read no more than the budget still allows; what is too large is refused by the
  // budget itself, with its own words.
  TRegularFileRead read = ReadRegularFile(native, total.Limit() - std::min(total.Used(), total.Limit()));
  if (read.Status == TRegularFileStatus::TooLarge) total.Take(read.Size, name);
  if (read.Status != TRegularFileStatus::Ok) return std::nullopt;
  total.Take(read.Bytes.size(), name);
  return std::move(read.Bytes);
}
