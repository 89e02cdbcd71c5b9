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
  for (TDataSource* source : Sources_) source->DataSetDestroyed();
}

void TDataSet::SetConnection(TADOConnection* connection) {
  CheckInactive();
  Connection_ = connection;
}

void TDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError(kClosed);
}

TDataSet::QuerySpec TDataSet::WithRowId(std::string engineText, size_t star, const std::string& table) const {
  QuerySpec spec;
  TDbEngine& engine = Connection_->Engine();
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
  if (!Connection_) throw EDatabaseError("Missing Connection or ConnectionString");
  Fetch();
  State_ = TDataSetState::dsBrowse;
  try {
    ApplyFilter();
  } catch (...) {
    ForgetRows();
    throw;
  }
  Cur_ = Visible_.empty() ? -1 : 0;
  Bof_ = true;
  Eof_ = Visible_.empty();
  Notify(TDataEvent::deUpdateState);
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Fetch() {
  QuerySpec spec = BuildQuery();
  const std::unique_ptr<TDbStatement> prepared = Connection_->Engine().Prepare(spec.EngineText);
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
    auto found = std::find_if(FieldPool_.begin(), FieldPool_.end(), [&](const auto& f) {
      return f->Name_ == name && std::find(fields.begin(), fields.end(), f.get()) == fields.end();
    });
    TField* field;
    if (found != FieldPool_.end()) {
      field = found->get();
    } else {
      FieldPool_.push_back(std::make_unique<TField>(*this, name));
      field = FieldPool_.back().get();
    }
    fields.push_back(field);
    types.push_back(statement.ColumnType(c + first));
    exact.push_back(statement.ColumnComparesExactly(c + first));
  }

  std::vector<Row> rows;
  std::vector<Variant> values;
  std::vector<Variant> rowIds;
  TTexts texts;
  // A dataset opened again mostly reads as many rows as the last time: room for
  // them at once spares moving every row read so far each time the list grows
  // (closing keeps the lists' room, so the room tells).
  rows.reserve(Rows_.capacity());
  values.reserve(std::max(Values_.capacity(), Rows_.capacity() * static_cast<size_t>(columns)));
  while (statement.Step()) {
    // Made in place: a row and its values are written once, not built and moved in.
    Row& row = rows.emplace_back();
    if (first) {
      row.RowId = rowIds.size();
      rowIds.push_back(statement.ColumnValue(0));
    }
    row.First = values.size();
    for (int c = 0; c < columns; ++c) {
      Variant& value = values.emplace_back();
      std::string_view text;
      if (statement.ColumnText(c + first, text) && !text.empty())
        value.Borrow(texts.Keep(text));
      else
        value = statement.ColumnValue(c + first);
    }
  }
  for (TField* old : Fields_)
    if (std::find(fields.begin(), fields.end(), old) == fields.end()) old->Index_ = -1;
  for (size_t c = 0; c < fields.size(); ++c) {
    fields[c]->Index_ = static_cast<int>(c);
    fields[c]->Type_ = types[c];
    fields[c]->Exact_ = exact[c];
  }
  Fields_ = std::move(fields);
  Rows_ = std::move(rows);
  Values_ = std::move(values);
  RowIds_ = std::move(rowIds);
  Texts_ = std::move(texts);
  EditTable_ = spec.Table;
}

void TDataSet::TTexts::NewBlock(size_t atLeast) {
  constexpr size_t kBlock = 64 * 1024;
  const size_t size = std::max(kBlock, atLeast);
  // Every byte handed out is written first: the block is not cleared.
  Blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
  Next = Blocks.back().get();
  Left = size;
}

void TDataSet::ApplyFilter() {
  FilterExpr_.reset();
  if (Filtered_ && !Filter_.empty()) {
    FilterExpr_.emplace(
        Filter_,
        [this](std::string_view name) {
          const TField* field = FindField(name);
          return field ? field->Index() : -1;
        },
        [this](int index) { return Fields_[static_cast<size_t>(index)]->ComparesExactly(); });
  }
  Visible_.clear();
  Visible_.reserve(Rows_.size());
  for (int i = 0; i < static_cast<int>(Rows_.size()); ++i)
    if (!FilterExpr_ || FilterExpr_->Matches(Values(Rows_[static_cast<size_t>(i)]))) Visible_.push_back(i);
}

void TDataSet::Close() {
  if (!Active()) return;
  Buffer_.clear();
  Changed_.clear();
  Modified_ = false;
  ForgetRows();
  Notify(TDataEvent::deUpdateState);
}

void TDataSet::ForgetRows() {
  State_ = TDataSetState::dsInactive;
  Rows_.clear();
  Values_.clear();
  RowIds_.clear();
  Texts_ = {};
  Visible_.clear();
  Cur_ = -1;
  Bof_ = Eof_ = true;
  for (TField* field : Fields_) field->Index_ = -1;
  Fields_.clear();
}

int TDataSet::RecordCount() const { return static_cast<int>(Visible_.size()); }

int TDataSet::RecNo() const {
  if (State_ == TDataSetState::dsInsert) return InsertAt_ + 1;
  return Cur_ + 1;
}

void TDataSet::SetRecNo(int recNo) {
  CheckActive();
  MoveBy(std::clamp(recNo, 1, std::max(1, RecordCount())) - 1 - Cur_);
}

int TDataSet::CurrentRowIndex() const {
  if (Cur_ < 0 || Cur_ >= static_cast<int>(Visible_.size())) return -1;
  return Visible_[static_cast<size_t>(Cur_)];
}

void TDataSet::First() {
  CheckActive();
  CheckBrowseMode();
  Cur_ = Visible_.empty() ? -1 : 0;
  Bof_ = true;
  Eof_ = Visible_.empty();
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  Cur_ = static_cast<int>(Visible_.size()) - 1;
  Eof_ = true;
  Bof_ = Visible_.empty();
  Notify(TDataEvent::deDataSetChange);
}

int TDataSet::MoveBy(int distance) {
  CheckActive();
  CheckBrowseMode();
  const int count = RecordCount();
  if (count == 0) {
    Bof_ = Eof_ = true;
    return 0;
  }
  const int target = std::clamp(Cur_ + distance, 0, count - 1);
  const int moved = target - Cur_;
  if (distance > 0) {
    Bof_ = false;
    Eof_ = moved < distance;
  } else if (distance < 0) {
    Eof_ = false;
    Bof_ = moved > distance;
  }
  Cur_ = target;
  if (moved != 0) Notify(TDataEvent::deDataSetScroll, nullptr, moved);
  return moved;
}

TField& TDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount()) throw EDatabaseError("List index out of bounds (" + std::to_string(index) + ")");
  return *Fields_[static_cast<size_t>(index)];
}

TField* TDataSet::FindField(std::string_view name) const {
  for (TField* field : Fields_)
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
  if (State_ == TDataSetState::dsEdit || State_ == TDataSetState::dsInsert) return Buffer_.at(static_cast<size_t>(index));
  const int row = CurrentRowIndex();
  if (row < 0) return kNull;
  if (static_cast<size_t>(index) >= Fields_.size()) throw std::out_of_range("TDataSet::FieldValue");
  return Values_[Rows_[static_cast<size_t>(row)].First + static_cast<size_t>(index)];
}

const Variant& TDataSet::RowValue(int row, int index) const {
  static const Variant kNull;
  if (row < 0 || row >= RecordCount() || index < 0 || index >= FieldCount()) return kNull;
  return Values_[Rows_[static_cast<size_t>(Visible_[static_cast<size_t>(row)])].First + static_cast<size_t>(index)];
}

void TDataSet::SetFieldValue(int index, const Variant& value) {
  if (index < 0) throw EDatabaseError(kClosed);
  if (State_ != TDataSetState::dsEdit && State_ != TDataSetState::dsInsert) throw EDatabaseError(kNotEditing);
  Buffer_.at(static_cast<size_t>(index)) = value;
  Changed_[static_cast<size_t>(index)] = true;
  Modified_ = true;
  Notify(TDataEvent::deFieldChange, Fields_[static_cast<size_t>(index)]);
}

void TDataSet::SetState(TDataSetState state) {
  if (State_ == state) return;
  State_ = state;
  Notify(TDataEvent::deUpdateState);
}

void TDataSet::Edit() {
  CheckActive();
  if (State_ == TDataSetState::dsEdit || State_ == TDataSetState::dsInsert) return;
  CheckCanModify();
  if (IsEmpty()) {
    Insert();
    return;
  }
  const std::span<const Variant> values = Values(Rows_[static_cast<size_t>(CurrentRowIndex())]);
  Buffer_.assign(values.begin(), values.end());  // copies that own their texts
  Changed_.assign(Buffer_.size(), false);
  Modified_ = false;
  SetState(TDataSetState::dsEdit);
}

void TDataSet::StartInsert(bool append) {
  CheckActive();
  CheckBrowseMode();
  CheckCanModify();
  InsertAt_ = append || Cur_ < 0 ? RecordCount() : Cur_;
  Buffer_.assign(Fields_.size(), Variant());
  Changed_.assign(Fields_.size(), false);
  Modified_ = false;
  Bof_ = Eof_ = false;
  SetState(TDataSetState::dsInsert);
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Insert() { StartInsert(false); }
void TDataSet::Append() { StartInsert(true); }

void TDataSet::UpdateRecord() {
  if (State_ != TDataSetState::dsEdit && State_ != TDataSetState::dsInsert) throw EDatabaseError(kNotEditing);
  Notify(TDataEvent::deUpdateRecord);
}

std::string TDataSet::RowMatchClause() const {
  // The row id finds the row; the values it was read with make sure it is still that row.
  const TDbEngine& engine = Connection_->Engine();
  std::string clause = " where " + engine.RowIdMatch();
  for (TField* field : Fields_) clause += " and " + engine.SameValue(QuoteName(field->FieldName()));
  return clause;
}

const Variant& TDataSet::RowIdOf(const Row& row) const {
  static const Variant kNone;
  return row.RowId == kNoValues ? kNone : RowIds_[row.RowId];
}

void TDataSet::BindRowMatch(TDbStatement& statement, int firstPosition, const Row& row) const {
  statement.Bind(firstPosition, RowIdOf(row));
  const std::span<const Variant> values = Values(row);
  for (size_t i = 0; i < values.size(); ++i) statement.Bind(firstPosition + 1 + static_cast<int>(i), values[i]);
}

void TDataSet::ReadRow(const Variant& rowId, Row& row) {
  TDbEngine& engine = Connection_->Engine();
  const auto statement = engine.Prepare("select " + std::string(engine.RowIdColumn()) + ", * from " +
                                        QuoteName(*EditTable_) + " where " + engine.RowIdMatch());
  statement->Bind(1, rowId);
  if (!statement->Step()) throw EDatabaseError(kRowMoved);
  if (row.RowId == kNoValues) {
    row.RowId = RowIds_.size();
    RowIds_.push_back(rowId);
  } else {
    RowIds_[row.RowId] = rowId;
  }
  if (row.First == kNoValues) {  // a new row: its values go after the others
    row.First = Values_.size();
    Values_.resize(Values_.size() + Fields_.size());
  }
  for (size_t c = 0; c < Fields_.size() && static_cast<int>(c) + 1 < statement->ColumnCount(); ++c)
    Values_[row.First + c] = statement->ColumnValue(static_cast<int>(c) + 1);
}

void TDataSet::WriteUpdate(Row& row) {
  std::string sql = "update " + QuoteName(*EditTable_) + " set ";
  bool any = false;
  for (size_t i = 0; i < Fields_.size(); ++i) {
    if (!Changed_[i]) continue;
    if (any) sql += ", ";
    sql += QuoteName(Fields_[i]->FieldName()) + " = ?";
    any = true;
  }
  if (!any) return;
  TDbEngine& engine = Connection_->Engine();
  // The row's id may change with the update (a server's row address does).
  sql += RowMatchClause() + " returning " + std::string(engine.RowIdColumn());
  const auto statement = engine.Prepare(sql);
  int position = 1;
  for (size_t i = 0; i < Fields_.size(); ++i)
    if (Changed_[i]) statement->Bind(position++, Buffer_[i]);
  BindRowMatch(*statement, position, row);
  if (!statement->Step()) throw EDatabaseError(kRowMoved);
  const Variant newId = statement->ColumnValue(0);
  if (statement->Step()) throw EDatabaseError(kRowMoved);
  ReadRow(newId, row);
}

Variant TDataSet::WriteInsert() {
  std::string columns, marks;
  for (size_t i = 0; i < Fields_.size(); ++i) {
    if (!Changed_[i]) continue;
    if (!columns.empty()) { columns += ", "; marks += ", "; }
    columns += QuoteName(Fields_[i]->FieldName());
    marks += "?";
  }
  TDbEngine& engine = Connection_->Engine();
  const std::string sql = "insert into " + QuoteName(*EditTable_) +
                          (columns.empty() ? std::string(" default values") : " (" + columns + ") values (" + marks + ")") +
                          " returning " + std::string(engine.RowIdColumn());
  const auto statement = engine.Prepare(sql);
  int position = 1;
  for (size_t i = 0; i < Fields_.size(); ++i)
    if (Changed_[i]) statement->Bind(position++, Buffer_[i]);
  if (!statement->Step()) throw EDatabaseError(kRowMoved);
  Variant rowId = statement->ColumnValue(0);
  while (statement->Step()) {
  }
  return rowId;
}

void TDataSet::Post() {
  CheckActive();
  UpdateRecord();
  if (BeforePost && (State_ == TDataSetState::dsEdit || State_ == TDataSetState::dsInsert)) BeforePost(*this);
  if (State_ == TDataSetState::dsEdit) {
    // On failure the row stays in editing with its edits.
    WriteUpdate(Rows_[static_cast<size_t>(CurrentRowIndex())]);
  } else {
    Row row;
    const Variant rowId = WriteInsert();
    ReadRow(rowId, row);
    Rows_.push_back(std::move(row));
    Visible_.insert(Visible_.begin() + InsertAt_, static_cast<int>(Rows_.size()) - 1);
    Cur_ = InsertAt_;
  }
  Buffer_.clear();
  Changed_.clear();
  Modified_ = false;
  Bof_ = Eof_ = false;
  SetState(TDataSetState::dsBrowse);
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Cancel() {
  if (State_ != TDataSetState::dsEdit && State_ != TDataSetState::dsInsert) return;
  const bool wasInsert = State_ == TDataSetState::dsInsert;
  Buffer_.clear();
  Changed_.clear();
  Modified_ = false;
  if (wasInsert) {
    Cur_ = std::min(Cur_, RecordCount() - 1);
    Bof_ = Cur_ <= 0;
    Eof_ = RecordCount() == 0;
  }
  SetState(TDataSetState::dsBrowse);
  Notify(wasInsert ? TDataEvent::deDataSetChange : TDataEvent::deRecordChange);
}

void TDataSet::Delete() {
  CheckActive();
  if (State_ == TDataSetState::dsInsert) {
    Cancel();
    return;
  }
  if (IsEmpty()) throw EDatabaseError(kEmpty);
  CheckCanModify();
  if (State_ == TDataSetState::dsEdit) Cancel();
  const int rowIndex = CurrentRowIndex();
  const Row& row = Rows_[static_cast<size_t>(rowIndex)];
  const auto statement = Connection_->Engine().Prepare("delete from " + QuoteName(*EditTable_) + RowMatchClause());
  BindRowMatch(*statement, 1, row);
  while (statement->Step()) {
  }
  if (statement->RowsChanged() != 1) throw EDatabaseError(kRowMoved);
  // Drop the row from the snapshot; indices after it shift down by one.
  Rows_.erase(Rows_.begin() + rowIndex);
  Visible_.erase(Visible_.begin() + Cur_);
  for (int& v : Visible_)
    if (v > rowIndex) --v;
  Cur_ = std::min(Cur_, RecordCount() - 1);
  Bof_ = Cur_ <= 0;
  Eof_ = RecordCount() == 0;
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::Refresh() {
  CheckActive();
  CheckBrowseMode();
  const int rowIndex = CurrentRowIndex();
  const std::optional<Variant> rowId =
      rowIndex >= 0 && EditTable_ ? std::optional<Variant>(RowIdOf(Rows_[static_cast<size_t>(rowIndex)])) : std::nullopt;
  const int oldCur = Cur_;
  Fetch();
  ApplyFilter();
  Cur_ = -1;
  if (rowId) {
    for (int i = 0; i < RecordCount(); ++i)
      if (RowIdOf(Rows_[static_cast<size_t>(Visible_[static_cast<size_t>(i)])]) == *rowId) { Cur_ = i; break; }
  }
  if (Cur_ < 0) Cur_ = std::min(std::max(oldCur, 0), RecordCount() - 1);
  Bof_ = Cur_ <= 0;
  Eof_ = RecordCount() == 0;
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::CheckBrowseMode() {
  if (State_ != TDataSetState::dsEdit && State_ != TDataSetState::dsInsert) return;
  UpdateRecord();
  if (Modified_) Post();
  else Cancel();
}

void TDataSet::SetFilter(std::string filter) {
  Filter_ = std::move(filter);
  if (Active() && Filtered_) {
    CheckBrowseMode();
    ApplyFilter();
    First();
  }
}

void TDataSet::SetFiltered(bool value) {
  if (Filtered_ == value) return;
  Filtered_ = value;
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
  for (int c : columns) exactColumn.push_back(!anyCase && Fields_[static_cast<size_t>(c)]->ComparesExactly());
  for (int i = 0; i < RecordCount(); ++i) {
    const Row& row = Rows_[static_cast<size_t>(Visible_[static_cast<size_t>(i)])];
    bool match = true;
    for (size_t k = 0; k < columns.size() && match; ++k) {
      const Variant& have = Values_[row.First + static_cast<size_t>(columns[k])];
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
      const int moved = i - Cur_;
      Cur_ = i;
      Bof_ = Eof_ = false;
      if (moved != 0) Notify(TDataEvent::deDataSetScroll, nullptr, moved);
      return true;
    }
  }
  return false;
}

void TDataSet::AddDataSource(TDataSource* source) {
  if (std::find(Sources_.begin(), Sources_.end(), source) == Sources_.end()) Sources_.push_back(source);
}

void TDataSet::RemoveDataSource(TDataSource* source) {
  Sources_.erase(std::remove(Sources_.begin(), Sources_.end(), source), Sources_.end());
}

void TDataSet::Notify(TDataEvent event, TField* field, int info) {
  if (Sources_.empty()) return;  // a dataset read by code alone: every move comes here
  // A handler may detach a source while we walk: walk a copy.
  const std::vector<TDataSource*> sources = Sources_;
  for (TDataSource* source : sources)
    if (std::find(Sources_.begin(), Sources_.end(), source) != Sources_.end()) source->DataEvent(event, field, info);
}
