#pragma once
// User administration: the accounts in a read-only grid, search and filter by
// login, adding and deleting accounts, changing the administrator's password.
#include <string>

#include "forms/Form.h"
#include "forms/Forward.h"
#include "forms/db/Forward.h"
#include "skin/controls/Forward.h"

class TForm5 : public TForm {
public:
  explicit TForm5(TComponent* owner);
  std::string ClassName() const override { return "TForm5"; }

  TADOTableComponent* ADOTable1;    // the whole users table, as the grid shows it
  TDataSourceComponent* DataSource1;
  TADOQueryComponent* ADOQuery1;    // inserts and deletes
  TDBGrid* DBGrid1;

  TsGroupBox* sGroupBox1;  // "Поиск"
  TsLabel* sLabel1;
  TsEdit* sEdit1;
  TsCheckBox* sCheckBox1;  // "Фильтрация"
  TsButton* sButton1;      // "Поиск"
  TsGroupBox* sGroupBox2;  // "Пароль администратора"
  TsLabel* sLabel2;
  TsEdit* sEdit5;          // old password
  TsLabel* sLabel3;
  TsEdit* sEdit6;          // new password
  TsBitBtn* sBitBtn3;      // "OK": change the password

  TsSpeedButton* sSpeedButton1;  // "Добавить" mode
  TsSpeedButton* sSpeedButton2;  // "Удалить" mode
  TsLabel* sLabel4;        // "Пользователь"
  TsEdit* sEdit2;          // login
  TsLabel* sLabel5;        // "Пароль"
  TsEdit* sEdit3;          // password
  TsLabel* sLabel6;        // "Группа"
  TsEdit* sEdit4;          // group
  TsBitBtn* sBitBtn1;      // "Добавить"
  TsBitBtn* sBitBtn2;      // "Удалить"

  void sSpeedButton1Click(TObject* sender);
  void sSpeedButton2Click(TObject* sender);
  void sBitBtn1Click(TObject* sender);
  void sBitBtn2Click(TObject* sender);
  void sBitBtn3Click(TObject* sender);
  void sButton1Click(TObject* sender);

private:
  // Runs the delete of an account on the command dataset; returns the rows deleted.
  int DeleteAccount(const std::string& login, const std::string& password);
  // The rows whose login and password equal these exactly, letter case included.
  int ExactAccounts(const std::string& login, const std::string& password);
  // True for "Admin", and for any login the users table takes for it (a file whose
  // logins still compare without regard to letter case).
  bool NamesAdministrator(const std::string& login) const;
  void AddAccount(const std::string& login, const std::string& password, const std::string& group);
  void ReopenTable();
};

extern TForm5* Form5;
