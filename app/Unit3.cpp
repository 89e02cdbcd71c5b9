#include "app/Unit3.h"

#include <algorithm>

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/data/ResultStore.h"
#include "app/data/ServerSchema.h"
#include "app/data/Statements.h"
#include "forms/Application.h"
#include "forms/Dialogs.h"
#include "forms/db/DBComponents.h"

TForm3* Form3 = nullptr;

namespace {
constexpr const char* kNoSuchAccount = "Данная учетная запись не существует";
constexpr const char* kWrongPassword = "Не верен Логин или Пароль!";

void StyleLabel(TsLabel* label) {
  label->Font().SetName("Arial");
  label->Font().SetHeight(-16);
  label->Font().SetStyle({fsBold});
}
}  // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner) {
  SetName("Form3");
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  SetPosition(poScreenCenter);
  SetClientSize(395, 109);
  Font().SetName("Arial");
  Font().SetHeight(-16);

  sPanel1 = MakeControl<TsPanel>(this, this, "sPanel1", 0, 0, 395, 109);
  sPanel1->SetAlign(alClient);
  sLabel1 = MakeControl<TsLabel>(this, sPanel1, "sLabel1", 14, 22, 190, 20);
  sLabel1->SetCaption("Введите пользователя");
  StyleLabel(sLabel1);
  UserName = MakeControl<TEdit>(this, sPanel1, "UserName", 214, 18, 167, 26);
  UserName->SetMaxLength(kFieldLength);
  sLabel1->SetFocusControl(UserName);
  sLabel2 = MakeControl<TsLabel>(this, sPanel1, "sLabel2", 14, 66, 190, 20);
  sLabel2->SetCaption("Введите пароль");
  StyleLabel(sLabel2);
  Password = MakeControl<TEdit>(this, sPanel1, "Password", 214, 62, 167, 26);
  Password->SetMaxLength(kFieldLength);
  Password->SetPasswordChar('*');
  sLabel2->SetFocusControl(Password);

  // Below the visible area: Enter and Esc reach them as the default and cancel buttons.
  OKButton = MakeControl<TButton>(this, this, "OKButton", 96, 124, 89, 27);
  OKButton->SetCaption("&OK");
  OKButton->SetDefault(true);
  CancelButton = MakeControl<TButton>(this, this, "CancelButton", 210, 124, 89, 27);
  CancelButton->SetCaption("&Отмена");
  CancelButton->SetCancel(true);

  DBListBox1 = MakeControl<TDBListBox>(this, this, "DBListBox1", 0, 160, 120, 60);
  DBListBox1->SetVisible(false);
  DBListBox2 = MakeControl<TDBListBox>(this, this, "DBListBox2", 130, 160, 120, 60);
  DBListBox2->SetVisible(false);

  ADOQuery1 = MakeComponent<TADOQueryComponent>(this, "ADOQuery1");
  ADOQuery1->SetConnection(Form1->ADOConnection1);
  LoadStatement(*ADOQuery1, PasswordsOnServer() ? Statements::kSelectLogins : Statements::kSelectAccounts);
  ADOQuery1->Open();

  OKButton->OnClick = [this](TObject* s) { OKButtonClick(s); };
  CancelButton->OnClick = [this](TObject* s) { CancelButtonClick(s); };
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  SetActiveControl(UserName);
}

void TForm3::FormCreate(TObject*) {
  DBListBox1->Items().Clear();
  DBListBox2->Items().Clear();
  ADOQuery1->Close();
  ADOQuery1->Open();
  AccountCount_ = ADOQuery1->RecordCount();
  // One row gives both lists their entry, so entry i of each belongs to one account.
  for (ADOQuery1->First(); !ADOQuery1->Eof(); ADOQuery1->Next()) {
    DBListBox1->Items().Add(ADOQuery1->Fields(0).AsString());
    if (ADOQuery1->FieldCount() > 1) DBListBox2->Items().Add(ADOQuery1->Fields(1).AsString());
  }
}

bool TForm3::PasswordsOnServer() const {
  return Form1->ADOConnection1->Engine().Kind() == TDbEngineKind::Postgres;
}

int TForm3::CheckOnServer(const std::string& login, const std::string& password) const {
  TADOQuery query(Form1->ADOConnection1);
  LoadStatement(query, Statements::kCheckLogin);
  query.ParamByName("a1").SetValue(Variant(login));
  query.ParamByName("a2").SetValue(Variant(password));
  query.Open();
  return query.Fields(0).AsInteger();
}

std::string TForm3::TokenOnServer(const std::string& login, const std::string& password) const {
  TADOQuery query(Form1->ADOConnection1);
  LoadStatement(query, Statements::kResultToken);
  query.ParamByName("a1").SetValue(Variant(login));
  query.ParamByName("a2").SetValue(Variant(password));
  query.Open();
  return query.Fields(0).AsString();
}

void TForm3::FormShow(TObject*) {
  Form1->SetAlphaBlend(true);
  Form1->SetAlphaBlendValue(0);
  SetFocus();
}

void TForm3::OKButtonClick(TObject*) {
  const int n = std::min(AccountCount_, DBListBox1->Items().Count());
  const std::string typed = UserName->Text();
  for (int i = 0; i < n; ++i) {
    if (DBListBox1->Items()[i] != typed) continue;
    const std::string login = typed;
    const int verdict = PasswordsOnServer() ? CheckOnServer(login, Password->Text())
                        : DBListBox2->Items()[i] == Password->Text() ? ServerSchema::kLoggedIn
                                                                     : ServerSchema::kWrongPassword;
    if (verdict == ServerSchema::kNoSuchAccount) break;  // removed on the server meanwhile
    if (verdict != ServerSchema::kLoggedIn) {
      ShowMessage(kWrongPassword);
      return;
    }
    Form1->HandInToken = PasswordsOnServer() ? TokenOnServer(login, Password->Text()) : std::string();
    if (!Form1->HandInToken.empty()) {
      // Results this login left kept here before they carried a token go now.
      TResultJournal journal(TResultJournal::DefaultPath());
      try {
        SendJournal(*Form1->ADOConnection1, journal, {login, Form1->HandInToken});
      } catch (const std::exception&) {  // kept for the next connection
      }
      PrepareHandIn(*Form1->ADOConnection1, {login, Form1->HandInToken});
    }
    Form1->sPanel1->SetCaption(login);
    const bool admin = Form1->IsAdministrator();
    Form1->sSpeedButton5->SetVisible(admin);
    Form7->sGroupBox1->SetVisible(admin);
    Form1->SetAlphaBlend(false);
    Close();
    return;
  }
  ShowMessage(kNoSuchAccount);
}

void TForm3::CancelButtonClick(TObject*) { Application->Terminate(); }
