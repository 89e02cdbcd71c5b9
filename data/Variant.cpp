#include "data/Variant.h"

#include "data/TextConvert.h"
#include "platform/base/Exception.h"

namespace {
[[noreturn]] void CannotConvert(Variant::Kind from, const char* to) {
  throw EVariantError(std::string("Could not convert variant of type (") + Variant::KindName(from) +
                      ") into type (" + to + ")");
}
}  // namespace

const char* Variant::KindName(Kind kind) {
  switch (kind) {
    case Kind::Null: return "Null";
    case Kind::Text: return "OleStr";
    case Kind::Integer: return "Int64";
  }
  return "Unknown";
}

std::string Variant::AsString() const {
  switch (kind_) {
    case Kind::Null: CannotConvert(kind_, "OleStr");
    case Kind::Text: return std::string(Text());
    case Kind::Integer: return std::to_string(integer_);
  }
  return {};
}

int64_t Variant::AsInteger() const {
  switch (kind_) {
    case Kind::Null: CannotConvert(kind_, "Int64");
    case Kind::Text: {
      int64_t value = 0;
      if (!TryStrToInt64(Text(), value)) CannotConvert(kind_, "Int64");
      return value;
    }
    case Kind::Integer: return integer_;
  }
  return 0;
}

std::string Variant::ToText() const { return kind_ == Kind::Null ? std::string() : AsString(); }

bool Variant::operator==(const Variant& other) const {
  if (kind_ != other.kind_) return false;
  switch (kind_) {
    case Kind::Null: return true;
    case Kind::Text: return Text() == other.Text();
    case Kind::Integer: return integer_ == other.integer_;
  }
  return false;
}
