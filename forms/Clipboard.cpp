#include "forms/Clipboard.h"

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

std::string TClipboard::AsText() const { return ReadHook ? ReadHook() : Text_; }

void TClipboard::SetAsText(const std::string& text) {
  Text_ = text;
  if (WriteHook) WriteHook(text);
}
