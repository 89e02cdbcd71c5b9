#pragma once
// One statement parameter: a name taken from its ":name" marker and a typed value.
#include <string>

#include "data/Variant.h"

class TParameter {
public:
  explicit TParameter(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }
  const Variant& Value() const { return value_; }
  void SetValue(Variant value) { value_ = std::move(value); }

private:
  std::string name_;
  Variant value_;
};
