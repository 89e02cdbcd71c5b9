#include "data/TField.h"

#include <limits>

#include "data/TDataSet.h"
#include "data/TextConvert.h"
#include "platform/base/Exception.h"

Variant TField::Value() const { return DataSet_.FieldValue(Index_); }

std::string TField::AsString() const {
  const Variant& value = DataSet_.FieldValue(Index_);
  return value.IsNull() ? std::string() : value.AsString();
}

int TField::AsInteger() const {
  const Variant& value = DataSet_.FieldValue(Index_);
  int64_t number = 0;
  if (value.GetKind() == Variant::Kind::Integer) {
    number = value.AsInteger();
  } else if (value.IsNull() && Type_ == TFieldType::ftInteger) {
    return 0;
  } else {
    number = StrToInt64(value.ToText());
  }
  if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
    throw EConvertError("'" + value.ToText() + "' is not a valid integer value");
  return static_cast<int>(number);
}

void TField::SetValue(const Variant& value) { DataSet_.SetFieldValue(Index_, value); }

void TField::SetAsString(const std::string& text) {
  if (Type_ != TFieldType::ftInteger) {
    SetValue(Variant(text));
    return;
  }
  if (text.empty()) {
    SetValue(Variant());
    return;
  }
  int64_t number = 0;
  if (!TryStrToInt64(text, number) || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
    throw EConvertError("'" + text + "' is not a valid integer value for field '" + Name_ + "'");
  SetValue(Variant(number));
}
