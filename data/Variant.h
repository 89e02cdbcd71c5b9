#pragma once
// A small variant: the values that travel between the program and the engine.
#include <cstdint>
#include <string>
#include <string_view>

class Variant {
public:
  enum class Kind { Null, Text, Integer };

  Variant() = default;
  Variant(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}
  Variant(const char* text) : kind_(Kind::Text), text_(text ? text : "") {}
  Variant(int value) : kind_(Kind::Integer), integer_(value) {}
  Variant(int64_t value) : kind_(Kind::Integer), integer_(value) {}
  // A copy owns its text, also when the original only borrows it (see Borrowed).
  Variant(const Variant& other) { CopyFrom(other); }
  Variant& operator=(const Variant& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  Variant(Variant&& other) noexcept = default;
  Variant& operator=(Variant&& other) noexcept = default;
  ~Variant() = default;

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
  friend class TDataSet;
  // Text kept by the one who made the value (a dataset's rows keep theirs in
  // blocks of their own, not one allocation a value): it must outlive the value
  // and whatever moved from it; copies own their text.
  static Variant Borrowed(std::string_view text) {
    Variant v;
    v.kind_ = Kind::Text;
    v.borrowed_ = text.data();
    v.integer_ = static_cast<int64_t>(text.size());
    return v;
  }
  std::string_view Text() const {
    return borrowed_ ? std::string_view(borrowed_, static_cast<size_t>(integer_)) : std::string_view(text_);
  }
  void CopyFrom(const Variant& other) {
    kind_ = other.kind_;
    if (other.borrowed_) {
      text_.assign(other.borrowed_, static_cast<size_t>(other.integer_));
      integer_ = 0;
    } else {
      text_ = other.text_;
      integer_ = other.integer_;
    }
    borrowed_ = nullptr;
  }

  Kind kind_ = Kind::Null;
  std::string text_;
  int64_t integer_ = 0;                // the value; the borrowed text's length
  const char* borrowed_ = nullptr;     // borrowed text, or null when text_ holds it
};
