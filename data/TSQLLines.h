#pragma once
// The statement text of a query as lines; every change tells the owner, which
// re-reads its parameters.
#include <functional>
#include <string>
#include <vector>

class TSQLLines {
public:
  void Add(std::string line);
  void Clear();
  void SetText(const std::string& text);  // split at line breaks
  // The lines joined by a line break.
  std::string Text() const;
  int Count() const { return static_cast<int>(Lines_.size()); }
  const std::string& operator[](int index) const { return Lines_.at(static_cast<size_t>(index)); }
  void SetOnChange(std::function<void()> onChange) { OnChange_ = std::move(onChange); }

private:
  void Changed() { if (OnChange_) OnChange_(); }
  std::vector<std::string> Lines_;
  std::function<void()> OnChange_;
};
