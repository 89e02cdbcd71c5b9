// The windows built in process over a database of our own: what a user types
// reaches the engine only as bound values, and the account changes keep the
// table whole.
#include <gtest/gtest.h>
#include <link.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/AppControls.h"
#include "app/AppForms.h"
#include "app/TextbookEngine.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "app/Unit5.h"
#include "app/data/Schema.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "forms/Canvas.h"
#include "forms/db/DBComponents.h"
#include "platform/win/Message.h"
#include "tests/support/TestDesktop.h"

namespace fs = std::filesystem;

namespace {

const std::map<std::string, std::string> kAccounts = {
    {"Admin", "admin"}, {"ivanov", "qwe123"}, {"petrova", "pet456"}, {"Смирнов", "smi789"}};

class AppFormsTest : public ::testing::Test, protected TTestDesktop {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "textbook-app-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Dir = pattern;
    OldDir = fs::current_path();
    TADOConnection::CreateDatabaseFile((Dir / "db.mdb").string());
    Sql([](TADOConnection& c) {
      Schema::CreateTables(c);
      for (const auto& [login, password] : kAccounts)
        c.ExecuteDirect("insert into Пользователи values ('" + login + "', '" + password + "', '9А')");
    });
  }
  void TearDown() override {
    CloseDesktop();
    fs::current_path(OldDir);
    fs::remove_all(Dir);
  }
  // Works on the database with a connection of the test's own.
  template <class F>
  void Sql(F&& work) {
    TADOConnection c("Data Source=" + (Dir / "db.mdb").string());
    c.Open();
    work(c);
  }
  std::vector<std::string> Rows(const std::string& select) {
    std::vector<std::string> rows;
    Sql([&](TADOConnection& c) {
      TADOQuery q(&c);
      q.SQL().Add(select);
      q.Open();
      for (q.First(); !q.Eof(); q.Next()) {
        std::string row;
        for (int i = 0; i < q.FieldCount(); ++i) row += (i ? "|" : "") + q.Fields(i).AsString();
        rows.push_back(row);
      }
    });
    return rows;
  }
  // The program's windows, created as at start-up, in the workspace.
  void Start() {
    fs::current_path(Dir);
    OpenDesktop(TextbookEngineParts(), {1280, 900});
    StartWarning = UpgradeDatabase();
    CreateAppForms(*App);
  }

  fs::path Dir, OldDir;
  std::string StartWarning;
};

TEST_F(AppFormsTest, LoginListsKeepEachLoginWithItsPasswordUnderAnIndex) {
  Sql([](TADOConnection& c) {
    c.ExecuteDirect("insert into Пользователи values ('AAA', 'first', '')");
    c.ExecuteDirect("create index ЛогиныПоИмени on Пользователи(Логин)");
  });
  // The index really reorders a select of the logins alone, so pairing two
  // single-column selects by position would give "AAA" the password "admin".
  const auto logins = Rows("select Логин from Пользователи");
  const auto passwords = Rows("select Пароль from Пользователи");
  ASSERT_EQ(logins.size(), passwords.size());
  ASSERT_EQ(logins.front(), "AAA");
  ASSERT_NE(passwords.front(), "first");

  Start();
  auto expected = kAccounts;
  expected["AAA"] = "first";
  ASSERT_EQ(Form3->DBListBox1->Items().Count(), 5);
  ASSERT_EQ(Form3->DBListBox2->Items().Count(), 5);
  for (int i = 0; i < 5; ++i) {
    const std::string login = Form3->DBListBox1->Items()[i];
    ASSERT_TRUE(expected.count(login)) << login;
    EXPECT_EQ(Form3->DBListBox2->Items()[i], expected[login]) << login;
  }
}

TEST_F(AppFormsTest, LoginSucceedsForAnAccountIndexedOutOfOrder) {
  Sql([](TADOConnection& c) {
    c.ExecuteDirect("insert into Пользователи values ('aaa', 'first', '')");
    c.ExecuteDirect("create index ЛогиныПоИмени on Пользователи(Логин)");
  });
  Start();
  Form3->UserName->SetText("aaa");
  Form3->Password->SetText("first");
  Form3->OKButtonClick(nullptr);
  EXPECT_EQ(Form1->sPanel1->Caption(), "aaa");
  EXPECT_FALSE(Form1->sSpeedButton5->Visible());
  EXPECT_FALSE(Form1->AlphaBlend());
}

// The current user's panel keeps its 64 pixels and its Arial 21 bold; a login too wide
// for it is drawn smaller until it fits, never cut at both ends.
TEST_F(AppFormsTest, ALongLoginIsDrawnSmallerInTheUserPanel) {
  Start();
  Form3->UserName->SetText("Смирнов");
  Form3->Password->SetText(kAccounts.at("Смирнов"));
  Form3->OKButtonClick(nullptr);
  TsPanel* panel = Form1->sPanel1;
  ASSERT_EQ(panel->Caption(), "Смирнов");
  EXPECT_EQ(panel->Width(), 64);
  EXPECT_EQ(panel->Height(), 48);
  EXPECT_EQ(panel->Font().Height(), -21);
  EXPECT_TRUE(panel->ShrinkCaption());
  const int room = panel->ClientWidth() - 2;  // inside the raised bevel
  const int height = panel->CaptionFontHeight(room);
  EXPECT_GT(height, -21);
  TCanvas measure;
  measure.Font().Assign(panel->Font());
  measure.Font().SetHeight(height);
  EXPECT_LE(measure.TextWidth(panel->Caption()), room);
}

// Texts a user might type that must never change a statement.
std::vector<std::string> HostileTexts() {
  return {"O'Brien",
          "x' or '1'='1",
          "%",
          "_",
          "a%b_c",
          "'); delete from Пользователи; --",
          std::string("nul\0inside", 10),
          std::string(65536, 'q') + "'%_"};
}

TEST_F(AppFormsTest, AddedAndDeletedAccountsAreTheTextAsTyped) {
  Start();
  for (const std::string& text : HostileTexts()) {
    SCOPED_TRACE(text.substr(0, 40));
    const std::string password = text + "pw";
    Form5->sEdit2->SetText(text);
    Form5->sEdit3->SetText(password);
    Form5->sEdit4->SetText(text);
    Form5->sBitBtn1Click(nullptr);
    EXPECT_EQ(Form5->sEdit2->Text(), "");
    EXPECT_EQ(Form5->ADOTable1->RecordCount(), 5);
    bool found = false;
    Sql([&](TADOConnection& c) {
      TADOQuery q(&c);
      q.SQL().Add("select Логин, Пароль, Группа from Пользователи where rowid = (select max(rowid) from Пользователи)");
      q.Open();
      found = q.Fields(0).AsString() == text && q.Fields(1).AsString() == password && q.Fields(2).AsString() == text;
    });
    EXPECT_TRUE(found);

    // A wildcard password deletes nothing; the exact one deletes exactly that row.
    Form5->sSpeedButton2Click(nullptr);
    Form5->sEdit2->SetText(text);
    Form5->sEdit3->SetText("%");
    Form5->sBitBtn2Click(nullptr);
    EXPECT_EQ(Form5->ADOTable1->RecordCount(), 5);
    Form5->sEdit2->SetText(text);
    Form5->sEdit3->SetText(password);
    Form5->sBitBtn2Click(nullptr);
    EXPECT_EQ(Form5->ADOTable1->RecordCount(), 4);
    EXPECT_EQ(Form5->sEdit3->Text(), "");
    Form5->sSpeedButton1Click(nullptr);
  }
  EXPECT_EQ(Rows("select count(*) from Пользователи"), std::vector<std::string>{"4"});
}

TEST_F(AppFormsTest, UsersSearchTakesAnyTextLiterally) {
  Sql([](TADOConnection& c) { c.ExecuteDirect("insert into Пользователи values ('O''Brien', 'x', '')"); });
  Start();
  TForm5& f = *Form5;
  f.sCheckBox1->SetChecked(true);
  for (const std::string& text : HostileTexts()) {
    SCOPED_TRACE(text.substr(0, 40));
    f.sEdit1->SetText(text);
    f.sButton1Click(nullptr);
    EXPECT_TRUE(f.ADOTable1->Filtered());
    EXPECT_EQ(f.ADOTable1->RecordCount(), text == "O'Brien" ? 1 : 0);
  }
  // Unticked: the filter goes and the current row moves to the login, or stays.
  f.sCheckBox1->SetChecked(false);
  f.sEdit1->SetText("petrova");
  f.sButton1Click(nullptr);
  EXPECT_FALSE(f.ADOTable1->Filtered());
  EXPECT_EQ(f.ADOTable1->RecordCount(), 5);
  EXPECT_EQ(f.ADOTable1->FieldByName("Логин").AsString(), "petrova");
  for (const std::string& text : HostileTexts()) {
    if (text == "O'Brien") continue;
    f.sEdit1->SetText(text);
    f.sButton1Click(nullptr);
    EXPECT_EQ(f.ADOTable1->FieldByName("Логин").AsString(), "petrova");
  }
  // Logins compare as the engine and the login window compare them: exactly.
  f.sEdit1->SetText("СМИРНОВ");
  f.sButton1Click(nullptr);
  EXPECT_EQ(f.ADOTable1->FieldByName("Логин").AsString(), "petrova");
  f.sEdit1->SetText("Смирнов");
  f.sButton1Click(nullptr);
  EXPECT_EQ(f.ADOTable1->FieldByName("Логин").AsString(), "Смирнов");
  f.sCheckBox1->SetChecked(true);
  f.sEdit1->SetText("ADMIN");
  f.sButton1Click(nullptr);
  EXPECT_EQ(f.ADOTable1->RecordCount(), 0);
  f.sEdit1->SetText("Admin");
  f.sButton1Click(nullptr);
  EXPECT_EQ(f.ADOTable1->RecordCount(), 1);
}

TEST_F(AppFormsTest, AdministratorPasswordChangeIsAllOrNothing) {
  Sql([](TADOConnection& c) {
    c.ExecuteDirect(
        "create trigger НетНовогоАдмина before insert on Пользователи when new.Логин = 'Admin' "
        "begin select raise(abort, 'insert refused'); end");
  });
  Start();
  Form5->sEdit5->SetText("admin");
  Form5->sEdit6->SetText("secret");
  EXPECT_THROW(Form5->sBitBtn3Click(nullptr), std::exception);
  EXPECT_EQ(Rows("select Логин, Пароль, Группа from Пользователи where Логин = 'Admin'"),
            std::vector<std::string>{"Admin|admin|9А"});
  EXPECT_EQ(Form5->ADOTable1->RecordCount(), 4);
  EXPECT_EQ(Form5->sEdit5->Text(), "admin");

  // No transaction is left open: the next change is seen by another connection at once.
  Sql([](TADOConnection& c) { c.ExecuteDirect("drop trigger НетНовогоАдмина"); });
  Form5->sBitBtn3Click(nullptr);
  EXPECT_EQ(Rows("select Логин, Пароль, Группа from Пользователи where Логин = 'Admin'"),
            std::vector<std::string>{"Admin|secret|"});
  EXPECT_EQ(Form5->sEdit5->Text(), "");
}

TEST_F(AppFormsTest, AdministratorPasswordNeedsTheExactOldPassword) {
  Sql([](TADOConnection& c) { c.ExecuteDirect("insert into Пользователи values ('Admin', 'other', '')"); });
  Start();
  Form5->sEdit5->SetText("ADMIN");
  Form5->sEdit6->SetText("secret");
  Form5->sBitBtn3Click(nullptr);
  EXPECT_EQ(Form5->sEdit5->Text(), "ADMIN");
  EXPECT_EQ(Rows("select count(*) from Пользователи where Пароль = 'secret'"), std::vector<std::string>{"0"});
  // The right one replaces every administrator row with that password by one row.
  Form5->sEdit5->SetText("admin");
  Form5->sBitBtn3Click(nullptr);
  EXPECT_EQ(Rows("select Пароль from Пользователи where Логин = 'Admin' order by rowid"),
            (std::vector<std::string>{"other", "secret"}));
}

// A file of the older schema (every text column NOCASE) is brought up to date
// at start-up, before the windows read it: logins and passwords then compare
// exactly, in the users window's filter too.
TEST_F(AppFormsTest, OlderFileIsUpgradedBeforeTheWindowsOpen) {
  Sql([](TADOConnection& c) {
    c.ExecuteDirect("drop table Пользователи");
    c.ExecuteDirect(
        "create table Пользователи (Логин text collate nocase, Пароль text collate nocase, "
        "Группа text collate nocase) strict");
    c.ExecuteDirect("insert into Пользователи values ('Admin', 'admin', ''), ('admin', 'x', '')");
    ASSERT_FALSE(Schema::IsCurrent(c));
  });
  Start();
  EXPECT_EQ(StartWarning, "");
  Sql([](TADOConnection& c) { EXPECT_TRUE(Schema::IsCurrent(c)); });
  EXPECT_EQ(Rows("select count(*) from Пользователи where Пароль = 'ADMIN' or Логин = 'ADMIN'"),
            std::vector<std::string>{"0"});
  Form5->sCheckBox1->SetChecked(true);
  Form5->sEdit1->SetText("admin");
  Form5->sButton1Click(nullptr);
  ASSERT_EQ(Form5->ADOTable1->RecordCount(), 1);
  EXPECT_EQ(Form5->ADOTable1->FieldByName("Пароль").AsString(), "x");
}

// Names of the shared libraries mapped into this process.
std::vector<std::string> LoadedLibraries() {
  std::vector<std::string> names;
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* out) {
        if (info->dlpi_name && *info->dlpi_name) static_cast<std::vector<std::string>*>(out)->push_back(info->dlpi_name);
        return 0;
      },
      &names);
  return names;
}

// The video libraries drag a hundred more with them, SDL forty, the server's
// client two dozen: the windows up to the painted login window over a database
// file need none of them headless, so none is loaded until a video opens, the
// SDL display starts or a server is reached.
TEST_F(AppFormsTest, StartingUpLoadsNeitherTheVideoNorTheServerNorTheSdlLibraries) {
  Start();
  Form1->Show();
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  ASSERT_TRUE(Form3->Visible());
  const std::vector<std::string> loaded = LoadedLibraries();
  ASSERT_FALSE(loaded.empty());
  for (const std::string& name : loaded)
    for (const char* deferred : {"libavformat", "libavcodec", "libavutil", "libswscale", "libswresample", "libpq",
                                 "libSDL2"})
      EXPECT_EQ(name.find(deferred), std::string::npos) << name;
}

}  // namespace
