#pragma once
// The skinned data-aware memo (question and answers of the test bank editor): the
// framework's data-aware memo with the edit subclass on its window for frame,
// scroll bars and colours from the section "EDIT".
#include <string>

#include "forms/db/DBMemo.h"
#include "skin/controls/acEditFamily.h"

class TsDBMemo : public TacEditFamily<TDBMemo> {
public:
  explicit TsDBMemo(TComponent* owner);
  std::string ClassName() const override { return "TsDBMemo"; }
  void WndProc(TMessage& message) override;
};
