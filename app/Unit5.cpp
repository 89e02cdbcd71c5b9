#include "app/Unit5.h"

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "app/data/Statements.h"
#include "data/TextCollation.h"
#include "forms/Dialogs.h"
#include "forms/db/DBComponents.h"
#include "forms/db/DBGrid.h"

TForm5* Form5 = nullptr;

namespace {
constexpr int kBand = 249;  // height of the upper band
constexpr const char* kPasswordTooLong =
    "Пароль администратора не может быть длиннее 31 символа: окно входа не примет более длинный пароль.";
static_assert(TForm3::kFieldLength == 31, "the message names the login window's limit");
constexpr const char* kOtherAccountsTaken =
    "Пароль не изменён: в этом файле базы данных логины сравниваются без учета регистра букв, и вместе с "
    "администратором была бы удалена другая учетная запись. Обновите файл (make-workspace ПАПКА --upgrade).";

void BoldArial(TFont& font, int pixels) {
  font.SetName("Arial");
  font.SetHeight(-pixels);
  font.SetStyle({fsBold});
}

// The administrator's password change is two statements; the connection runs them
// as one unit so that a failed insert cannot leave the table without the account.
class TTransaction {
public:
  explicit TTransaction(TADOConnection& connection) : Connection_(connection) { Connection_.ExecuteDirect("begin"); }
  ~TTransaction() {
    if (Open_) {
      try {
        Connection_.ExecuteDirect("rollback");
      } catch (...) {
      }
    }
  }
  void Commit() {
    Connection_.ExecuteDirect("commit");
    Open_ = false;
  }
  void Rollback() {
    Open_ = false;
    Connection_.ExecuteDirect("rollback");
  }

private:
  TADOConnection& Connection_;
  bool Open_ = true;
};
}  // namespace

TForm5::TForm5(TComponent* owner) : TForm(owner) {
  SetName("Form5");
  SetCaption("Пользователи");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(783, 408);
  Font().SetName("Arial");
  Font().SetHeight(-13);

  ADOTable1 = MakeComponent<TADOTableComponent>(this, "ADOTable1");
  ADOTable1->SetConnection(Form1->ADOConnection1);
  ADOTable1->SetTableName(std::string(Statements::kUsersTable));
  DataSource1 = MakeComponent<TDataSourceComponent>(this, "DataSource1");
  DataSource1->SetDataSet(ADOTable1);
  ADOQuery1 = MakeComponent<TADOQueryComponent>(this, "ADOQuery1");
  ADOQuery1->SetConnection(Form1->ADOConnection1);

  DBGrid1 = MakeControl<TDBGrid>(this, this, "DBGrid1", 0, 0, 320, kBand);
  DBGrid1->SetReadOnly(true);
  DBGrid1->SetDataSource(DataSource1);

  sGroupBox1 = MakeControl<TsGroupBox>(this, this, "sGroupBox1", 320, 0, 216, kBand);
  sGroupBox1->SetCaption("Поиск");
  sLabel1 = MakeControl<TsLabel>(this, sGroupBox1, "sLabel1", 14, 30, 188, 20);
  sLabel1->SetCaption("Пользователь");
  sEdit1 = MakeControl<TsEdit>(this, sGroupBox1, "sEdit1", 14, 54, 188, 28);
  sCheckBox1 = MakeControl<TsCheckBox>(this, sGroupBox1, "sCheckBox1", 14, 98, 188, 22);
  sCheckBox1->SetCaption("Фильтрация");
  sButton1 = MakeControl<TsButton>(this, sGroupBox1, "sButton1", 14, 186, 188, 40);
  sButton1->SetCaption("Поиск");

  sGroupBox2 = MakeControl<TsGroupBox>(this, this, "sGroupBox2", 535, 0, 248, kBand);
  sGroupBox2->SetCaption("Пароль администратора");
  sLabel2 = MakeControl<TsLabel>(this, sGroupBox2, "sLabel2", 14, 30, 220, 20);
  sLabel2->SetCaption("Старый пароль");
  sEdit5 = MakeControl<TsEdit>(this, sGroupBox2, "sEdit5", 14, 54, 220, 28);
  sLabel3 = MakeControl<TsLabel>(this, sGroupBox2, "sLabel3", 14, 98, 220, 20);
  sLabel3->SetCaption("Новый пароль");
  sEdit6 = MakeControl<TsEdit>(this, sGroupBox2, "sEdit6", 14, 122, 220, 28);
  // Made before sBitBtn1: Enter in any edit presses the first default button.
  sBitBtn3 = MakeControl<TsBitBtn>(this, sGroupBox2, "sBitBtn3", 14, 186, 220, 40);
  sBitBtn3->SetKind(bkOK);
  sBitBtn3->SetModalResult(mrNone);

  sSpeedButton1 = MakeControl<TsSpeedButton>(this, this, "sSpeedButton1", 16, kBand + 20, 145, 49);
  sSpeedButton1->SetCaption("Добавить");
  sSpeedButton2 = MakeControl<TsSpeedButton>(this, this, "sSpeedButton2", 16, kBand + 87, 145, 49);
  sSpeedButton2->SetCaption("Удалить");
  for (TsSpeedButton* b : {sSpeedButton1, sSpeedButton2}) {
    b->SetGroupIndex(1);
    BoldArial(b->Font(), 19);
  }
  sSpeedButton1->SetDown(true);

  auto row = [this](const char* labelName, const char* caption, const char* editName, int top, TsLabel*& label,
                    TsEdit*& edit) {
    label = MakeControl<TsLabel>(this, this, labelName, 190, top + 5, 130, 22);
    label->SetCaption(caption);
    BoldArial(label->Font(), 16);
    edit = MakeControl<TsEdit>(this, this, editName, 330, top, 250, 30);
    label->SetFocusControl(edit);
  };
  row("sLabel4", "Пользователь", "sEdit2", kBand + 18, sLabel4, sEdit2);
  row("sLabel5", "Пароль", "sEdit3", kBand + 62, sLabel5, sEdit3);
  row("sLabel6", "Группа", "sEdit4", kBand + 106, sLabel6, sEdit4);
  for (TsEdit* e : {sEdit1, sEdit2, sEdit3, sEdit4, sEdit5, sEdit6}) BoldArial(e->Font(), 16);

  sBitBtn1 = MakeControl<TsBitBtn>(this, this, "sBitBtn1", 610, kBand + 52, 150, 49);
  sBitBtn1->SetCaption("Добавить");
  sBitBtn1->SetKind(bkOK);
  sBitBtn1->SetModalResult(mrNone);
  sBitBtn2 = MakeControl<TsBitBtn>(this, this, "sBitBtn2", 610, kBand + 52, 150, 49);
  sBitBtn2->SetCaption("Удалить");
  sBitBtn2->SetKind(bkCancel);
  sBitBtn2->SetModalResult(mrNone);
  sBitBtn2->SetVisible(false);
  for (TsBitBtn* b : {sBitBtn1, sBitBtn2, sBitBtn3}) BoldArial(b->Font(), 16);

  sSpeedButton1->OnClick = [this](TObject* s) { sSpeedButton1Click(s); };
  sSpeedButton2->OnClick = [this](TObject* s) { sSpeedButton2Click(s); };
  sBitBtn1->OnClick = [this](TObject* s) { sBitBtn1Click(s); };
  sBitBtn2->OnClick = [this](TObject* s) { sBitBtn2Click(s); };
  sBitBtn3->OnClick = [this](TObject* s) { sBitBtn3Click(s); };
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };

  ADOTable1->Open();
  // The three columns share the grid's width.
  DBGrid1->SetColumnWidth(0, 104);
  DBGrid1->SetColumnWidth(1, 96);
  DBGrid1->SetColumnWidth(2, 86);
}

void TForm5::sSpeedButton1Click(TObject*) {
  sLabel6->SetVisible(true);
  sEdit4->SetVisible(true);
  sBitBtn1->SetVisible(true);
  sBitBtn2->SetVisible(false);
}

void TForm5::sSpeedButton2Click(TObject*) {
  sLabel6->SetVisible(false);
  sEdit4->SetVisible(false);
  sBitBtn1->SetVisible(false);
  sBitBtn2->SetVisible(true);
}

void TForm5::ReopenTable() {
  ADOTable1->Close();
  ADOTable1->Open();
  // The three columns share the grid's width.
  DBGrid1->SetColumnWidth(0, 104);
  DBGrid1->SetColumnWidth(1, 96);
  DBGrid1->SetColumnWidth(2, 86);
}

void TForm5::AddAccount(const std::string& login, const std::string& password, const std::string& group) {
  LoadStatement(*ADOQuery1, Statements::kAddUser);
  ADOQuery1->ParamByName("a1").SetValue(login);
  ADOQuery1->ParamByName("a2").SetValue(password);
  ADOQuery1->ParamByName("a3").SetValue(group);
  ADOQuery1->ExecSQL();
}

int TForm5::DeleteAccount(const std::string& login, const std::string& password) {
  LoadStatement(*ADOQuery1, Statements::kDeleteUser);
  ADOQuery1->ParamByName("a1").SetValue(login);
  ADOQuery1->ParamByName("a2").SetValue(password);
  return ADOQuery1->ExecSQL();
}

void TForm5::sBitBtn1Click(TObject*) {
  if (sEdit2->Text().empty() || sEdit3->Text().empty()) return;
  AddAccount(sEdit2->Text(), sEdit3->Text(), sEdit4->Text());
  ReopenTable();
  sEdit2->SetText("");
  sEdit3->SetText("");
  sEdit4->SetText("");
}

int TForm5::ExactAccounts(const std::string& login, const std::string& password) {
  LoadStatement(*ADOQuery1, Statements::kSelectAccounts);
  ADOQuery1->Open();
  int count = 0;
  for (ADOQuery1->First(); !ADOQuery1->Eof(); ADOQuery1->Next())
    count += ADOQuery1->Fields(0).AsString() == login && ADOQuery1->Fields(1).AsString() == password;
  ADOQuery1->Close();
  return count;
}

bool TForm5::NamesAdministrator(const std::string& login) const {
  if (login == Statements::kAdminLogin) return true;
  const TField* column = ADOTable1->FindField("Логин");
  return !(column && column->ComparesExactly()) && SameFoldedText(login, Statements::kAdminLogin);
}

void TForm5::sBitBtn2Click(TObject*) {
  if (NamesAdministrator(sEdit2->Text())) {
    ShowMessage("Нельзя удалить Администратора");
    return;
  }
  if (sEdit2->Text().empty() || sEdit3->Text().empty()) return;
  DeleteAccount(sEdit2->Text(), sEdit3->Text());
  ReopenTable();
  sEdit2->SetText("");
  sEdit3->SetText("");
}

void TForm5::sBitBtn3Click(TObject*) {
  if (sEdit5->Text().empty() || sEdit6->Text().empty()) return;
  // A longer password could never be typed into the login window.
  if (sEdit6->TextLength() > TForm3::kFieldLength) {
    ShowMessage(kPasswordTooLong);
    return;
  }
  {
    TTransaction transaction(*Form1->ADOConnection1);
    const int administrators = ExactAccounts(std::string(Statements::kAdminLogin), sEdit5->Text());
    // No administrator row with that password: nothing changes and nothing is said.
    const int deleted = DeleteAccount(std::string(Statements::kAdminLogin), sEdit5->Text());
    if (deleted == 0) return;
    // A file that could not be upgraded may still compare logins without regard
    // to case: the delete then took another account too, so nothing is changed.
    if (deleted != administrators) {
      transaction.Rollback();
      ShowMessage(kOtherAccountsTaken);
      return;
    }
    try {
      AddAccount(std::string(Statements::kAdminLogin), sEdit6->Text(), "");
      transaction.Commit();
    } catch (...) {
      // The old row is back; the grid shows it, and the error reaches the user.
      transaction.Rollback();
      ReopenTable();
      throw;
    }
  }
  ReopenTable();
  sEdit5->SetText("");
  sEdit6->SetText("");
}

void TForm5::sButton1Click(TObject*) {
  if (sCheckBox1->Checked()) {
    ADOTable1->SetFilter(Statements::UsersFilter(sEdit1->Text()));
    ADOTable1->SetFiltered(true);
  } else {
    ADOTable1->SetFiltered(false);
    ADOTable1->Locate("Логин", Variant(sEdit1->Text()));
  }
}
