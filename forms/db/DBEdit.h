#pragma once
// The edit bound to one column of the current row. Typing puts the row into
// editing (typing is refused while the dataset cannot be edited or ReadOnly is
// set); the text goes into the field before the row is posted and when the
// focus leaves. A value the field refuses (text that is not an integer for an
// integer column: "'%s' is not a valid integer value for field '%s'") is
// reported in the error box and the focus comes back with the text selected.
#include <string>

#include "forms/CustomEdit.h"
#include "forms/db/DBTextControl.h"

class TDBEdit : public TDBTextControl<TCustomEdit, false> {
public:
  using TDBTextControl::TDBTextControl;
  std::string ClassName() const override { return "TDBEdit"; }
};
