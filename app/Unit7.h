#pragma once
#include <string>

#include "app/AppControls.h"
#include "forms/Form.h"

class TForm7 : public TForm {
public:
  explicit TForm7(TComponent* owner);
  std::string ClassName() const override { return "TForm7"; }

  TsGroupBox* sGroupBox1;  // "Редактирование": the administrator's editing group
};

extern TForm7* Form7;
