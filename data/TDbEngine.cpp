#include "data/TDbEngine.h"

std::string QuoteSqlName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

namespace {
std::function<void()>& WaitHandler() {
  static std::function<void()> handler;
  return handler;
}
}  // namespace

void TDbEngine::SetWaitHandler(std::function<void()> handler) { WaitHandler() = std::move(handler); }

void TDbEngine::WhileWaiting() {
  if (!WaitHandler()) return;
  try {
    WaitHandler()();
  } catch (...) {
  }
}
