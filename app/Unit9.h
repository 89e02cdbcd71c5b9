#pragma once
#include <string>

#include "forms/Form.h"

class TForm9 : public TForm {
public:
  explicit TForm9(TComponent* owner);
  std::string ClassName() const override { return "TForm9"; }
};

extern TForm9* Form9;
