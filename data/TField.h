#pragma once
// One column of an open dataset, read and written through the current row.
#include <string>

#include "data/Variant.h"

class TDataSet;

enum class TFieldType { ftString, ftInteger };

class TField {
public:
  TField(TDataSet& dataSet, std::string name) : DataSet_(dataSet), Name_(std::move(name)) {}

  const std::string& FieldName() const { return Name_; }
  TFieldType DataType() const { return Type_; }
  // True when the field's column compares letter case exactly; the table filter
  // and Locate then compare it exactly too, as the engine's `=` does.
  bool ComparesExactly() const { return Exact_; }
  int Index() const { return Index_; }
  TDataSet& DataSet() const { return DataSet_; }

  Variant Value() const;
  bool IsNull() const { return Value().IsNull(); }
  // The value as text; null reads as the empty text.
  std::string AsString() const;
  // A text column converts like StrToInt ("'x' is not a valid integer value");
  // a null integer reads as 0.
  int AsInteger() const;

  // Writing needs the dataset in edit or insert state.
  void SetValue(const Variant& value);
  // An integer column refuses text that is not an integer with
  // "'x' is not a valid integer value for field 'Name'"; the empty text stores null.
  void SetAsString(const std::string& text);
  void SetAsInteger(int value) { SetValue(Variant(value)); }
  void Clear() { SetValue(Variant()); }

private:
  friend class TDataSet;
  TDataSet& DataSet_;
  std::string Name_;
  TFieldType Type_ = TFieldType::ftString;
  bool Exact_ = false;
  int Index_ = -1;
};
