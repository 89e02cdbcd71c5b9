#include "tools/textbook-db/TextbookDb.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>

#include "app/data/Schema.h"
#include "app/data/ServerSchema.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "data/TPgEngine.h"
#include "platform/base/Exception.h"
#include "tools/make-workspace/Workspace.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kUsage =
    "использование:\n"
    "  textbook-db init URL [--demo] [--student-role ИМЯ]\n"
    "  textbook-db copy ОТКУДА КУДА\n"
    "  textbook-db upgrade URL\n"
    "URL: путь к файлу db.mdb или адрес postgresql://пользователь:пароль@сервер:порт/база\n";

// A refusal with its reason for the user.
struct TRefused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool IsServer(const std::string& url) { return TPgEngine::IsServerUri(url); }

void CheckUrl(const std::string& url) {
  if (url.empty()) throw TRefused("пустой адрес базы данных");
  if (!IsServer(url) && url.find("://") != std::string::npos)
    throw TRefused("адрес «" + url + "» не понят: нужен путь к файлу или адрес postgresql://…");
}

// An open connection; a target file that does not exist is created (and noted).
std::unique_ptr<TADOConnection> Open(const std::string& url, bool createFile, bool& created) {
  CheckUrl(url);
  created = false;
  if (!IsServer(url) && createFile && !fs::exists(url)) {
    TADOConnection::CreateDatabaseFile(url);
    created = true;
  }
  auto connection = std::make_unique<TADOConnection>("Data Source=" + url);
  connection->SetBusyTimeout(60000);  // a copy may be long; a silent server is still given up
  connection->Open();
  return connection;
}

int Count(TADOConnection& connection, const std::string& select) {
  TADOQuery query(&connection);
  query.SQL().Add(select);
  query.Open();
  return query.Fields(0).AsInteger();
}

void CheckEmpty(TADOConnection& connection, const std::string& url) {
  const bool server = connection.Engine().Kind() == TDbEngineKind::Postgres;
  const int objects =
      server ? Count(connection,
                     "select (select count(*) from pg_class c join pg_namespace n on n.oid = c.relnamespace "
                     "where n.nspname = 'public') + (select count(*) from pg_proc p join pg_namespace n on "
                     "n.oid = p.pronamespace where n.nspname = 'public')")
             : Count(connection, "select count(*) from sqlite_schema");
  if (objects != 0)
    throw TRefused("база данных " + connection.DatabasePath() + " не пуста; выберите пустую базу (в ней " +
                   std::to_string(objects) + " объектов)");
  (void)url;
}

void GrantStudentRole(TADOConnection& connection, const std::string& role) {
  if (connection.Engine().Kind() != TDbEngineKind::Postgres)
    throw TRefused("--student-role: роли есть только у сервера PostgreSQL, у файла их нет");
  TADOQuery query(&connection);
  query.SQL().Add("select count(*) from pg_roles where rolname = :r");
  query.ParamByName("r").SetValue(Variant(role));
  query.Open();
  if (query.Fields(0).AsInteger() == 0) throw TRefused("роли «" + role + "» на сервере нет; создайте её сначала");
  connection.ExecuteDirect(ServerSchema::StudentRoleSql(role));
}

int Init(const std::vector<std::string>& args, std::ostream& out) {
  std::string url, role;
  bool demo = false, withRole = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--demo") demo = true;
    else if (args[i] == "--student-role" && i + 1 < args.size()) withRole = true, role = args[++i];
    else if (url.empty() && !args[i].starts_with("--")) url = args[i];
    else return 2;
  }
  if (url.empty()) return 2;
  bool created = false;
  try {
    auto connection = Open(url, true, created);
    CheckEmpty(*connection, url);
    if (withRole && connection->Engine().Kind() != TDbEngineKind::Postgres)
      throw TRefused("--student-role: роли есть только у сервера PostgreSQL, у файла их нет");
    // Each step is one transaction of its own (the tables, the content, the rights).
    if (demo) FillDemoDatabase(*connection);
    else Schema::CreateTables(*connection);
    if (withRole) GrantStudentRole(*connection, role);
    out << "textbook-db: таблицы созданы в " << connection->DatabasePath() << (demo ? " (с учебным содержимым)" : "")
        << (withRole ? "; роль " + role + " получила права ученика" : "") << "\n";
  } catch (...) {
    if (created) fs::remove(url);
    throw;
  }
  return 0;
}

bool HasTable(TADOConnection& connection, const std::string& table) {
  return Count(connection, "select count(*) from pg_tables where schemaname = 'public' and tablename = '" + table +
                               "'") == 1;
}

// Between servers the secret the login tokens are made with goes with the data,
// so that results kept in students' journals before the copy are still taken;
// so do the keys of stored hand-ins, so that none of those is stored twice.
void CopyStoreData(TADOConnection& source, TADOConnection& target) {
  if (source.Engine().Kind() != TDbEngineKind::Postgres || target.Engine().Kind() != TDbEngineKind::Postgres) return;
  if (HasTable(source, "tb_secret")) {
    TADOQuery secret(&source);
    secret.SQL().Add("select value from tb_secret limit 1");
    secret.Open();
    if (!secret.Eof()) {
      target.ExecuteDirect("delete from tb_secret");
      auto insert = target.Engine().Prepare("insert into tb_secret values (?)");
      insert->Bind(1, secret.FieldValue(0));
      while (insert->Step()) {
      }
    }
  }
  if (HasTable(source, "tb_handins")) {
    TADOQuery keys(&source);
    keys.SQL().Add("select key from tb_handins");
    keys.Open();
    for (keys.First(); !keys.Eof(); keys.Next()) {
      auto insert = target.Engine().Prepare("insert into tb_handins values (?)");
      insert->Bind(1, keys.FieldValue(0));
      while (insert->Step()) {
      }
    }
  }
}

int Upgrade(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 2) return 2;
  bool ignored = false;
  auto connection = Open(args[1], false, ignored);
  Schema::CheckTables(*connection);
  if (connection->Engine().Kind() != TDbEngineKind::Postgres) {
    // A file: its collations (make-workspace --upgrade does the same).
    Schema::Upgrade(*connection);
    out << "textbook-db: файл " << connection->DatabasePath() << " обновлён\n";
    return 0;
  }
  const std::vector<std::string> roles = ServerSchema::Upgrade(*connection);
  std::string names;
  for (const std::string& role : roles) names += (names.empty() ? "" : ", ") + role;
  out << "textbook-db: база " << connection->DatabasePath() << " обновлена"
      << (roles.empty() ? std::string() : "; права ролей учеников (" + names + ") обновлены") << "\n";
  return 0;
}

int Copy(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 3) return 2;
  const std::string& from = args[1];
  const std::string& to = args[2];
  bool ignored = false, created = false;
  auto source = Open(from, false, ignored);
  Schema::CheckTables(*source);
  try {
    auto target = Open(to, true, created);
    CheckEmpty(*target, to);
    Schema::CreateTables(*target);
    target->ExecuteDirect("begin");
    try {
      size_t rows = 0;
      for (std::string_view table : Schema::kTables) {
        TADOQuery read(source.get());
        read.SQL().Add("select * from " + QuoteSqlName(table));
        read.Open();
        TADOQuery columns(target.get());
        columns.SQL().Add("select * from " + QuoteSqlName(table) + " where 1 = 0");
        columns.Open();
        std::string names, marks;
        for (int c = 0; c < read.FieldCount(); ++c) {
          const std::string& name = read.Fields(c).FieldName();
          if (!columns.FindField(name))
            throw TRefused("в таблице " + std::string(table) + " источника есть столбец «" + name +
                           "», которого нет в новых таблицах; копия не сделана");
          names += (c ? ", " : "") + QuoteSqlName(name);
          marks += c ? ", ?" : "?";
        }
        for (read.First(); !read.Eof(); read.Next()) {
          // Rows go in the order they are read, every value as it was stored.
          auto statement = target->Engine().Prepare("insert into " + QuoteSqlName(table) + " (" + names +
                                                    ") values (" + marks + ")");
          for (int c = 0; c < read.FieldCount(); ++c) statement->Bind(c + 1, read.FieldValue(c));
          while (statement->Step()) {
          }
          ++rows;
        }
      }
      CopyStoreData(*source, *target);
      target->ExecuteDirect("commit");
      out << "textbook-db: " << rows << " строк скопировано из " << source->DatabasePath() << " в "
          << target->DatabasePath() << "\n";
    } catch (...) {
      if (target->Engine().InTransaction()) target->ExecuteDirect("rollback");
      throw;
    }
  } catch (...) {
    if (created) fs::remove(to);
    throw;
  }
  return 0;
}
}  // namespace

int RunTextbookDb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  int status = 2;
  try {
    if (!args.empty() && args[0] == "init") status = Init(args, out);
    else if (!args.empty() && args[0] == "copy") status = Copy(args, out);
    else if (!args.empty() && args[0] == "upgrade") status = Upgrade(args, out);
  } catch (const TRefused& e) {
    err << "textbook-db: " << e.what() << "\n";
    return 1;
  } catch (const Exception& e) {
    err << "textbook-db: " << e.Message() << "\n";
    return 1;
  } catch (const std::exception& e) {
    err << "textbook-db: " << e.what() << "\n";
    return 1;
  }
  if (status == 2) err << kUsage;
  return status;
}
