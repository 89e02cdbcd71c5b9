#pragma once
// A database file on the data layer's test schema (ItemsSchema.h) for the tests
// of data-aware controls: thirty entries, "Запись 1" to "Запись 30", each with the
// note "a" and the amount 1 + i % 5; and the components a form binds such
// controls to, named as a designer names them (ADOConnection1, ADOQuery<n>,
// DataSource<n>).
#include <filesystem>
#include <string>

#include "data/TADOConnection.h"
#include "forms/db/DBComponents.h"
#include "tests/support/ItemsSchema.h"

// Creates the file, with `items` (the values of an insert into items, or empty)
// besides the entries; returns its connection string.
inline std::string CreateEntriesDatabase(const std::filesystem::path& path, const std::string& items) {
  TADOConnection::CreateDatabaseFile(path.string());
  const std::string connectionString = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path.string();
  TADOConnection setup(connectionString);
  setup.Open();
  ItemsSchema::Create(setup);
  for (int i = 1; i <= 30; ++i)
    setup.ExecuteDirect("insert into entries values ('Запись " + std::to_string(i) + "', 'a', " +
                        std::to_string(1 + i % 5) + ")");
  if (!items.empty()) setup.ExecuteDirect("insert into items(id, code, title, note) values " + items);
  return connectionString;
}

struct TBoundQuery {
  TADOQueryComponent* Query;
  TDataSourceComponent* Source;
};

// ADOQuery<n> over the connection, open on `sql`, and DataSource<n> showing it.
inline TBoundQuery AddBoundQuery(TComponent* owner, TADOConnectionComponent* connection, int n, const std::string& sql) {
  auto* query = new TADOQueryComponent(owner);
  query->SetName("ADOQuery" + std::to_string(n));
  query->SetConnection(connection);
  query->SQL().Add(sql);
  query->Open();
  auto* source = new TDataSourceComponent(owner);
  source->SetName("DataSource" + std::to_string(n));
  source->SetDataSet(query);
  return {query, source};
}

// ADOConnection1, open on the database.
inline TADOConnectionComponent* AddConnection(TComponent* owner, const std::string& connectionString) {
  auto* connection = new TADOConnectionComponent(owner);
  connection->SetName("ADOConnection1");
  connection->SetConnectionString(connectionString);
  connection->Open();
  return connection;
}
