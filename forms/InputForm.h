#pragma once
// The input box as an ordinary form (named "InputBox"): a prompt, an edit
// ("Edit") and the buttons "OK" and "Cancel".
#include "forms/Form.h"
#include "forms/Forward.h"

class TInputForm : public TForm {
public:
  TInputForm(TComponent* owner, const std::string& caption, const std::string& prompt, const std::string& value);
  std::string ClassName() const override { return "TInputForm"; }
  TLabel* Prompt = nullptr;
  TEdit* Edit = nullptr;
  TButton* OK = nullptr;
  TButton* Cancel = nullptr;
};
