#include "app/data/Schema.h"

#include <string>

#include "data/TADOConnection.h"
#include "data/TADOQuery.h"

namespace Schema {

std::string_view CreateTablesSql() {
  return R"(create table Пользователи (
  Логин text collate nocase,
  Пароль text collate nocase,
  Группа text collate nocase
) strict;
create table БДТест (
  Вопрос text collate nocase,
  Ответ1 text collate nocase,
  Ответ2 text collate nocase,
  Ответ3 text collate nocase,
  Ответ4 text collate nocase,
  Ответ5 text collate nocase,
  ОтветПр integer
) strict;
create table Тесты (
  Пользователь text collate nocase,
  Верно integer
) strict;
create table Лекции (
  НазваниеЛекции text collate nocase,
  АдресЛекции text collate nocase
) strict;
create table Лабы (
  НазваниеЛабы text collate nocase,
  АдресЛабы text collate nocase
) strict;
create table Видео (
  НазваниеВидео text collate nocase,
  АдресВидео text collate nocase
) strict;
)";
}

void CreateTables(TADOConnection& connection) {
  connection.ExecuteDirect("begin");
  try {
    connection.ExecuteDirect(std::string(CreateTablesSql()));
    connection.ExecuteDirect("commit");
  } catch (...) {
    connection.ExecuteDirect("rollback");
    throw;
  }
}

void CheckTables(TADOConnection& connection) {
  TADOQuery query(&connection);
  for (std::string_view table : kTables) {
    query.SQL().Clear();
    query.SQL().Add("select * from " + std::string(table) + " where 0");
    query.Open();
  }
}

}  // namespace Schema
