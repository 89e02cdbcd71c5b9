#include "app/data/ServerSchema.h"

#include "app/data/Schema.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "data/TDbEngine.h"

namespace ServerSchema {

namespace {
// Written "or replace" / "if not exists" so that an upgrade can run them again.
std::string LikeSql() {
  return R"SQL(
-- The file's like on folded text: the pattern is cut at its "%" into pieces; the
-- first must match at the start, the last at the end, and each one between is
-- placed at its leftmost occurrence after the one before (leftmost placement
-- never loses a match, so nothing is tried twice). A piece is found by its
-- longest run without "_" (Knuth-Morris-Pratt over the characters) and checked
-- where that run occurs; a pattern longer than the text, "%" aside, fails at once.
create or replace function tb_like_folded(t text, p text) returns boolean language plpgsql immutable strict parallel safe as $$
declare
  tc text[] := string_to_array(t, null);
  tl integer := length(t);
  pieces text[];
  n integer;
  pc text[];
  plen integer;
  pos integer;      -- first character of the text the next piece may use
  lim integer;      -- last character the pieces between may use
  a_from integer;   -- the anchor: the piece's longest run without "_"
  a_len integer;
  run_from integer;
  fail integer[];
  k integer;
  s integer;
  found_at integer;
  ok boolean;
begin
  if length(replace(p, '%', '')) > tl then
    return false;
  end if;
  if strpos(p, '%') = 0 then
    return t like p escape '';  -- no "%": one pass
  end if;
  pieces := string_to_array(regexp_replace(p, '%+', '%', 'g'), '%');
  n := array_length(pieces, 1);
  if not (left(t, length(pieces[1])) like pieces[1] escape '')
     or not (right(t, length(pieces[n])) like pieces[n] escape '') then
    return false;
  end if;
  pos := length(pieces[1]) + 1;
  lim := tl - length(pieces[n]);
  for i in 2 .. n - 1 loop
    pc := string_to_array(pieces[i], null);
    plen := array_length(pc, 1);
    a_from := 1;
    a_len := 0;
    run_from := 1;
    for x in 1 .. plen + 1 loop
      if x > plen or pc[x] = '_' then
        if x - run_from > a_len then
          a_from := run_from;
          a_len := x - run_from;
        end if;
        run_from := x + 1;
      end if;
    end loop;
    if pos + plen - 1 > lim then
      return false;
    end if;
    if a_len = 0 then  -- only "_": the first place with room
      pos := pos + plen;
      continue;
    end if;
    fail := array_fill(0, array[a_len]);
    k := 0;
    for x in 1 .. a_len - 1 loop
      while k > 0 and pc[a_from + x] <> pc[a_from + k] loop
        k := fail[k];
      end loop;
      if pc[a_from + x] = pc[a_from + k] then
        k := k + 1;
      end if;
      fail[x + 1] := k;
    end loop;
    found_at := 0;
    k := 0;
    for x in pos + a_from - 1 .. lim - plen + a_from + a_len - 1 loop
      while k > 0 and tc[x] <> pc[a_from + k] loop
        k := fail[k];
      end loop;
      if tc[x] = pc[a_from + k] then
        k := k + 1;
      end if;
      if k = a_len then
        s := x - a_len - a_from + 2;
        ok := true;
        if a_len < plen then
          for y in 1 .. plen loop
            if pc[y] <> '_' and pc[y] <> tc[s + y - 1] then
              ok := false;
              exit;
            end if;
          end loop;
        end if;
        if ok then
          found_at := s;
          exit;
        end if;
        k := fail[k];
      end if;
    end loop;
    if found_at = 0 then
      return false;
    end if;
    pos := found_at + plen;
  end loop;
  return true;
end
$$;
create or replace function tb_text_like(tb_text, tb_text) returns boolean language sql immutable strict parallel safe as $$
  select case when $2::text ~ '^%[^%_]*%$'
              then strpos(tb_fold($1), tb_fold(substr($2, 2, length($2) - 2))) > 0
              else tb_like_folded(tb_fold($1), tb_fold($2)) end
$$;
)SQL";
}

std::string StoreSql() {
  return R"SQL(
-- Keys of stored hand-ins: a result sent again after a lost reply is refused here.
create table if not exists tb_handins (key text primary key);
-- The login window's check: the first row (in the table's order) whose login
-- is exactly the typed one decides; its password must match exactly.
create or replace function tb_check_login(login text, password text) returns integer
  language sql stable security definer set search_path = public, pg_temp as $$
  select coalesce((select case when coalesce(u."Пароль", '') = password then 2 else 1 end
                   from "Пользователи" u where coalesce(u."Логин"::text, '') = login order by u.ctid limit 1), 0)
$$;
revoke all on function tb_check_login(text, text) from public;
-- Results are stored only under the login that logged in: a successful login
-- check hands out the login's token (a digest of the login under a secret no
-- student reads), and tb_store_result takes a result only with it.
create table if not exists tb_secret (value text not null);
insert into tb_secret select gen_random_uuid()::text || gen_random_uuid()::text where not exists (select from tb_secret);
create or replace function tb_token_of(login text) returns text
  language sql stable security definer set search_path = public, pg_temp as $$
  select encode(sha256(convert_to(s.value || encode(sha256(convert_to(login || s.value, 'UTF8')), 'hex'), 'UTF8')), 'hex')
  from tb_secret s limit 1
$$;
revoke all on function tb_token_of(text) from public;
create or replace function tb_result_token(login text, password text) returns text
  language sql stable security definer set search_path = public, pg_temp as $$
  select case when tb_check_login(login, password) = 2 then tb_token_of(login) end
$$;
revoke all on function tb_result_token(text, text) from public;
-- The refusal of a result under another login. PL/pgSQL only here: loading the
-- language costs a session about ten milliseconds, which a whole classroom
-- handing in at once would pay together; tb_refused (SQL, and not inlined
-- because of its "set") is only set up when it is called, so the language is
-- loaded on this path alone.
create or replace function tb_refuse_result() returns integer language plpgsql as $$
begin
  raise insufficient_privilege using message = 'a result may be stored only under the login that logged in';
end
$$;
revoke all on function tb_refuse_result() from public;
create or replace function tb_refused() returns integer
  language sql volatile set search_path = public, pg_temp as $$
  select tb_refuse_result()
$$;
revoke all on function tb_refused() from public;
-- 1 when stored, 0 when the key was stored before (a sending repeated after a
-- lost reply). Plain SQL: its statements run in order, so a refusal comes
-- before anything is inserted.
create or replace function tb_store_result(token text, login text, score integer, key text) returns integer
  language sql volatile security definer set search_path = public, pg_temp as $$
  select tb_refused() where token is null or login is null or token is distinct from tb_token_of(login);
  with handin as (insert into tb_handins values (key) on conflict do nothing returning 1),
       result as (insert into "Тесты" ("Пользователь", "Верно") select login, score from handin returning 1)
  select count(*)::integer from result;
$$;
revoke all on function tb_store_result(text, text, integer, text) from public;
)SQL";
}
}  // namespace

std::string CreateTablesSql() {
  // tb_fold upper-cases Latin and Cyrillic letters only (Ё included), as the
  // file's collation does; translate() is one pass over the text. "like" has no
  // escape character, as in the file, and takes linear time whatever the
  // pattern (the server's own like may take text × pattern): "%text%" is a plain
  // search for the folded text, other patterns go to tb_like_folded.
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
)SQL";
  sql += LikeSql();
  sql += R"SQL(
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
  return sql + StoreSql();
}

std::string StudentRoleSql(std::string_view role) {
  const std::string r = QuoteSqlName(role);
  // Logins alone are readable (the column, not the table), so the password stays
  // out of reach; results may be read, and added only through tb_store_result
  // under the login that logged in, never changed or deleted.
  return "grant usage on schema public to " + r + ";\n"
         "grant select on \"БДТест\", \"Лекции\", \"Лабы\", \"Видео\" to " + r + ";\n"
         "grant select (\"Логин\") on \"Пользователи\" to " + r + ";\n"
         "grant select on \"Тесты\" to " + r + ";\n"
         "grant execute on function tb_check_login(text, text) to " + r + ";\n"
         "grant execute on function tb_result_token(text, text) to " + r + ";\n"
         "grant execute on function tb_store_result(text, text, integer, text) to " + r + ";\n";
}

bool HasResultTokens(TADOConnection& connection) {
  TADOQuery query(&connection);
  query.SQL().Add("select case when to_regprocedure('tb_result_token(text, text)') is not null and "
                  "to_regprocedure('tb_store_result(text, text, integer, text)') is not null then 1 else 0 end");
  query.Open();
  return query.Fields(0).AsInteger() == 1;
}

std::vector<std::string> Upgrade(TADOConnection& connection) {
  std::vector<std::string> roles;
  connection.ExecuteDirect("begin");
  try {
    // "already exists, skipping" is no news here.
    connection.ExecuteDirect("set local client_min_messages = warning;\n" + LikeSql() + StoreSql());
    // The student roles are those the login check was granted to. Older servers
    // let them insert results (and keys) directly, under any login: that right
    // goes, the stores through tb_store_result come.
    TADOQuery query(&connection);
    query.SQL().Add(
        "select distinct r.rolname from pg_proc p cross join aclexplode(p.proacl) a "
        "join pg_roles r on r.oid = a.grantee "
        "where p.oid = 'tb_check_login(text, text)'::regprocedure and a.grantee <> p.proowner order by 1");
    query.Open();
    for (query.First(); !query.Eof(); query.Next()) roles.push_back(query.Fields(0).AsString());
    query.Close();
    for (const std::string& role : roles)
      connection.ExecuteDirect("revoke insert, update, delete on \"Тесты\", tb_handins from " + QuoteSqlName(role) +
                               ";\n" + StudentRoleSql(role));
    connection.ExecuteDirect("commit");
  } catch (...) {
    if (connection.Engine().InTransaction()) connection.ExecuteDirect("rollback");
    throw;
  }
  return roles;
}

}  // namespace ServerSchema
