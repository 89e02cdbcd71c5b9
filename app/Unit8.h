#pragma once
// The test menu: take a test, view results, and (the administrator only) edit
// the question bank. It keeps its own copy of the current user.
#include <string>

#include "forms/Form.h"
#include "forms/Forward.h"
#include "skin/controls/Forward.h"

class TForm8 : public TForm {
public:
  explicit TForm8(TComponent* owner);
  std::string ClassName() const override { return "TForm8"; }

  TsPanel* sPanel2;              // fills the window
  TsSpeedButton* sSpeedButton1;  // "Тестирование"
  TsSpeedButton* sSpeedButton2;  // "Просмотр результатов"
  TsSpeedButton* sSpeedButton3;  // "Редактирование тестов": the administrator's
  TsPanel* sPanel1;              // the current user

  // Runs when the menu is created and every time it is shown.
  void FormShow(TObject* sender);
  void sSpeedButton1Click(TObject* sender);
  void sSpeedButton2Click(TObject* sender);
  void sSpeedButton3Click(TObject* sender);

  // The menu's copy of the current user is the administrator ("Admin", case significant).
  bool IsAdministrator() const;
};

extern TForm8* Form8;
