#pragma once
// The message box as an ordinary form (named "MessageBox"): an icon for the
// kind of message, the text, and a row of buttons named after their results
// ("OK", "Cancel", "Yes", "No", ...).
#include "forms/Dialogs.h"
#include "forms/Forward.h"
#include "forms/GraphicControl.h"

// The icon of a message kind, drawn by our code (32 x 32).
class TMessageIcon : public TGraphicControl {
public:
  TMessageIcon(TComponent* owner, TMsgDlgType type);
  std::string ClassName() const override { return "TMessageIcon"; }
  TMsgDlgType Kind() const { return Kind_; }

protected:
  void Paint() override;

private:
  TMsgDlgType Kind_;
};

class TMessageForm : public TForm {
public:
  TMessageForm(TComponent* owner, const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
  std::string ClassName() const override { return "TMessageForm"; }
  TLabel* Message = nullptr;
  TMessageIcon* Image = nullptr;
};

// Captions of the dialogs' buttons.
std::string ButtonCaption(TMsgDlgBtn button);
