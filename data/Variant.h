#pragma once
// A small variant: the values that travel between the program and the engine.
#include <cstdint>
#include <string>
#include <string_view>

class Variant {
public:
  enum class Kind { Null, Text, Integer };

  Variant() = default;
  Variant(std::string text) : Kind_(Kind::Text), Text_(std::move(text)) {}
  Variant(const char* text) : Kind_(Kind::Text), Text_(text ? text : "") {}
  Variant(int value) : Kind_(Kind::Integer), Integer_(value) {}
  Variant(int64_t value) : Kind_(Kind::Integer), Integer_(value) {}
  // A copy owns its text, also when the original only borrows it (see Borrow).
  Variant(const Variant& other) { CopyFrom(other); }
  Variant& operator=(const Variant& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  Variant(Variant&& other) noexcept = default;
  Variant& operator=(Variant&& other) noexcept = default;
  ~Variant() = default;

  static Variant Null() { return Variant(); }

  Kind GetKind() const { return Kind_; }
  bool IsNull() const { return Kind_ == Kind::Null; }
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
  // Makes a null value (as a dataset's rows are made, in place) borrow the text.
  void Borrow(std::string_view text) {
    Kind_ = Kind::Text;
    Borrowed_ = text.data();
    Integer_ = static_cast<int64_t>(text.size());
  }
  std::string_view Text() const {
    return Borrowed_ ? std::string_view(Borrowed_, static_cast<size_t>(Integer_)) : std::string_view(Text_);
  }
  void CopyFrom(const Variant& other) {
    Kind_ = other.Kind_;
    if (other.Borrowed_) {
      Text_.assign(other.Borrowed_, static_cast<size_t>(other.Integer_));
      Integer_ = 0;
    } else {
      Text_ = other.Text_;
      Integer_ = other.Integer_;
    }
    Borrowed_ = nullptr;
  }

  Kind Kind_ = Kind::Null;
  std::string Text_;
  int64_t Integer_ = 0;                // the value; the borrowed text's length
  const char* Borrowed_ = nullptr;     // borrowed text, or null when Text_ holds it
};
