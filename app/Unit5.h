#pragma once
#include <string>

#include "forms/Form.h"

class TForm5 : public TForm {
public:
  explicit TForm5(TComponent* owner);
  std::string ClassName() const override { return "TForm5"; }
};

extern TForm5* Form5;
