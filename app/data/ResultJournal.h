#pragma once
// Results that could not be stored on the server yet, kept in a file of the
// user's data folder until they are sent. Each entry carries a key of its own;
// the server remembers the keys it has stored (tb_handins), so an entry sent
// twice (the reply of its commit lost, the program stopped before it forgot the
// entry) is stored once. The file is rewritten whole, flushed and renamed into
// place, so it is never half written; once nothing is kept it is removed.
#include <filesystem>
#include <string>
#include <vector>

struct TJournalEntry {
  std::string Key;    // 32 hex digits, random
  std::string Login;  // the current user as typed
  int Score = 0;
  std::string Token;  // what the server gave that login when it logged in
};

class TResultJournal {
public:
  explicit TResultJournal(std::filesystem::path file) : File_(std::move(file)) {}
  // $XDG_DATA_HOME/textbook-journal/results, else ~/.local/share/textbook-journal/…
  // (beside the user's own workspace folder, not in it)
  static std::filesystem::path DefaultPath();
  // A new entry with a fresh random key.
  static TJournalEntry NewEntry(std::string login, int score, std::string token);

  const std::filesystem::path& File() const { return File_; }
  // Entries in the order they were added; an unreadable line is skipped.
  std::vector<TJournalEntry> Entries() const;
  // Both raise std::runtime_error when the file cannot be written.
  void Add(const TJournalEntry& entry);
  void Remove(const std::string& key);

private:
  void Write(const std::vector<TJournalEntry>& entries) const;
  std::filesystem::path File_;
};
