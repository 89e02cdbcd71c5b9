#include "data/TSQLLines.h"

void TSQLLines::Add(std::string line) {
  Lines_.push_back(std::move(line));
  Changed();
}

void TSQLLines::Clear() {
  Lines_.clear();
  Changed();
}

void TSQLLines::SetText(const std::string& text) {
  Lines_.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (end < text.size() || !line.empty()) Lines_.push_back(std::move(line));
    start = end + 1;
  }
  Changed();
}

std::string TSQLLines::Text() const {
  std::string out;
  for (size_t i = 0; i < Lines_.size(); ++i) {
    if (i) out += "\r\n";
    out += Lines_[i];
  }
  return out;
}
