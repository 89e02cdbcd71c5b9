#pragma once
// The results window: a grid over the results table. The test menu writes its
// statement (everyone's rows for the administrator, one user's rows otherwise)
// and decides whether the grid may be edited.
#include <string>

#include "forms/Form.h"
#include "forms/Forward.h"
#include "forms/db/Forward.h"
#include "skin/controls/Forward.h"

class TForm6 : public TForm {
public:
  explicit TForm6(TComponent* owner);
  std::string ClassName() const override { return "TForm6"; }

  TDBGrid* DBGrid1;
  TADOQueryComponent* ADOQuery1;
  TDataSourceComponent* DataSource1;
};

extern TForm6* Form6;
