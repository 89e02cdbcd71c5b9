#pragma once
// The main window: owns the database connection, holds the current user in
// sPanel1 and opens every other window from its navigation strip.
#include <string>

#include "forms/Form.h"
#include "forms/Forward.h"
#include "forms/db/Forward.h"
#include "skin/controls/Forward.h"
#include "skin/runtime/Forward.h"

class TForm1 : public TForm {
public:
  explicit TForm1(TComponent* owner);
  std::string ClassName() const override { return "TForm1"; }

  // The one connection every dataset of every window uses.
  TADOConnectionComponent* ADOConnection1;
  // The skin manager: the internal skin "Lumen (внутренний)" as its stored skin.
  TsSkinManager* sSkinManager1;

  TImage* Image1;              // the background picture
  TsPanel* sPanel4;            // the navigation strip
  TsPanel* sPanel1;            // the current user (its caption)
  TsSpeedButton* sSpeedButton1;  // "Уроки": lectures
  TsSpeedButton* sSpeedButton3;  // "Видео": videos
  TsSpeedButton* sSpeedButton4;  // "Тесты": the test menu
  TsSpeedButton* sSpeedButton2;  // "Дополнительно" (caption "Практика"): labs
  TsSpeedButton* sSpeedButton5;  // "Учетные записи": the administrator's button
  TsSpeedButton* sSpeedButton7;  // "О программе"
  TsSpeedButton* sSpeedButton6;  // "Справка": never shown
  TsPanel* sPanel3;            // "Результат" and "Редактировать": never shown
  TsSpeedButton* sSpeedButton8;
  TsSpeedButton* sSpeedButton9;

  // The current user's login as typed at the login window.
  std::string CurrentUser() const;
  // The administrator: the login "Admin", letter case significant.
  bool IsAdministrator() const;
  // On a server: what it gave the current user at login; results go with it.
  std::string HandInToken;

  void FormShow(TObject* sender);
  void sSpeedButton1Click(TObject* sender);
  void sSpeedButton2Click(TObject* sender);
  void sSpeedButton3Click(TObject* sender);
  void sSpeedButton4Click(TObject* sender);
  void sSpeedButton5Click(TObject* sender);
  void sSpeedButton7Click(TObject* sender);

protected:
  void ShowingChanged() override;
};

extern TForm1* Form1;
