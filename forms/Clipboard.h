#pragma once
// The program's clipboard: text only. The display backend may mirror it to the
// desktop's clipboard through the hooks.
#include <functional>
#include <string>

class TClipboard {
public:
  std::string AsText() const;
  void SetAsText(const std::string& text);
  bool HasText() const { return !AsText().empty(); }

  // A backend that reaches a real clipboard installs these.
  std::function<std::string()> ReadHook;
  std::function<void(const std::string&)> WriteHook;

private:
  std::string Text_;
};

TClipboard& Clipboard();
