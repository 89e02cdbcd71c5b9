#include "data/TADOConnection.h"

#include <filesystem>

#include "data/TPgEngine.h"
#include "data/TSqliteEngine.h"
#include "platform/base/Exception.h"
#include "platform/base/TextHelpers.h"

namespace {

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}
}  // namespace

TADOConnection::~TADOConnection() { Close(); }

void TADOConnection::SetConnectionString(std::string text) {
  if (Engine_) throw EDatabaseError("Operation is not allowed when the object is open.");
  ConnectionString_ = std::move(text);
}

std::string TADOConnection::ConnectionValue(std::string_view connectionString, std::string_view key) {
  size_t pos = 0;
  while (pos <= connectionString.size()) {
    // key=value pairs separated by ";"; a value may be quoted to hold ";".
    const size_t eq = connectionString.find('=', pos);
    if (eq == std::string_view::npos) break;
    const std::string_view name = TrimBlanks(connectionString.substr(pos, eq - pos));
    size_t valueStart = eq + 1;
    while (valueStart < connectionString.size() && connectionString[valueStart] == ' ') ++valueStart;
    std::string value;
    size_t next;
    if (valueStart < connectionString.size() && (connectionString[valueStart] == '"' || connectionString[valueStart] == '\'')) {
      const char quote = connectionString[valueStart];
      const size_t close = connectionString.find(quote, valueStart + 1);
      const size_t end = close == std::string_view::npos ? connectionString.size() : close;
      value = std::string(connectionString.substr(valueStart + 1, end - valueStart - 1));
      next = connectionString.find(';', end);
    } else {
      next = connectionString.find(';', valueStart);
      const size_t end = next == std::string_view::npos ? connectionString.size() : next;
      value = std::string(TrimBlanks(connectionString.substr(valueStart, end - valueStart)));
    }
    if (SameAscii(name, key)) return value;
    if (next == std::string_view::npos) break;
    pos = next + 1;
  }
  return {};
}

void TADOConnection::Open() {
  if (Engine_) return;
  const std::string source = ConnectionValue(ConnectionString_, "Data Source");
  if (source.empty()) throw EDatabaseError("Data source name not found and no default driver specified");
  if (TPgEngine::IsServerUri(source)) {
    Engine_ = std::make_unique<TPgEngine>(source, BusyTimeoutMs_);
    Engine_->SetOnReconnect(OnReconnect_);
    return;
  }
  std::error_code ec;
  std::filesystem::path path(source);
  if (path.is_relative()) path = std::filesystem::current_path(ec) / path;
  Engine_ = std::make_unique<TSqliteEngine>(path.lexically_normal().string(), BusyTimeoutMs_);
}

void TADOConnection::Close() { Engine_.reset(); }

void TADOConnection::SetOnReconnect(std::function<void()> handler) {
  OnReconnect_ = std::move(handler);
  if (Engine_) Engine_->SetOnReconnect(OnReconnect_);
}

void TADOConnection::SetBusyTimeout(int milliseconds) {
  BusyTimeoutMs_ = milliseconds < 0 ? 0 : milliseconds;
  if (Engine_) Engine_->SetBusyTimeout(BusyTimeoutMs_);
}

TDbEngine& TADOConnection::Engine() const {
  if (!Engine_) throw EDatabaseError("Operation is not allowed when the object is closed.");
  return *Engine_;
}

sqlite3* TADOConnection::Handle() const {
  auto* sqlite = dynamic_cast<TSqliteEngine*>(&Engine());
  if (!sqlite) throw EDatabaseError("Operation is not allowed when the object is closed.");
  return sqlite->Handle();
}

void TADOConnection::ExecuteDirect(const std::string& sql) { Engine().ExecuteDirect(sql); }

void TADOConnection::CreateDatabaseFile(const std::string& path) { TSqliteEngine::CreateFile(path); }
