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
  switch (Kind_) {
    case Kind::Null: CannotConvert(Kind_, "OleStr");
    case Kind::Text: return std::string(Text());
    case Kind::Integer: return std::to_string(Integer_);
  }
  return {};
}

int64_t Variant::AsInteger() const {
  switch (Kind_) {
    case Kind::Null: CannotConvert(Kind_, "Int64");
    case Kind::Text: {
      int64_t value = 0;
      if (!TryStrToInt64(Text(), value)) CannotConvert(Kind_, "Int64");
      return value;
    }
    case Kind::Integer: return Integer_;
  }
  return 0;
}

std::string Variant::ToText() const { return Kind_ == Kind::Null ? std::string() : AsString(); }

bool Variant::operator==(const Variant& other) const {
  if (Kind_ != other.Kind_) return false;
  switch (Kind_) {
    case Kind::Null: return true;
    case Kind::Text: return Text() == other.Text();
    case Kind::Integer: return Integer_ == other.Integer_;
  }
  return false;
}
