#pragma once
// The memo bound to one column of the current row; behaves as TDBEdit does
// (typing starts editing, the text goes into the field before a post and when
// the focus leaves, a refused value keeps the focus).
#include <string>

#include "forms/Memo.h"
#include "forms/db/DBTextControl.h"

class TDBMemo : public TDBTextControl<TCustomMemo, true> {
public:
  using TDBTextControl::TDBTextControl;
  std::string ClassName() const override { return "TDBMemo"; }
};
