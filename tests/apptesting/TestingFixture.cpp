#include "tests/apptesting/TestingFixture.h"

#include <unistd.h>

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit4.h"
#include "app/Unit6.h"
#include "app/Unit8.h"
#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "data/TADOQuery.h"
#include "forms/db/DBComponents.h"

void TestingFixture::SetUp() {
  static int serial = 0;
  Previous_ = std::filesystem::current_path();
  Folder_ = std::filesystem::temp_directory_path() /
            ("tb_apptesting_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
  std::filesystem::remove_all(Folder_);
  std::filesystem::create_directories(Folder_);
  const std::string path = (Folder_ / "db.mdb").string();
  TADOConnection::CreateDatabaseFile(path);
  Db = std::make_unique<TADOConnection>("Data Source=" + path);
  Db->Open();
  Schema::CreateTables(*Db);
  TADOQuery insert(Db.get());
  LoadStatement(insert, Statements::kAddUser);
  for (const auto& [login, password] : {std::pair{"Admin", "admin"}, {"ivanov", "qwe123"}, {"petrova", "pet456"}}) {
    insert.ParamByName("a1").SetValue(Variant(login));
    insert.ParamByName("a2").SetValue(Variant(password));
    insert.ParamByName("a3").SetValue(Variant(""));
    insert.ExecSQL();
  }
  std::filesystem::current_path(Folder_);
  FormsTest::SetUp();
}

void TestingFixture::TearDown() {
  FormsTest::TearDown();
  Form1 = nullptr;
  Form2 = nullptr;
  Form4 = nullptr;
  Form6 = nullptr;
  Form8 = nullptr;
  Db.reset();
  std::error_code ec;
  std::filesystem::current_path(Previous_, ec);
  std::filesystem::remove_all(Folder_, ec);
}

void TestingFixture::AddQuestions(const std::vector<TQuestionRow>& rows) {
  TADOQuery insert(Db.get());
  insert.SQL().Add("insert into БДТест values (:q, :o1, :o2, :o3, :o4, :o5, :r)");
  for (const TQuestionRow& row : rows) {
    insert.ParamByName("q").SetValue(Variant(row.Question));
    for (size_t k = 0; k < 5; ++k)
      insert.ParamByName("o" + std::to_string(k + 1)).SetValue(Variant(row.Options.at(k)));
    insert.ParamByName("r").SetValue(row.Correct.empty() ? Variant::Null() : Variant(row.Correct));
    insert.ExecSQL();
  }
}

void TestingFixture::AddResult(const std::string& user, int score) {
  TADOQuery insert(Db.get());
  LoadStatement(insert, Statements::kStoreResult);
  insert.ParamByName("a1").SetValue(Variant(user));
  insert.ParamByName("a2").SetValue(Variant(score));
  insert.ExecSQL();
}

void TestingFixture::MakeWindows(const std::string& user) {
  App->CreateForm(&Form1);
  Form1->sPanel1->SetCaption(user);
  App->CreateForm(&Form2);
  App->CreateForm(&Form4);
  App->CreateForm(&Form6);
  App->CreateForm(&Form8);
}

std::vector<std::vector<std::string>> TestingFixture::Rows(const std::string& sql) {
  TADOQuery query(Db.get());
  query.SQL().Add(sql);
  query.Open();
  std::vector<std::vector<std::string>> out;
  for (query.First(); !query.Eof(); query.Next()) {
    std::vector<std::string> row;
    for (int c = 0; c < query.FieldCount(); ++c) row.push_back(query.Fields(c).AsString());
    out.push_back(std::move(row));
  }
  return out;
}

std::string TestingFixture::Script(const std::vector<std::string>& lines) {
  App->SetShowMainForm(false);
  return RunScript(lines);
}
