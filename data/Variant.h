#pragma once
// A small variant: the values that travel between the program and the engine.
#include <cstdint>
#include <string>

class Variant {
public:
  enum class Kind { Null, Text, Integer };

  Variant() = default;
  Variant(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}
  Variant(const char* text) : kind_(Kind::Text), text_(text ? text : "") {}
  Variant(int value) : kind_(Kind::Integer), integer_(value) {}
  Variant(int64_t value) : kind_(Kind::Integer), integer_(value) {}

  static Variant Null() { return Variant(); }

  Kind GetKind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  // Conversions as the runtime does them; a failure raises EVariantError with its text.
  std::string AsString() const;
  int64_t AsInteger() const;
  // Text as a field shows it: null reads as the empty text.
  std::string ToText() const;
  // The runtime's name of the kind ("Null", "OleStr", "Int64").
  static const char* KindName(Kind kind);

  bool operator==(const Variant& other) const;

private:
  Kind kind_ = Kind::Null;
  std::string text_;
  int64_t integer_ = 0;
};
