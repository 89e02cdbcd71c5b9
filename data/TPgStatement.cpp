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

TPgStatement::TPgStatement(TPgEngine& engine, std::string_view text) : engine_(engine) {
  if (HasSecondStatement(text)) throw EDatabaseError("Characters found after end of SQL statement.");
  text_ = NumberedMarkers(text, parameterCount_);
  values_.resize(static_cast<size_t>(parameterCount_));
}

void TPgStatement::Describe() const {
  if (description_ || result_) return;
  PGconn* conn = engine_.Live();
  if (!PQsendPrepare(conn, "", text_.c_str(), 0, nullptr)) engine_.Fail(nullptr);
  PGresult* prepared = engine_.Await();
  if (PQresultStatus(prepared) != PGRES_COMMAND_OK) engine_.Fail(prepared);
  PQclear(prepared);
  while (PGresult* rest = engine_.Await()) PQclear(rest);
  if (!PQsendDescribePrepared(conn, "")) engine_.Fail(nullptr);
  description_ = engine_.Await();
  if (PQresultStatus(description_) != PGRES_COMMAND_OK) {
    PGresult* failed = description_;
    description_ = nullptr;
    engine_.Fail(failed);
  }
  while (PGresult* rest = engine_.Await()) PQclear(rest);
}

TPgStatement::~TPgStatement() {
  PQclear(description_);
  PQclear(result_);
}

void TPgStatement::Bind(int position, const Variant& value) {
  if (position < 1 || position > parameterCount_) throw EDatabaseError("bind or column index out of range");
  auto& slot = values_[static_cast<size_t>(position - 1)];
  switch (value.GetKind()) {
    case Variant::Kind::Null: slot.reset(); break;
    case Variant::Kind::Integer: slot = std::to_string(value.AsInteger()); break;
    case Variant::Kind::Text: slot = value.AsString(); break;
  }
}

bool TPgStatement::Step() {
  if (!result_) {
    std::vector<const char*> values;
    for (const auto& v : values_) values.push_back(v ? v->c_str() : nullptr);
    // Sent with its text, in one round trip: an unnamed statement described
    // earlier may have been replaced by another one since.
    PGconn* conn = engine_.Live();
    if (!PQsendQueryParams(conn, text_.c_str(), parameterCount_, nullptr, values.data(), nullptr, nullptr, 0))
      engine_.Fail(nullptr);
    PGresult* result = engine_.Await();
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) engine_.Fail(result);
    while (PGresult* rest = engine_.Await()) PQclear(rest);
    result_ = result;
    rowsChanged_ = std::atoi(PQcmdTuples(result_));
    row_ = -1;
  }
  if (row_ + 1 < PQntuples(result_)) {
    ++row_;
    return true;
  }
  row_ = PQntuples(result_);
  return false;
}

int TPgStatement::ColumnCount() const {
  Describe();
  return PQnfields(result_ ? result_ : description_);
}

std::string TPgStatement::ColumnName(int column) const {
  Describe();
  const char* name = PQfname(result_ ? result_ : description_, column);
  return name ? name : "";
}

TFieldType TPgStatement::ColumnType(int column) const {
  Describe();
  return IsIntegerType(PQftype(result_ ? result_ : description_, column)) ? TFieldType::ftInteger
                                                                          : TFieldType::ftString;
}

Variant TPgStatement::ColumnValue(int column) const {
  if (!result_ || row_ < 0 || row_ >= PQntuples(result_) || column < 0 || column >= PQnfields(result_)) return Variant();
  if (PQgetisnull(result_, row_, column)) return Variant();
  const char* text = PQgetvalue(result_, row_, column);
  const Oid type = PQftype(result_, column);
  if (type == 16) return Variant(text[0] == 't' ? 1 : 0);
  if (IsIntegerType(type)) return Variant(static_cast<int64_t>(std::strtoll(text, nullptr, 10)));
  return Variant(std::string(text, static_cast<size_t>(PQgetlength(result_, row_, column))));
}

bool TPgStatement::ColumnComparesExactly(int column) const {
  Describe();
  const pg_result* r = result_ ? result_ : description_;
  const Oid table = PQftable(r, column);
  const int position = PQftablecol(r, column);
  if (table == InvalidOid || position <= 0) return false;  // an expression
  return !engine_.FoldingColumn(table, position);
}
