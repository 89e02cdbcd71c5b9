#include "skin/core/sStoredSkin.h"

TsStoredSkin& TsStoredSkins::Add() {
  Items_.push_back(std::make_unique<TsStoredSkin>());
  return *Items_.back();
}

int TsStoredSkins::IndexOf(const std::string& name) const {
  for (std::size_t i = 0; i < Items_.size(); ++i)
    if (Items_[i]->Name == name) return static_cast<int>(i);
  return -1;
}

void TsStoredSkins::Delete(int index) {
  if (index >= 0 && index < Count()) Items_.erase(Items_.begin() + index);
}
