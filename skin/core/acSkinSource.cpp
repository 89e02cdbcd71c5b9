#include "skin/core/acSkinSource.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/core/acIniFile.h"

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

std::optional<std::vector<std::uint8_t>> ReadSkinFile(std::string_view textPath) {
  std::ifstream in(ExistingNativePath(textPath), std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}
