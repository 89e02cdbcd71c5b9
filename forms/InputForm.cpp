#include "forms/InputForm.h"

#include "forms/Button.h"
#include "forms/CustomEdit.h"
#include "forms/CustomLabel.h"
#include "forms/MessageForm.h"

TInputForm::TInputForm(TComponent* owner, const std::string& caption, const std::string& prompt,
                       const std::string& value)
    : TForm(owner) {
  SetName("InputBox");
  SetBorderStyle(bsDialog);
  SetBorderIcons({biSystemMenu});
  SetPosition(poMainFormCenter);
  SetCaption(caption);
  Font().SetName("Arial");
  Font().SetHeight(-13);
  SetClientSize(320, 112);

  Prompt = new TLabel(this);
  Prompt->SetName("Prompt");
  Prompt->SetParent(this);
  Prompt->SetBounds(12, 12, 296, 16);
  Prompt->SetCaption(prompt);

  Edit = new TEdit(this);
  Edit->SetName("Edit");
  Edit->SetParent(this);
  Edit->SetBounds(12, 34, 296, 23);
  Edit->SetText(value);

  OK = new TButton(this);
  OK->SetName("OK");
  OK->SetParent(this);
  OK->SetBounds(144, 75, 80, 25);
  OK->SetCaption(ButtonCaption(mbOK));
  OK->SetModalResult(mrOk);
  OK->SetDefault(true);

  Cancel = new TButton(this);
  Cancel->SetName("Cancel");
  Cancel->SetParent(this);
  Cancel->SetBounds(228, 75, 80, 25);
  Cancel->SetCaption(ButtonCaption(mbCancel));
  Cancel->SetModalResult(mrCancel);
  Cancel->SetCancel(true);
  SetActiveControl(Edit);
}
