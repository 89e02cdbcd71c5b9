#include "app/data/ServerSchema.h"

#include "app/data/Schema.h"
#include "data/TDbEngine.h"

namespace ServerSchema {

std::string CreateTablesSql() {
  // tb_fold upper-cases Latin and Cyrillic letters only (Ё included), as the
  // file's collation does; translate() is one pass over the text. A "like" of
  // the form "%text%" is a plain search for the folded text; other patterns go
  // to the server's own like with no escape character, as in the file.
  std::string sql = R"SQL(
create function tb_fold(text) returns text language sql immutable strict parallel safe as $$
  select translate($1, 'abcdefghijklmnopqrstuvwxyzабвгдеёжзийклмнопрстуфхцчшщъыьэюя',
                       'ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ')
$$;
create domain tb_text as text;
create function tb_text_eq(tb_text, tb_text) returns boolean language sql immutable strict parallel safe as $$
  select tb_fold($1) = tb_fold($2)
$$;
create function tb_text_ne(tb_text, tb_text) returns boolean language sql immutable strict parallel safe as $$
  select tb_fold($1) <> tb_fold($2)
$$;
create function tb_text_like(tb_text, tb_text) returns boolean language sql immutable strict parallel safe as $$
  select case when $2::text ~ '^%[^%_]*%$'
              then strpos(tb_fold($1), tb_fold(substr($2, 2, length($2) - 2))) > 0
              else tb_fold($1) like tb_fold($2) escape '' end
$$;
create operator = (leftarg = tb_text, rightarg = tb_text, function = tb_text_eq, commutator = =, negator = <>);
create operator <> (leftarg = tb_text, rightarg = tb_text, function = tb_text_ne, commutator = <>, negator = =);
create operator ~~ (leftarg = tb_text, rightarg = tb_text, function = tb_text_like);
)SQL";
  // The six tables from the file's column list: folding text becomes tb_text,
  // exact text plain text (byte for byte, as the file's BINARY).
  for (std::size_t i = 0; i < Schema::kColumns.size(); ++i) {
    const Schema::TColumn& c = Schema::kColumns[i];
    if (i == 0 || Schema::kColumns[i - 1].Table != c.Table) sql += "create table " + QuoteSqlName(c.Table) + " (";
    else sql += ", ";
    sql += QuoteSqlName(c.Name) + " " +
           (c.Type == "integer" ? "integer" : c.Collation == Schema::kFolding ? "tb_text" : "text");
    if (i + 1 == Schema::kColumns.size() || Schema::kColumns[i + 1].Table != c.Table) sql += ");\n";
  }
  // After the tables, which the login check's body names.
  sql += R"SQL(
-- Keys of stored hand-ins: a result sent again after a lost reply is refused here.
create table tb_handins (key text primary key);
-- The login window's check: the first row (in the table's order) whose login
-- is exactly the typed one decides; its password must match exactly.
create function tb_check_login(login text, password text) returns integer
  language sql stable security definer set search_path = public, pg_temp as $$
  select coalesce((select case when coalesce(u."Пароль", '') = password then 2 else 1 end
                   from "Пользователи" u where coalesce(u."Логин"::text, '') = login order by u.ctid limit 1), 0)
$$;
revoke all on function tb_check_login(text, text) from public;
)SQL";
  return sql;
}

std::string StudentRoleSql(std::string_view role) {
  const std::string r = QuoteSqlName(role);
  // Logins alone are readable (the column, not the table), so the password stays
  // out of reach; results may be read and added, never changed or deleted.
  return "grant usage on schema public to " + r + ";\n"
         "grant select on \"БДТест\", \"Лекции\", \"Лабы\", \"Видео\" to " + r + ";\n"
         "grant select (\"Логин\") on \"Пользователи\" to " + r + ";\n"
         "grant select, insert on \"Тесты\" to " + r + ";\n"
         "grant insert on tb_handins to " + r + ";\n"
         "grant execute on function tb_check_login(text, text) to " + r + ";\n";
}

}  // namespace ServerSchema
