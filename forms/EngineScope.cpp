#include "forms/EngineScope.h"

#include <map>

#include "forms/DriverProperties.h"

namespace {
std::map<std::string, int>& StartCounts() {
  static std::map<std::string, int> counts;
  return counts;
}
}  // namespace

TEngineScope::TEngineScope(std::vector<TEnginePart> parts) {
  try {
    for (TEnginePart& part : parts) {
      int& count = StartCounts()[part.Name];
      // Whichever scope lets go of a part last stops it.
      if (count == 0 && part.Start) part.Start();
      ++count;
      Held_.push_back(std::move(part));
    }
  } catch (...) {
    LetGo();
    throw;
  }
}

TEngineScope::~TEngineScope() { LetGo(); }

void TEngineScope::LetGo() {
  for (auto it = Held_.rbegin(); it != Held_.rend(); ++it) {
    int& count = StartCounts()[it->Name];
    if (--count > 0) continue;
    StartCounts().erase(it->Name);
    if (it->Stop) it->Stop();
  }
  Held_.clear();
}

bool TEngineScope::Running(const std::string& name) {
  auto it = StartCounts().find(name);
  return it != StartCounts().end() && it->second > 0;
}

TEnginePart FormsEnginePart() {
  return {"forms", [] { RegisterFormsDriverProperties(); }, [] { TDriverProperties::Clear(); }};
}
