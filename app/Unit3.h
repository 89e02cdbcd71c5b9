#pragma once
// The login window: checks a login and password against the accounts read when
// the window was created, sets the current user and reveals the main window.
#include <string>

#include "forms/Form.h"
#include "forms/Forward.h"
#include "forms/db/Forward.h"
#include "skin/controls/Forward.h"

class TForm3 : public TForm {
public:
  explicit TForm3(TComponent* owner);
  std::string ClassName() const override { return "TForm3"; }
  // The most characters either edit takes.
  static constexpr int kFieldLength = 31;

  TsPanel* sPanel1;
  TsLabel* sLabel1;  // "Введите пользователя"
  TsLabel* sLabel2;  // "Введите пароль"
  TEdit* UserName;
  TEdit* Password;
  TButton* OKButton;
  TButton* CancelButton;
  // Hidden: the logins and, row for row, their passwords.
  TDBListBox* DBListBox1;
  TDBListBox* DBListBox2;
  // Logins and passwords of every account, read with one statement so that each
  // login stays paired with its own row's password. On a server only the logins
  // are read: a student's role may not read passwords, and the password of the
  // first row with the typed login is checked by the server (tb_check_login).
  TADOQueryComponent* ADOQuery1;

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void OKButtonClick(TObject* sender);
  void CancelButtonClick(TObject* sender);

private:
  bool PasswordsOnServer() const;
  // The server's verdict for the first row with this login (ServerSchema outcomes).
  int CheckOnServer(const std::string& login, const std::string& password) const;
  // The token the server gives a login that passed the check.
  std::string TokenOnServer(const std::string& login, const std::string& password) const;
  int AccountCount_ = 0;
};

extern TForm3* Form3;
