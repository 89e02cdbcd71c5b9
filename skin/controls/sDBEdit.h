#pragma once
// The skinned data-aware edit (the right answer's number in the test bank editor):
// the framework's data-aware edit with the edit subclass on its window for frame and
// colours from the section "EDIT"; the frame turns hot under the mouse when the
// section has a hot look.
#include <string>

#include "forms/db/DBEdit.h"
#include "skin/controls/acEditFamily.h"

class TsDBEdit : public TacEditFamily<TDBEdit> {
public:
  explicit TsDBEdit(TComponent* owner);
  std::string ClassName() const override { return "TsDBEdit"; }
  void WndProc(TMessage& message) override;
};

// Whether a section looks different when hot (colours, gradient, texture or border state).
bool SectionHasHotLook(const TsCommonData& skinData);
