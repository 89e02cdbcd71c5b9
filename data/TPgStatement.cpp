#include "data/TPgStatement.h"

#include <libpq-fe.h>

#include <cstdlib>

#include "data/SqlMarkers.h"
#include "data/TPgEngine.h"
#include "platform/base/Exception.h"

namespace {
// Type numbers of the server's integer types (int8, int2, int4) and of boolean,
// which reads as 1 or 0 like the file engine's comparisons.
bool IsIntegerType(Oid type) { return type == 20 || type == 21 || type == 23 || type == 16; }

}  // namespace

TPgStatement::TPgStatement(TPgEngine& engine, std::string_view text) : Engine_(engine) {
  if (HasSecondStatement(text)) throw EDatabaseError("Characters found after end of SQL statement.");
  Text_ = NumberedMarkers(text, ParameterCount_);
  Values_.resize(static_cast<size_t>(ParameterCount_));
}

void TPgStatement::Describe() const {
  if (Description_ || Result_) return;
  PGconn* conn = Engine_.Live();
  if (!PQsendPrepare(conn, "", Text_.c_str(), 0, nullptr)) Engine_.Fail(nullptr);
  PGresult* prepared = Engine_.Await();
  if (PQresultStatus(prepared) != PGRES_COMMAND_OK) Engine_.Fail(prepared);
  PQclear(prepared);
  while (PGresult* rest = Engine_.Await()) PQclear(rest);
  if (!PQsendDescribePrepared(conn, "")) Engine_.Fail(nullptr);
  Description_ = Engine_.Await();
  if (PQresultStatus(Description_) != PGRES_COMMAND_OK) {
    PGresult* failed = Description_;
    Description_ = nullptr;
    Engine_.Fail(failed);
  }
  while (PGresult* rest = Engine_.Await()) PQclear(rest);
}

TPgStatement::~TPgStatement() {
  PQclear(Description_);
  PQclear(Result_);
}

void TPgStatement::Bind(int position, const Variant& value) {
  if (position < 1 || position > ParameterCount_) throw EDatabaseError("bind or column index out of range");
  auto& slot = Values_[static_cast<size_t>(position - 1)];
  switch (value.GetKind()) {
    case Variant::Kind::Null: slot.reset(); break;
    case Variant::Kind::Integer: slot = std::to_string(value.AsInteger()); break;
    case Variant::Kind::Text: slot = value.AsString(); break;
  }
}

bool TPgStatement::Step() {
  if (!Result_) {
    std::vector<const char*> values;
    for (const auto& v : Values_) values.push_back(v ? v->c_str() : nullptr);
    // Sent with its text, in one round trip: an unnamed statement described
    // earlier may have been replaced by another one since.
    PGconn* conn = Engine_.Live();
    if (!PQsendQueryParams(conn, Text_.c_str(), ParameterCount_, nullptr, values.data(), nullptr, nullptr, 0))
      Engine_.Fail(nullptr);
    PGresult* result = Engine_.Await();
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) Engine_.Fail(result);
    while (PGresult* rest = Engine_.Await()) PQclear(rest);
    Result_ = result;
    RowsChanged_ = std::atoi(PQcmdTuples(Result_));
    Row_ = -1;
  }
  if (Row_ + 1 < PQntuples(Result_)) {
    ++Row_;
    return true;
  }
  Row_ = PQntuples(Result_);
  return false;
}

int TPgStatement::ColumnCount() const {
  Describe();
  return PQnfields(Result_ ? Result_ : Description_);
}

std::string TPgStatement::ColumnName(int column) const {
  Describe();
  const char* name = PQfname(Result_ ? Result_ : Description_, column);
  return name ? name : "";
}

TFieldType TPgStatement::ColumnType(int column) const {
  Describe();
  return IsIntegerType(PQftype(Result_ ? Result_ : Description_, column)) ? TFieldType::ftInteger
                                                                          : TFieldType::ftString;
}

Variant TPgStatement::ColumnValue(int column) const {
  if (!Result_ || Row_ < 0 || Row_ >= PQntuples(Result_) || column < 0 || column >= PQnfields(Result_)) return Variant();
  if (PQgetisnull(Result_, Row_, column)) return Variant();
  const char* text = PQgetvalue(Result_, Row_, column);
  const Oid type = PQftype(Result_, column);
  if (type == 16) return Variant(text[0] == 't' ? 1 : 0);
  if (IsIntegerType(type)) return Variant(static_cast<int64_t>(std::strtoll(text, nullptr, 10)));
  return Variant(std::string(text, static_cast<size_t>(PQgetlength(Result_, Row_, column))));
}

bool TPgStatement::ColumnComparesExactly(int column) const {
  Describe();
  const pg_result* r = Result_ ? Result_ : Description_;
  const Oid table = PQftable(r, column);
  const int position = PQftablecol(r, column);
  if (table == InvalidOid || position <= 0) return false;  // an expression
  return !Engine_.FoldingColumn(table, position);
}
