#pragma once
// The skinned lookup list (lectures, labs and videos of the materials browser): the
// framework's lookup list with the edit subclass on its window for frame, scroll bars
// and colours from the section "EDIT".
#include <string>

#include "forms/db/DBLookupListBox.h"
#include "skin/controls/acEditFamily.h"

class TsDBLookupListBox : public TacEditFamily<TDBLookupListBox> {
public:
  explicit TsDBLookupListBox(TComponent* owner);
  std::string ClassName() const override { return "TsDBLookupListBox"; }
  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;
  void BeforeRefresh(TMessage& message) override;
  bool RepaintsClient() const override { return true; }

private:
  // Color and Font.Color from the section's COLOR and FONTCOLOR (unless custom).
  void TakeSectionColors();
  // The list's own colours come back when the skin goes.
  void RestoreOwnColors();

  bool OwnColorsSaved_ = false;
  TColor OwnColor_ = clWindow;
  TColor OwnFontColor_ = clWindowText;
};
