#pragma once
// The seam between the datasets and a database engine. The datasets, the schema
// and the tools speak only through it; SQLite (a db.mdb file) and PostgreSQL (a
// server) stand behind it. Statements reach an engine with "?" markers and their
// values bound by position, never spliced. Every failure is EDatabaseError with a
// message meant for the user.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "data/TField.h"
#include "data/Variant.h"
#include "platform/base/Exception.h"

// The server could not be reached, stopped answering or dropped the connection:
// the statement may or may not have taken effect.
class EDatabaseConnectionError : public EDatabaseError { using EDatabaseError::EDatabaseError; };
// A unique key refused a row that is already there.
class EDatabaseDuplicateError : public EDatabaseError { using EDatabaseError::EDatabaseError; };

class TDbStatement {
public:
  virtual ~TDbStatement() = default;
  virtual int ParameterCount() const = 0;
  // position from 1
  virtual void Bind(int position, const Variant& value) = 0;
  // Runs the statement on the first call; true while a row is ready, false when done.
  virtual bool Step() = 0;
  // Known before the first Step: 0 for a statement that returns no rows.
  virtual int ColumnCount() const = 0;
  virtual std::string ColumnName(int column) const = 0;
  virtual TFieldType ColumnType(int column) const = 0;
  virtual Variant ColumnValue(int column) const = 0;
  // A text column's bytes where the engine keeps them, valid until the next
  // Step; false when the value is no text or the engine hands out none (then
  // ColumnValue gives it). Spares a copy a value when rows are read in bulk.
  virtual bool ColumnText(int /*column*/, std::string_view& /*text*/) const { return false; }
  // True when the column comes straight from a table column that compares
  // exactly; false for folding columns and expressions. The table filter and
  // Locate follow it.
  virtual bool ColumnComparesExactly(int column) const = 0;
  // Rows an insert, update or delete changed, once Step has returned false.
  virtual int RowsChanged() const = 0;
};

enum class TDbEngineKind { Sqlite, Postgres };

class TDbEngine {
public:
  virtual ~TDbEngine() = default;
  virtual TDbEngineKind Kind() const = 0;
  // One statement with "?" markers; text after it other than blanks and ";" is
  // refused. A statement the engine rejects fails here or, at the latest, when
  // its columns are first asked for.
  virtual std::unique_ptr<TDbStatement> Prepare(std::string_view text) = 0;
  // Statements without parameters, several separated by ";" (schema set-up).
  virtual void ExecuteDirect(const std::string& sql) = 0;
  // How an editable result names its rows: the column selected before "*" and
  // the where term that finds one row by that value. The value may change when
  // a row is updated; "returning" the column gives the new one.
  virtual std::string_view RowIdColumn() const = 0;
  virtual std::string RowIdMatch() const = 0;
  // The where term that holds when the column still has exactly the bound value
  // (nulls equal, text compared byte for byte).
  virtual std::string SameValue(std::string_view quotedColumn) const = 0;
  // How long a locked database or a silent server is waited for.
  virtual void SetBusyTimeout(int milliseconds) = 0;
  // True inside a transaction the program began.
  virtual bool InTransaction() const = 0;
  // Where the data lives, for people: a file's full path, a server's address
  // without its password.
  virtual std::string Location() const = 0;

  // Called when the engine has connected again on its own after losing the
  // connection, before the statement that needed it runs; it may run statements
  // itself, and what it raises is not passed on.
  void SetOnReconnect(std::function<void()> handler) { OnReconnect_ = std::move(handler); }

  // Called over and over, a few times a second, while a statement waits for a
  // server, so that the program's windows keep painting; one for the process.
  // It must not run statements: a statement begun on an engine that is waiting
  // is refused.
  static void SetWaitHandler(std::function<void()> handler);
  // Calls the handler if there is one; what it raises is not passed on.
  static void WhileWaiting();

protected:
  std::function<void()> OnReconnect_;
};

// A name quoted for a statement: "name" with inner quotes doubled.
std::string QuoteSqlName(std::string_view name);
