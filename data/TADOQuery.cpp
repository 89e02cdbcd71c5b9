#include "data/TADOQuery.h"

#include "data/SqlMarkers.h"
#include "data/TADOConnection.h"
#include "platform/base/Exception.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Accepts a keyword (any letter case) followed by a blank or the end.
bool Word(std::string_view text, size_t& pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if ((text[pos + i] | 0x20) != word[i]) return false;
  const size_t end = pos + word.size();
  if (end < text.size() && !IsBlank(text[end])) return false;
  pos = end;
  return true;
}

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

// Position of the "*" of "select *", or npos.
size_t StarOf(std::string_view sql, std::string& table) {
  size_t pos = 0;
  SkipBlanks(sql, pos);
  if (!Word(sql, pos, "select")) return std::string_view::npos;
  SkipBlanks(sql, pos);
  if (pos >= sql.size() || sql[pos] != '*') return std::string_view::npos;
  const size_t star = pos++;
  SkipBlanks(sql, pos);
  if (!Word(sql, pos, "from")) return std::string_view::npos;
  SkipBlanks(sql, pos);
  if (pos >= sql.size()) return std::string_view::npos;
  if (sql[pos] == '"' || sql[pos] == '[' || sql[pos] == '`') {
    const char close = sql[pos] == '[' ? ']' : sql[pos];
    const size_t end = sql.find(close, pos + 1);
    if (end == std::string_view::npos) return std::string_view::npos;
    table = std::string(sql.substr(pos + 1, end - pos - 1));
    pos = end + 1;
  } else {
    const size_t start = pos;
    while (pos < sql.size() && !IsBlank(sql[pos]) && sql[pos] != ';' && sql[pos] != ',' && sql[pos] != '(') ++pos;
    table = std::string(sql.substr(start, pos - start));
  }
  SkipBlanks(sql, pos);
  while (pos < sql.size() && (sql[pos] == ';' || IsBlank(sql[pos]))) ++pos;
  if (pos == sql.size()) return star;
  // Only a where clause may follow: a join, an order or a grouping makes it read-only.
  return Word(sql, pos, "where") ? star : std::string_view::npos;
}
}  // namespace

TADOQuery::TADOQuery() {
  Sql_.SetOnChange([this] { SqlChanged(); });
}

TADOQuery::TADOQuery(TADOConnection* connection) : TADOQuery() { SetConnection(connection); }

void TADOQuery::SqlChanged() {
  Close();
  Parameters_.Rebuild(ParseSqlMarkers(Sql_.Text()).Names);
}

std::string TADOQuery::EditableTableOf(std::string_view sql) {
  std::string table;
  return StarOf(sql, table) == std::string_view::npos ? std::string() : table;
}

TDataSet::QuerySpec TADOQuery::BuildQuery() {
  const std::string text = Sql_.Text();
  SqlMarkers markers = ParseSqlMarkers(text);
  QuerySpec spec;
  for (int i = 0; i < Parameters_.Count(); ++i) spec.Values.push_back(Parameters_[i].Value());
  std::string table;
  const size_t star = StarOf(markers.EngineText, table);
  if (star != std::string::npos && !table.empty()) {
    QuerySpec editable = WithRowId(std::move(markers.EngineText), star, table);
    editable.Values = std::move(spec.Values);
    return editable;
  }
  spec.EngineText = std::move(markers.EngineText);
  return spec;
}

int TADOQuery::ExecSQL() {
  if (!Connection()) throw EDatabaseError("Missing Connection or ConnectionString");
  Close();
  const SqlMarkers markers = ParseSqlMarkers(Sql_.Text());
  const std::unique_ptr<TDbStatement> statement = Connection()->Engine().Prepare(markers.EngineText);
  for (int i = 0; i < Parameters_.Count() && i < statement->ParameterCount(); ++i)
    statement->Bind(i + 1, Parameters_[i].Value());
  while (statement->Step()) {
  }
  RowsAffected_ = statement->RowsChanged();
  return RowsAffected_;
}
