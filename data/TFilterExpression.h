#pragma once
// The filter of a table dataset: comparisons of fields with literals joined by
// AND, OR, NOT and parentheses, for example "Логин = 'O''Brien'". Text compares
// the same way as the engine's `=` and `Like`: letter case ignored, except that a
// comparison with a field whose column compares exactly is exact.
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/Variant.h"

class TFilterExpression {
public:
  // Resolves a field name to its column index, or -1 when there is no such field.
  using FieldResolver = std::function<int(std::string_view)>;
  // True when the column of that index compares letter case exactly.
  using ExactResolver = std::function<bool(int)>;

  // Raises EDatabaseError on a malformed expression or an unknown field.
  TFilterExpression(std::string_view text, const FieldResolver& resolve, const ExactResolver& exact = {});
  ~TFilterExpression();
  TFilterExpression(TFilterExpression&&) noexcept;
  TFilterExpression& operator=(TFilterExpression&&) noexcept;

  bool Matches(std::span<const Variant> row) const;

  struct Node;

private:
  std::unique_ptr<Node> Root_;
};
