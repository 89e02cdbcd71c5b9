#pragma once
// The data layer's own small schema for tests, nothing of the program's, in a
// file or on the server alike:
//   items   an integer key, a unique exact "code", a "title" that folds letter
//           case in a file (the server has no folding column of its own), an
//           integer, a real, a date, a blob and a text column, all but the key
//           and the code nullable;
//   moves   (item, amount), keyless;
//   entries (title, note, amount), keyless and all nullable, so that two rows
//           may be equal in every column and only the row identity tells them
//           apart.
// Fill() writes the rows most tests read: four items (one with a blob, one all
// null but its code, one with a 64-bit quantity) and three moves.
#include <string>

#include "data/TADOConnection.h"
#include "data/TDbEngine.h"
#include "data/TextCollation.h"

namespace ItemsSchema {

inline bool OnServer(TADOConnection& connection) { return connection.Engine().Kind() == TDbEngineKind::Postgres; }

inline void Create(TADOConnection& connection) {
  const bool server = OnServer(connection);
  const std::string folding = server ? "" : " collate " + std::string(kFoldingCollation);
  connection.ExecuteDirect(
      "create table items (id integer primary key, code text not null unique, title text" + folding + ", quantity " +
      (server ? "bigint" : "integer") + ", price " + (server ? "double precision" : "real") + ", arrived date, picture " +
      (server ? "bytea" : "blob") +
      ", note text);"
      "create table moves (item integer not null references items(id), amount integer not null);"
      "create table entries (title text" +
      folding + ", note text, amount integer)");
}

// Three bytes, a zero among them, as each engine writes them in a statement.
inline std::string Picture(TADOConnection& connection) {
  return OnServer(connection) ? "'\\x00ff41'::bytea" : "x'00ff41'";
}

inline void Fill(TADOConnection& connection) {
  connection.ExecuteDirect("insert into items values (1, 'A-1', 'Яблоко', 10, 2.5, '2024-09-01', " +
                           Picture(connection) +
                           ", 'первый'), "
                           "(2, 'a-1', 'яблоко', -3, 0.25, '2024-12-31', null, null), "
                           "(3, 'B-7', 'Груша', null, null, null, null, ''), "
                           "(4, 'C_%', 'Apple 100%', 9007199254740993, -0.001, '2000-02-29', null, 'x');"
                           "insert into moves values (1, 5), (1, -2), (3, 7)");
}

}  // namespace ItemsSchema
