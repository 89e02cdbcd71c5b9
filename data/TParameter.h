#pragma once
// One statement parameter: a name taken from its ":name" marker and a typed value.
#include <string>

#include "data/Variant.h"

class TParameter {
public:
  explicit TParameter(std::string name) : Name_(std::move(name)) {}
  const std::string& Name() const { return Name_; }
  const Variant& Value() const { return Value_; }
  void SetValue(Variant value) { Value_ = std::move(value); }

private:
  std::string Name_;
  Variant Value_;
};
