#include "media/HtmlAddress.h"
#include "platform/base/TextHelpers.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n\"");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n\"");
  return s.substr(first, last - first + 1);
}

// "scheme:" with a scheme of two letters or more (so "C:\..." stays a path).
std::string SchemeOf(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '+' || s[i] == '-' || s[i] == '.'))
    ++i;
  if (i < 2 || i >= s.size() || s[i] != ':' || !std::isalpha(static_cast<unsigned char>(s[0]))) return {};
  return LowerAscii(s.substr(0, i));
}

std::string CurrentDir() {
  std::error_code ec;
  const auto cwd = std::filesystem::current_path(ec);
  return ec ? std::string("/") : cwd.string();
}

std::string Normalised(const std::string& path, const std::string& baseDir) {
  std::filesystem::path p(path);
  if (p.is_relative()) p = std::filesystem::path(baseDir.empty() ? CurrentDir() : baseDir) / p;
  std::string out = p.lexically_normal().string();
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentDecode(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int hi = HexValue(text[i + 1]);
      const int lo = HexValue(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return CurrentDir();
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string FileUrl(const std::string& path) { return "file://" + path; }

THtmlAddress ParseHtmlAddress(const std::string& address, const std::string& baseDir) {
  THtmlAddress out;
  out.Text = Trim(address);
  std::string s = out.Text;
  if (s.empty() || LowerAscii(s) == "about:blank") {
    out.Kind = THtmlAddress::TKind::Blank;
    return out;
  }
  const std::string scheme = SchemeOf(s);
  bool isUrl = false;
  if (scheme == "file") {
    s = s.substr(5);
    if (s.rfind("//", 0) == 0) {
      s = s.substr(2);
      // file://host/path: only the local host means anything here.
      const auto slash = s.find('/');
      const std::string host = LowerAscii(s.substr(0, slash == std::string::npos ? s.size() : slash));
      if (host.empty() || host == "localhost") s = slash == std::string::npos ? "/" : s.substr(slash);
    }
    // file:///C:/dir/x.htm: the drive letter has no meaning on this file system.
    if (s.size() >= 3 && s[0] == '/' && std::isalpha(static_cast<unsigned char>(s[1])) && s[2] == ':') s = s.substr(3);
    isUrl = true;
  } else if (!scheme.empty()) {
    out.Kind = THtmlAddress::TKind::Remote;
    return out;
  }
  for (char& c : s)
    if (c == '\\') c = '/';
  // A URL always has its fragment after '#'; a plain path keeps a '#' that names a real file.
  const auto hash = s.find('#');
  if (hash != std::string::npos) {
    std::error_code ec;
    const std::string whole = Normalised(isUrl ? PercentDecode(s) : s, baseDir);
    if (isUrl || !std::filesystem::exists(whole, ec)) {
      out.Fragment = PercentDecode(s.substr(hash + 1));
      s = s.substr(0, hash);
    }
  }
  const auto query = s.find('?');
  if (query != std::string::npos && isUrl) s = s.substr(0, query);
  if (isUrl) s = PercentDecode(s);
  out.Kind = THtmlAddress::TKind::File;
  out.Path = s.empty() ? std::string() : Normalised(s, baseDir);
  // Pages link to "my%20file.htm" as browsers write it; a file named so literally comes first.
  if (!isUrl && s.find('%') != std::string::npos) {
    std::error_code ec;
    const std::string decoded = Normalised(PercentDecode(s), baseDir);
    if (!std::filesystem::exists(out.Path, ec) && std::filesystem::exists(decoded, ec)) out.Path = decoded;
  }
  return out;
}
