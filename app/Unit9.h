#pragma once
// The about window: the textbook's picture and the credit of its author.
#include <string>

#include "forms/Form.h"
#include "forms/Forward.h"
#include "skin/controls/Forward.h"

class TForm9 : public TForm {
public:
  explicit TForm9(TComponent* owner);
  std::string ClassName() const override { return "TForm9"; }

  TImage* Image1;
  TsLabel* sLabel1;  // the credit, on a green bar
};

extern TForm9* Form9;
