#include "data/TDataSet.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "data/TADOConnection.h"
#include "data/TDataSource.h"
#include "data/TextCollation.h"
#include "platform/base/Exception.h"

namespace {
const char* const kClosed = "Cannot perform this operation on a closed dataset";
const char* const kOpen = "Cannot perform this operation on an open dataset";
const char* const kReadOnly = "Cannot modify a read-only dataset";
const char* const kNotEditing = "Dataset not in edit or insert mode";
const char* const kEmpty = "Cannot perform this operation on an empty dataset";
const char* const kRowMoved = "Row cannot be located for updating. Some values may have been changed since it was last read.";

std::string QuoteName(std::string_view name) { return QuoteSqlName(name); }
}  // namespace

TDataSet::~TDataSet() {
  for (TDataSource* source : sources_) source->DataSetDestroyed();
}

void TDataSet::SetConnection(TADOConnection* connection) {
  CheckInactive();
  connection_ = connection;
}

void TDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError(kClosed);
}

TDataSet::QuerySpec TDataSet::WithRowId(std::string engineText, size_t star, const std::string& table) const {
  QuerySpec spec;
  TDbEngine& engine = connection_->Engine();
  std::string withRowId = engineText;
  withRowId.replace(star, 1, std::string(engine.RowIdColumn()) + ", *");
  bool prepared = true;
  try {
    engine.Prepare(withRowId)->ColumnCount();  // a server checks the statement only when asked
  } catch (const EDatabaseConnectionError&) {
    throw;  // a silent or lost server is the user's news, not a refused statement
  } catch (const EDatabaseError&) {
    prepared = false;
  }
  if (prepared) {
    spec.EngineText = std::move(withRowId);
    spec.Table = table;
  } else {
    spec.EngineText = std::move(engineText);
  }
  return spec;
}

void TDataSet::CheckInactive() const {
  if (Active()) throw EDatabaseError(kOpen);
}

void TDataSet::CheckCanModify() const {
  if (!CanModify()) throw EDatabaseError(kReadOnly);
}

void TDataSet::Open() {
  if (Active()) return;
  if (!connection_) throw EDatabaseError("Missing Connection or ConnectionString");
  Fetch();
  state_ = TDataSetState::dsBrowse;
  try {
    ApplyFilter();
  } catch (...) {
    state_ = TDataSetState::dsInactive;
    rows_.clear();
    values_.clear();
    texts_ = {};
    visible_.clear();
    for (TField* field : fields_) field->index_ = -1;
    fields_.clear();
    throw;
  }
  cur_ = visible_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = visible_.empty();
  Notify(TDataEvent::deUpdateState);
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Fetch() {
  QuerySpec spec = BuildQuery();
  const std::unique_ptr<TDbStatement> prepared = connection_->Engine().Prepare(spec.EngineText);
  TDbStatement& statement = *prepared;
  if (statement.ColumnCount() == 0) throw EDatabaseError("CommandText does not return a result set");
  for (int i = 0; i < static_cast<int>(spec.Values.size()) && i < statement.ParameterCount(); ++i)
    statement.Bind(i + 1, spec.Values[static_cast<size_t>(i)]);

  const int first = spec.Table ? 1 : 0;
  const int columns = statement.ColumnCount() - first;
  // Fields change only once every row is read, so a failed refresh leaves the old result intact.
  std::vector<TField*> fields;
  std::vector<TFieldType> types;
  std::vector<bool> exact;
  fields.reserve(static_cast<size_t>(columns));
  for (int c = 0; c < columns; ++c) {
    const std::string name = statement.ColumnName(c + first);
    auto found = std::find_if(fieldPool_.begin(), fieldPool_.end(), [&](const auto& f) {
      return f->name_ == name && std::find(fields.begin(), fields.end(), f.get()) == fields.end();
    });
    TField* field;
    if (found != fieldPool_.end()) {
      field = found->get();
    } else {
      fieldPool_.push_back(std::make_unique<TField>(*this, name));
      field = fieldPool_.back().get();
    }
    fields.push_back(field);
    types.push_back(statement.ColumnType(c + first));
    exact.push_back(statement.ColumnComparesExactly(c + first));
  }

  std::vector<Row> rows;
  std::vector<Variant> values;
  TTexts texts;
  // A dataset opened again mostly reads as many rows as the last time: room for
  // them at once spares moving every row read so far each time the list grows
  // (closing keeps the lists' room, so the room tells).
  rows.reserve(rows_.capacity());
  values.reserve(std::max(values_.capacity(), rows_.capacity() * static_cast<size_t>(columns)));
  while (statement.Step()) {
    Row row;
    if (first) row.RowId = statement.ColumnValue(0);
    row.First = values.size();
    for (int c = 0; c < columns; ++c) {
      std::string_view text;
      if (statement.ColumnText(c + first, text) && !text.empty())
        values.push_back(Variant::Borrowed(texts.Keep(text)));
      else
        values.push_back(statement.ColumnValue(c + first));
    }
    rows.push_back(std::move(row));
  }
  for (TField* old : fields_)
    if (std::find(fields.begin(), fields.end(), old) == fields.end()) old->index_ = -1;
  for (size_t c = 0; c < fields.size(); ++c) {
    fields[c]->index_ = static_cast<int>(c);
    fields[c]->type_ = types[c];
    fields[c]->exact_ = exact[c];
  }
  fields_ = std::move(fields);
  rows_ = std::move(rows);
  values_ = std::move(values);
  texts_ = std::move(texts);
  editTable_ = spec.Table;
}

std::string_view TDataSet::TTexts::Keep(std::string_view text) {
  constexpr size_t kBlock = 64 * 1024;
  if (text.size() > Left) {
    const size_t size = std::max(kBlock, text.size());
    Blocks.push_back(std::make_unique<char[]>(size));
    Next = Blocks.back().get();
    Left = size;
  }
  std::memcpy(Next, text.data(), text.size());
  const std::string_view kept(Next, text.size());
  Next += text.size();
  Left -= text.size();
  return kept;
}

void TDataSet::ApplyFilter() {
  filterExpr_.reset();
  if (filtered_ && !filter_.empty()) {
    filterExpr_.emplace(
        filter_,
        [this](std::string_view name) {
          const TField* field = FindField(name);
          return field ? field->Index() : -1;
        },
        [this](int index) { return fields_[static_cast<size_t>(index)]->ComparesExactly(); });
  }
  visible_.clear();
  visible_.reserve(rows_.size());
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
    if (!filterExpr_ || filterExpr_->Matches(Values(rows_[static_cast<size_t>(i)]))) visible_.push_back(i);
}

void TDataSet::Close() {
  if (!Active()) return;
  buffer_.clear();
  changed_.clear();
  modified_ = false;
  rows_.clear();
  values_.clear();
  texts_ = {};
  visible_.clear();
  cur_ = -1;
  bof_ = eof_ = true;
  state_ = TDataSetState::dsInactive;
  for (TField* field : fields_) field->index_ = -1;
  fields_.clear();
  Notify(TDataEvent::deUpdateState);
}

int TDataSet::RecordCount() const { return static_cast<int>(visible_.size()); }

int TDataSet::RecNo() const {
  if (state_ == TDataSetState::dsInsert) return insertAt_ + 1;
  return cur_ + 1;
}

void TDataSet::SetRecNo(int recNo) {
  CheckActive();
  MoveBy(std::clamp(recNo, 1, std::max(1, RecordCount())) - 1 - cur_);
}

int TDataSet::CurrentRowIndex() const {
  if (cur_ < 0 || cur_ >= static_cast<int>(visible_.size())) return -1;
  return visible_[static_cast<size_t>(cur_)];
}

void TDataSet::First() {
  CheckActive();
  CheckBrowseMode();
  cur_ = visible_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = visible_.empty();
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  cur_ = static_cast<int>(visible_.size()) - 1;
  eof_ = true;
  bof_ = visible_.empty();
  Notify(TDataEvent::deDataSetChange);
}

int TDataSet::MoveBy(int distance) {
  CheckActive();
  CheckBrowseMode();
  const int count = RecordCount();
  if (count == 0) {
    bof_ = eof_ = true;
    return 0;
  }
  const int target = std::clamp(cur_ + distance, 0, count - 1);
  const int moved = target - cur_;
  if (distance > 0) {
    bof_ = false;
    eof_ = moved < distance;
  } else if (distance < 0) {
    eof_ = false;
    bof_ = moved > distance;
  }
  cur_ = target;
  if (moved != 0) Notify(TDataEvent::deDataSetScroll, nullptr, moved);
  return moved;
}

TField& TDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount()) throw EDatabaseError("List index out of bounds (" + std::to_string(index) + ")");
  return *fields_[static_cast<size_t>(index)];
}

TField* TDataSet::FindField(std::string_view name) const {
  for (TField* field : fields_)
    if (SameFoldedText(field->FieldName(), name)) return field;
  return nullptr;
}

TField& TDataSet::FieldByName(std::string_view name) const {
  if (TField* field = FindField(name)) return *field;
  throw EDatabaseError("Field '" + std::string(name) + "' not found");
}

const Variant& TDataSet::FieldValue(int index) const {
  static const Variant kNull;
  if (index < 0) throw EDatabaseError(kClosed);
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return buffer_.at(static_cast<size_t>(index));
  const int row = CurrentRowIndex();
  if (row < 0) return kNull;
  if (static_cast<size_t>(index) >= fields_.size()) throw std::out_of_range("TDataSet::FieldValue");
  return values_[rows_[static_cast<size_t>(row)].First + static_cast<size_t>(index)];
}

const Variant& TDataSet::RowValue(int row, int index) const {
  static const Variant kNull;
  if (row < 0 || row >= RecordCount() || index < 0 || index >= FieldCount()) return kNull;
  return values_[rows_[static_cast<size_t>(visible_[static_cast<size_t>(row)])].First + static_cast<size_t>(index)];
}

void TDataSet::SetFieldValue(int index, const Variant& value) {
  if (index < 0) throw EDatabaseError(kClosed);
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) throw EDatabaseError(kNotEditing);
  buffer_.at(static_cast<size_t>(index)) = value;
  changed_[static_cast<size_t>(index)] = true;
  modified_ = true;
  Notify(TDataEvent::deFieldChange, fields_[static_cast<size_t>(index)]);
}

void TDataSet::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  Notify(TDataEvent::deUpdateState);
}

void TDataSet::Edit() {
  CheckActive();
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return;
  CheckCanModify();
  if (IsEmpty()) {
    Insert();
    return;
  }
  const std::span<const Variant> values = Values(rows_[static_cast<size_t>(CurrentRowIndex())]);
  buffer_.assign(values.begin(), values.end());  // copies that own their texts
  changed_.assign(buffer_.size(), false);
  modified_ = false;
  SetState(TDataSetState::dsEdit);
}

void TDataSet::StartInsert(bool append) {
  CheckActive();
  CheckBrowseMode();
  CheckCanModify();
  insertAt_ = append || cur_ < 0 ? RecordCount() : cur_;
  buffer_.assign(fields_.size(), Variant());
  changed_.assign(fields_.size(), false);
  modified_ = false;
  bof_ = eof_ = false;
  SetState(TDataSetState::dsInsert);
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Insert() { StartInsert(false); }
void TDataSet::Append() { StartInsert(true); }

void TDataSet::UpdateRecord() {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) throw EDatabaseError(kNotEditing);
  Notify(TDataEvent::deUpdateRecord);
}

std::string TDataSet::RowMatchClause() const {
  // The row id finds the row; the values it was read with make sure it is still that row.
  const TDbEngine& engine = connection_->Engine();
  std::string clause = " where " + engine.RowIdMatch();
  for (TField* field : fields_) clause += " and " + engine.SameValue(QuoteName(field->FieldName()));
  return clause;
}

void TDataSet::BindRowMatch(TDbStatement& statement, int firstPosition, const Row& row) const {
  statement.Bind(firstPosition, row.RowId);
  const std::span<const Variant> values = Values(row);
  for (size_t i = 0; i < values.size(); ++i) statement.Bind(firstPosition + 1 + static_cast<int>(i), values[i]);
}

void TDataSet::ReadRow(const Variant& rowId, Row& row) {
  TDbEngine& engine = connection_->Engine();
  const auto statement = engine.Prepare("select " + std::string(engine.RowIdColumn()) + ", * from " +
                                        QuoteName(*editTable_) + " where " + engine.RowIdMatch());
  statement->Bind(1, rowId);
  if (!statement->Step()) throw EDatabaseError(kRowMoved);
  row.RowId = rowId;
  if (row.First == kNoValues) {  // a new row: its values go after the others
    row.First = values_.size();
    values_.resize(values_.size() + fields_.size());
  }
  for (size_t c = 0; c < fields_.size() && static_cast<int>(c) + 1 < statement->ColumnCount(); ++c)
    values_[row.First + c] = statement->ColumnValue(static_cast<int>(c) + 1);
}

void TDataSet::WriteUpdate(Row& row) {
  std::string sql = "update " + QuoteName(*editTable_) + " set ";
  bool any = false;
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (!changed_[i]) continue;
    if (any) sql += ", ";
    sql += QuoteName(fields_[i]->FieldName()) + " = ?";
    any = true;
  }
  if (!any) return;
  TDbEngine& engine = connection_->Engine();
  // The row's id may change with the update (a server's row address does).
  sql += RowMatchClause() + " returning " + std::string(engine.RowIdColumn());
  const auto statement = engine.Prepare(sql);
  int position = 1;
  for (size_t i = 0; i < fields_.size(); ++i)
    if (changed_[i]) statement->Bind(position++, buffer_[i]);
  BindRowMatch(*statement, position, row);
  if (!statement->Step()) throw EDatabaseError(kRowMoved);
  const Variant newId = statement->ColumnValue(0);
  if (statement->Step()) throw EDatabaseError(kRowMoved);
  ReadRow(newId, row);
}

Variant TDataSet::WriteInsert() {
  std::string columns, marks;
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (!changed_[i]) continue;
    if (!columns.empty()) { columns += ", "; marks += ", "; }
    columns += QuoteName(fields_[i]->FieldName());
    marks += "?";
  }
  TDbEngine& engine = connection_->Engine();
  const std::string sql = "insert into " + QuoteName(*editTable_) +
                          (columns.empty() ? std::string(" default values") : " (" + columns + ") values (" + marks + ")") +
                          " returning " + std::string(engine.RowIdColumn());
  const auto statement = engine.Prepare(sql);
  int position = 1;
  for (size_t i = 0; i < fields_.size(); ++i)
    if (changed_[i]) statement->Bind(position++, buffer_[i]);
  if (!statement->Step()) throw EDatabaseError(kRowMoved);
  Variant rowId = statement->ColumnValue(0);
  while (statement->Step()) {
  }
  return rowId;
}

void TDataSet::Post() {
  CheckActive();
  UpdateRecord();
  if (BeforePost && (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert)) BeforePost(*this);
  if (state_ == TDataSetState::dsEdit) {
    // On failure the row stays in editing with its edits.
    WriteUpdate(rows_[static_cast<size_t>(CurrentRowIndex())]);
  } else {
    Row row;
    const Variant rowId = WriteInsert();
    ReadRow(rowId, row);
    rows_.push_back(std::move(row));
    visible_.insert(visible_.begin() + insertAt_, static_cast<int>(rows_.size()) - 1);
    cur_ = insertAt_;
  }
  buffer_.clear();
  changed_.clear();
  modified_ = false;
  bof_ = eof_ = false;
  SetState(TDataSetState::dsBrowse);
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Cancel() {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  const bool wasInsert = state_ == TDataSetState::dsInsert;
  buffer_.clear();
  changed_.clear();
  modified_ = false;
  if (wasInsert) {
    cur_ = std::min(cur_, RecordCount() - 1);
    bof_ = cur_ <= 0;
    eof_ = RecordCount() == 0;
  }
  SetState(TDataSetState::dsBrowse);
  Notify(wasInsert ? TDataEvent::deDataSetChange : TDataEvent::deRecordChange);
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == TDataSetState::dsInsert) {
    Cancel();
    return;
  }
  if (IsEmpty()) throw EDatabaseError(kEmpty);
  CheckCanModify();
  if (state_ == TDataSetState::dsEdit) Cancel();
  const int rowIndex = CurrentRowIndex();
  const Row& row = rows_[static_cast<size_t>(rowIndex)];
  const auto statement = connection_->Engine().Prepare("delete from " + QuoteName(*editTable_) + RowMatchClause());
  BindRowMatch(*statement, 1, row);
  while (statement->Step()) {
  }
  if (statement->RowsChanged() != 1) throw EDatabaseError(kRowMoved);
  // Drop the row from the snapshot; indices after it shift down by one.
  rows_.erase(rows_.begin() + rowIndex);
  visible_.erase(visible_.begin() + cur_);
  for (int& v : visible_)
    if (v > rowIndex) --v;
  cur_ = std::min(cur_, RecordCount() - 1);
  bof_ = cur_ <= 0;
  eof_ = RecordCount() == 0;
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Refresh() {
  CheckActive();
  CheckBrowseMode();
  const int rowIndex = CurrentRowIndex();
  const std::optional<Variant> rowId =
      rowIndex >= 0 && editTable_ ? std::optional<Variant>(rows_[static_cast<size_t>(rowIndex)].RowId) : std::nullopt;
  const int oldCur = cur_;
  Fetch();
  ApplyFilter();
  cur_ = -1;
  if (rowId) {
    for (int i = 0; i < RecordCount(); ++i)
      if (rows_[static_cast<size_t>(visible_[static_cast<size_t>(i)])].RowId == *rowId) { cur_ = i; break; }
  }
  if (cur_ < 0) cur_ = std::min(std::max(oldCur, 0), RecordCount() - 1);
  bof_ = cur_ <= 0;
  eof_ = RecordCount() == 0;
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::CheckBrowseMode() {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  UpdateRecord();
  if (modified_) Post();
  else Cancel();
}

void TDataSet::SetFilter(std::string filter) {
  filter_ = std::move(filter);
  if (Active() && filtered_) {
    CheckBrowseMode();
    ApplyFilter();
    First();
  }
}

void TDataSet::SetFiltered(bool value) {
  if (filtered_ == value) return;
  filtered_ = value;
  if (Active()) {
    CheckBrowseMode();
    ApplyFilter();
    First();
  }
}

bool TDataSet::Locate(std::string_view keyFields, const Variant& value, TLocateOptions options) {
  return Locate(keyFields, std::vector<Variant>{value}, options);
}

bool TDataSet::Locate(std::string_view keyFields, const std::vector<Variant>& values, TLocateOptions options) {
  CheckActive();
  CheckBrowseMode();
  std::vector<int> columns;
  size_t start = 0;
  while (start <= keyFields.size()) {
    size_t end = keyFields.find(';', start);
    if (end == std::string_view::npos) end = keyFields.size();
    std::string_view name = keyFields.substr(start, end - start);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    columns.push_back(FieldByName(name).Index());
    start = end + 1;
  }
  if (columns.size() != values.size()) throw EDatabaseError("Locate: the number of key fields and values differ");
  const bool partial = (options & static_cast<unsigned>(TLocateOption::loPartialKey)) != 0;
  const bool anyCase = (options & static_cast<unsigned>(TLocateOption::loCaseInsensitive)) != 0;
  std::vector<bool> exactColumn;
  for (int c : columns) exactColumn.push_back(!anyCase && fields_[static_cast<size_t>(c)]->ComparesExactly());
  for (int i = 0; i < RecordCount(); ++i) {
    const Row& row = rows_[static_cast<size_t>(visible_[static_cast<size_t>(i)])];
    bool match = true;
    for (size_t k = 0; k < columns.size() && match; ++k) {
      const Variant& have = values_[row.First + static_cast<size_t>(columns[k])];
      const Variant& want = values[k];
      if (want.IsNull() || have.IsNull()) {
        match = want.IsNull() && have.IsNull();
        continue;
      }
      const std::string haveText = have.AsString(), wantText = want.AsString();
      // A column that compares exactly is matched exactly unless the caller asks
      // otherwise. Folding keeps the byte length of every letter, so a prefix is a
      // byte prefix either way.
      const std::string_view head = partial ? std::string_view(haveText).substr(0, wantText.size()) : haveText;
      match = exactColumn[k] ? head == wantText : SameFoldedText(head, wantText);
    }
    if (match) {
      const int moved = i - cur_;
      cur_ = i;
      bof_ = eof_ = false;
      if (moved != 0) Notify(TDataEvent::deDataSetScroll, nullptr, moved);
      return true;
    }
  }
  return false;
}

void TDataSet::AddDataSource(TDataSource* source) {
  if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) sources_.push_back(source);
}

void TDataSet::RemoveDataSource(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void TDataSet::Notify(TDataEvent event, TField* field, int info) {
  // A handler may detach a source while we walk: walk a copy.
  const std::vector<TDataSource*> sources = sources_;
  for (TDataSource* source : sources)
    if (std::find(sources_.begin(), sources_.end(), source) != sources_.end()) source->DataEvent(event, field, info);
}
