#pragma once
// A headless desktop, an application object, a temporary database on the data
// layer's own test schema (thirty entries, three items to look up), and a form
// owning the connection, a query over the entries and a data source, for each
// data-aware control test.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/TADOQuery.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/ScriptDriver.h"
#include "forms/db/DBComponents.h"
#include "forms/db/FormsDbEngine.h"
#include "tests/support/EntriesDatabase.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDesktop.h"

// The connection string of the test's database (the form reads it while it is built).
inline std::string gDbTestConnection;

class TDbTestForm : public TForm {
public:
  explicit TDbTestForm(TComponent* owner) : TForm(owner) {
    SetName("Form4");
    SetBounds(50, 50, 640, 480);
    ADOConnection1 = AddConnection(this, gDbTestConnection);
    const TBoundQuery entries = AddBoundQuery(this, ADOConnection1, 1, "select * from entries");
    ADOQuery1 = entries.Query;
    DataSource1 = entries.Source;
  }
  TADOConnectionComponent* ADOConnection1;
  TADOQueryComponent* ADOQuery1;
  TDataSourceComponent* DataSource1;
};

class FormsDbTest : public ::testing::Test, protected TTestDesktop {
protected:
  void SetUp() override {
    Connection = CreateEntriesDatabase(Folder / "db.mdb", "(1, 'intro', 'Введение', 'intro.htm'), "
                                                          "(2, 'loops', 'Циклы', 'loops.htm'), "
                                                          "(3, 'none', 'Без адреса', null)");
    OpenDesktop({FormsEnginePart(), FormsDbEnginePart()});
    // Errors land here instead of in the modal error box.
    App->OnException = [this](TObject*, const std::exception_ptr& error) { Errors.push_back(ExceptionMessage(error)); };
    gDbTestConnection = Connection;
    Form = App->CreateForm<TDbTestForm>();
  }
  void TearDown() override {
    CloseDesktop();
  }
  static void Drain() { DropPending(); }
  // Value of one column of row `row` (1-based, table order) as the file holds it now.
  std::string Stored(const std::string& column, int row) {
    TADOConnection second(Connection);
    second.Open();
    TADOQuery q(&second);
    q.SQL().Add("select " + column + " from entries");
    q.Open();
    q.SetRecNo(row);
    return q.Fields(0).AsString();
  }
  int StoredCount(const std::string& table) {
    TADOConnection second(Connection);
    second.Open();
    TADOQuery q(&second);
    q.SQL().Add("select * from " + table);
    q.Open();
    return q.RecordCount();
  }
  template <class T>
  T* Add(const std::string& name, int left, int top, int width, int height) {
    auto* c = new T(Form);
    c->SetName(name);
    c->SetParent(Form);
    c->SetBounds(left, top, width, height);
    return c;
  }

  TTempFolder Folder{"tb_formsdb"};
  std::string Connection;
  TDbTestForm* Form = nullptr;
  std::vector<std::string> Errors;
};
