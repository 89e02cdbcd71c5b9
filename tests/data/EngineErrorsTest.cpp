// What the engine reports for bad files, bad statements and a locked database, on
// the data layer's own test schema.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"

namespace {
std::string ConnectionTo(const std::filesystem::path& path) { return "Data Source=" + path.string(); }

// Loads a statement into a closed query.
void Load(TADOQuery& query, const std::string& sql) {
  query.Close();
  query.SQL().Clear();
  query.Parameters().Clear();
  query.SQL().Add(sql);
}

const char* const kAllEntries = "select * from entries";
const char* const kAddEntry = "insert into entries(title, amount) values (:a1, :a2)";
}  // namespace

TEST(EngineErrorsTest, MissingFileIsNeverCreated) {
  SKIP_UNLESS_FILE();
  TestDatabase db;
  const auto missing = db.Folder() / "nothing.mdb";
  TADOConnection connection(ConnectionTo(missing));
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { connection.Open(); }), "unable to open database file");
  EXPECT_FALSE(connection.Connected());
  EXPECT_FALSE(std::filesystem::exists(missing));
  TADOConnection noSource("Provider=Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { noSource.Open(); }), "Data source name not found and no default driver specified");
}

TEST(EngineErrorsTest, FileThatIsNotADatabase) {
  SKIP_UNLESS_FILE();
  TestDatabase db;
  const auto path = db.Folder() / "text.mdb";
  std::ofstream(path) << "This is a lecture, not a database. It is long enough to hold a page header, surely."
                      << std::string(600, 'x');
  TADOConnection connection(ConnectionTo(path));
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { connection.Open(); }), "file is not a database");
  EXPECT_FALSE(connection.Connected());
}

TEST(EngineErrorsTest, CorruptFileGivesAnErrorNotACrash) {
  SKIP_UNLESS_FILE();
  TestDatabase db;
  db.CreateItems();
  db.Exec("insert into items(id, code, title) values (5, 'long', '" + std::string(3000, 'q') + "')");
  for (int i = 0; i < 200; ++i) db.Exec("insert into entries values ('user" + std::to_string(i) + "', null, 1)");
  db.Connection().Close();
  {
    // Scribble over every page after the first (the schema page stays readable).
    std::fstream file(db.Path(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(0, std::ios::end);
    const auto size = static_cast<long>(file.tellg());
    for (long offset = 4096; offset < size; offset += 4096) {
      file.seekp(offset);
      const std::string junk(64, '\xA5');
      file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
  }
  TADOConnection connection(ConnectionTo(db.Path()));
  std::string message;
  try {
    connection.Open();
    TADOQuery query(&connection);
    Load(query, kAllEntries);
    query.Open();
    TADOQuery items(&connection);
    Load(items, "select * from items");
    items.Open();
  } catch (const EDatabaseError& e) {
    message = e.Message();
  }
  EXPECT_EQ(message, "database disk image is malformed");
}

TEST(EngineErrorsTest, RandomDamageGivesRowsOrAnEngineError) {
  SKIP_UNLESS_FILE();
  TestDatabase db;
  db.CreateItems();
  for (int i = 0; i < 100; ++i) db.Exec("insert into entries values ('Запись " + std::to_string(i) + "', 'a', 3)");
  db.Connection().Close();
  std::ifstream in(db.Path(), std::ios::binary);
  const std::string pristine((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::mt19937 random(20240901);
  int errors = 0;
  for (int round = 0; round < 40; ++round) {
    std::string damaged = pristine;
    for (int k = 0; k < 24; ++k) damaged[random() % damaged.size()] = static_cast<char>(random());
    std::ofstream(db.Path(), std::ios::binary | std::ios::trunc) << damaged;
    try {
      TADOConnection connection(ConnectionTo(db.Path()));
      connection.Open();
      TADOQuery query(&connection);
      for (const char* sql : {"select * from entries", "select code from items", "select * from moves"}) {
        Load(query, sql);
        query.Open();
        for (query.First(); !query.Eof(); query.Next())
          for (int f = 0; f < query.FieldCount(); ++f) (void)query.Fields(f).AsString();
      }
    } catch (const EDatabaseError&) {
      ++errors;  // the engine noticed; anything else would escape and fail the test
    }
  }
  EXPECT_GT(errors, 0);
}

TEST(EngineErrorsTest, LockedDatabaseReportsAfterTheBusyTimeout) {
  SKIP_UNLESS_FILE();
  TestDatabase db;
  db.CreateItems();
  db.Exec("insert into entries values ('a', null, 1)");
  auto holder = db.OpenSecond();
  holder->ExecuteDirect("begin immediate; insert into entries values ('b', null, 2)");
  db.Connection().SetBusyTimeout(50);
  // Readers still see the committed rows while the other connection writes.
  TADOQuery query(&db.Connection());
  Load(query, kAllEntries);
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1);
  Load(query, kAddEntry);
  query.ParamByName("a1").SetValue(Variant("c"));
  query.ParamByName("a2").SetValue(Variant(3));
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { query.ExecSQL(); }), "database is locked");
  // An exclusive lock keeps readers out too; they also give up after the timeout.
  holder->ExecuteDirect("commit; begin exclusive; delete from entries");
  Load(query, kAllEntries);
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { query.Open(); }), "database is locked");
  holder->ExecuteDirect("rollback");
  query.Open();
  EXPECT_EQ(query.RecordCount(), 2);
}

TEST(EngineErrorsTest, AnotherProcessWritingMeanwhile) {
  SKIP_UNLESS_FILE();
  TestDatabase db;
  db.CreateItems();
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The other process: take the write lock, say so, wait to be released, commit.
    int status = 0;
    try {
      TADOConnection other("Data Source=" + db.Path());
      other.Open();
      other.ExecuteDirect("begin immediate; insert into entries values ('другой процесс', null, 5)");
      char byte = 1;
      if (write(ready[1], &byte, 1) != 1 || read(release[0], &byte, 1) != 1) status = 2;
      other.ExecuteDirect("commit");
    } catch (...) {
      status = 3;
    }
    _exit(status);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  db.Connection().SetBusyTimeout(50);
  TADOQuery query(&db.Connection());
  Load(query, kAddEntry);
  query.ParamByName("a1").SetValue(Variant("этот процесс"));
  query.ParamByName("a2").SetValue(Variant(7));
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { query.ExecSQL(); }), "database is locked");
  ASSERT_EQ(write(release[1], &byte, 1), 1);
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(query.ExecSQL(), 1);
  Load(query, kAllEntries);
  query.Open();
  EXPECT_EQ(query.RecordCount(), 2);
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}
