#pragma once
// The parameters of a statement, one per marker, in the order the markers appear.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/TParameter.h"

class TParameters {
public:
  int Count() const { return static_cast<int>(Items_.size()); }
  TParameter& operator[](int index) { return *Items_.at(static_cast<size_t>(index)); }
  const TParameter& operator[](int index) const { return *Items_.at(static_cast<size_t>(index)); }
  // The first parameter of that name (letter case ignored); raises EDatabaseError if none.
  TParameter& ParamByName(std::string_view name);
  TParameter* FindParam(std::string_view name);
  void Clear() { Items_.clear(); }
  // Rebuilds the list from marker names, keeping the values of names seen before.
  void Rebuild(const std::vector<std::string>& names);

private:
  std::vector<std::unique_ptr<TParameter>> Items_;
};
