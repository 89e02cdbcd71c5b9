#include "app/data/ResultJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace {
// Logins may hold tabs and line breaks: they are stored as hex.
std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

bool FromHex(const std::string& hex, std::string& out) {
  if (hex.size() % 2) return false;
  out.clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    int value = 0;
    for (size_t k = i; k < i + 2; ++k) {
      const char c = hex[k];
      const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (d < 0) return false;
      value = value * 16 + d;
    }
    out += static_cast<char>(value);
  }
  return true;
}
}  // namespace

std::filesystem::path TResultJournal::DefaultPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::filesystem::path base;
  if (data && *data) base = data;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::filesystem::path(home) / ".local" / "share";
  else base = std::filesystem::temp_directory_path();
  return base / "textbook-journal" / "results";
}

TJournalEntry TResultJournal::NewEntry(std::string login, int score, std::string token) {
  std::random_device device;
  std::string key;
  static const char* digits = "0123456789abcdef";
  for (int i = 0; i < 32; ++i) key += digits[device() & 15];
  return {key, std::move(login), score, std::move(token)};
}

std::vector<TJournalEntry> TResultJournal::Entries() const {
  std::vector<TJournalEntry> out;
  std::ifstream in(File_, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    // "KEY SCORE LOGIN-HEX TOKEN-HEX" (a part empty for an empty value); lines
    // written before results carried a token end after the login and are kept
    // with an empty one rather than dropped.
    const size_t a = line.find(' ');
    const size_t b = a == std::string::npos ? a : line.find(' ', a + 1);
    if (b == std::string::npos) continue;
    size_t c = line.find(' ', b + 1);
    if (c == std::string::npos) c = line.size();
    TJournalEntry entry;
    entry.Key = line.substr(0, a);
    const std::string score = line.substr(a + 1, b - a - 1);
    if (entry.Key.size() != 32 || score.empty() || score.size() > 3 ||
        score.find_first_not_of("0123456789") != std::string::npos ||
        !FromHex(line.substr(b + 1, c - b - 1), entry.Login) ||
        !FromHex(c < line.size() ? line.substr(c + 1) : std::string(), entry.Token))
      continue;
    entry.Score = std::stoi(score);
    out.push_back(std::move(entry));
  }
  return out;
}

void TResultJournal::Write(const std::vector<TJournalEntry>& entries) const {
  const std::filesystem::path partial = File_.string() + ".partial";
  std::error_code made;
  std::filesystem::create_directories(File_.parent_path(), made);
  std::string text;
  for (const TJournalEntry& e : entries)
    text += e.Key + " " + std::to_string(e.Score) + " " + Hex(e.Login) + " " + Hex(e.Token) + "\n";
  const int fd = made ? -1 : ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
  if (fd >= 0) ok = ::close(fd) == 0 && ok;
  std::error_code ec;
  if (ok) std::filesystem::rename(partial, File_, ec);
  if (!ok || ec) throw std::runtime_error("не удалось записать журнал результатов " + File_.string());
}

void TResultJournal::Add(const TJournalEntry& entry) {
  std::vector<TJournalEntry> entries = Entries();
  entries.push_back(entry);
  Write(entries);
}

void TResultJournal::Remove(const std::string& key) {
  std::vector<TJournalEntry> entries = Entries();
  std::erase_if(entries, [&](const TJournalEntry& e) { return e.Key == key; });
  if (entries.empty()) {
    // The usual end of a hand-in: the file goes, without waiting for the disk.
    // Should a crash undo that, the entry is sent again and the server, which
    // knows its key, stores nothing.
    std::error_code ec;
    std::filesystem::remove(File_, ec);
    if (ec) throw std::runtime_error("не удалось записать журнал результатов " + File_.string());
    return;
  }
  Write(entries);
}
