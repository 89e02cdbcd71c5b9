#include "app/data/DatabaseChoice.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>

#include "app/data/ConnectionSettings.h"
#include "data/TPgEngine.h"

namespace DatabaseChoice {
namespace {
std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::string& ChosenSource() {
  static std::string source(ConnectionSettings::kDatabaseFileName);
  return source;
}
}  // namespace

std::optional<std::string> FromSettings(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const std::string_view l = Trim(line);
    if (l.empty() || l.front() == '#' || l.front() == ';') continue;
    const size_t eq = l.find('=');
    if (eq == std::string_view::npos || Trim(l.substr(0, eq)) != "database") continue;
    const std::string_view value = Trim(l.substr(eq + 1));
    if (!value.empty()) return std::string(value);
  }
  return std::nullopt;
}

std::string Choose(const std::optional<std::string>& fromCommandLine, const std::filesystem::path& workspace) {
  if (fromCommandLine && !fromCommandLine->empty()) return *fromCommandLine;
  if (const char* env = std::getenv(kEnvironmentVariable); env && *env) return env;
  std::ifstream file(workspace / kSettingsFile, std::ios::binary);
  if (file) {
    std::ostringstream text;
    text << file.rdbuf();
    if (auto value = FromSettings(text.str())) return *value;
  }
  return std::string(ConnectionSettings::kDatabaseFileName);
}

bool IsServer(const std::string& source) { return TPgEngine::IsServerUri(source); }

std::string WithoutPassword(const std::string& source) {
  const size_t scheme = source.find("://");
  if (scheme == std::string::npos) return source;
  // The user part ends at the last "@" before the path.
  const size_t path = source.find('/', scheme + 3);
  const size_t at = source.rfind('@', path == std::string::npos ? std::string::npos : path);
  const size_t colon = source.find(':', scheme + 3);
  if (at == std::string::npos || at < scheme + 3 || colon == std::string::npos || colon > at) return source;
  return source.substr(0, colon + 1) + "ПАРОЛЬ" + source.substr(at);
}

std::string ConnectionStringFor(const std::string& source) {
  // A value holding ";" is quoted, as the connection string's reader expects.
  const bool quote = source.find(';') != std::string::npos;
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (quote ? "\"" + source + "\"" : source) +
         ";Persist Security Info=False";
}

void SetChosen(std::string source) { ChosenSource() = std::move(source); }
const std::string& Chosen() { return ChosenSource(); }
}  // namespace DatabaseChoice
