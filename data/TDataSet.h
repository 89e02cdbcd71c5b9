#pragma once
// A snapshot of rows read from the engine, with a current row, editing states and
// an optional filter. Results of "select * from" one table (with or without a
// where clause) are editable: posts and deletes go to exactly the row shown,
// found by its row identity and the values it was read with.
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/TDataEvent.h"
#include "data/TDataSetState.h"
#include "data/TField.h"
#include "data/TFilterExpression.h"
#include "data/Variant.h"

class TADOConnection;
class TDataSource;

enum class TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = unsigned;

class TDataSet {
public:
  TDataSet() = default;
  virtual ~TDataSet();
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  TADOConnection* Connection() const { return Connection_; }
  void SetConnection(TADOConnection* connection);

  void Open();
  // Closing discards edits that were not posted.
  void Close();
  bool Active() const { return State_ != TDataSetState::dsInactive; }
  void SetActive(bool value) { value ? Open() : Close(); }
  TDataSetState State() const { return State_; }

  // Rows shown (after the filter).
  int RecordCount() const;
  bool IsEmpty() const { return RecordCount() == 0; }
  // 1-based number of the current row, 0 when there is none.
  int RecNo() const;
  void SetRecNo(int recNo);
  bool Bof() const { return Bof_; }
  bool Eof() const { return Eof_; }
  // Moving while editing posts (or, with nothing changed, cancels) first.
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  int MoveBy(int distance);

  int FieldCount() const { return static_cast<int>(Fields_.size()); }
  TField& Fields(int index) const;
  TField& FieldByName(std::string_view name) const;  // "Field 'x' not found"
  TField* FindField(std::string_view name) const;

  bool CanModify() const { return Active() && EditTable_.has_value(); }
  bool Modified() const { return Modified_; }
  void Edit();
  void Insert();
  void Append();
  void Post();
  // Runs in Post once the bound controls have written their text into the fields
  // and before the row is written; raising refuses the post, the row stays in editing.
  std::function<void(TDataSet&)> BeforePost;
  void Cancel();
  void Delete();
  // Re-reads the rows, keeping the current row where it still exists.
  void Refresh();
  // Posts or cancels pending edits, as before any move.
  void CheckBrowseMode();
  // Asks the bound controls to write their text into the fields.
  void UpdateRecord();

  const std::string& Filter() const { return Filter_; }
  void SetFilter(std::string filter);
  bool Filtered() const { return Filtered_; }
  void SetFiltered(bool value);

  // Moves to the first row whose fields (names separated by ";") equal the values;
  // text compares as the engine's `=` does. Returns false and stays put if none.
  bool Locate(std::string_view keyFields, const Variant& value, TLocateOptions options = 0);
  bool Locate(std::string_view keyFields, const std::vector<Variant>& values, TLocateOptions options = 0);

  // Value of a field of the current row (the edit buffer while editing).
  const Variant& FieldValue(int index) const;
  void SetFieldValue(int index, const Variant& value);
  // Value of a field of any shown row (0-based), as read: pending edits of the
  // current row are not included. Null outside the rows. Grids and lists read
  // every row through it without moving the current row.
  const Variant& RowValue(int row, int index) const;

  // Data sources attach themselves here.
  void AddDataSource(TDataSource* source);
  void RemoveDataSource(TDataSource* source);

protected:
  struct QuerySpec {
    std::string EngineText;           // the statement with "?" markers
    std::vector<Variant> Values;      // bound by position
    std::optional<std::string> Table; // set when the rows can be edited; the first column is then the row id
  };
  virtual QuerySpec BuildQuery() = 0;
  // Asks for the row id too when the engine takes it; a view or a table without
  // row ids is read as it is, its rows read-only.
  QuerySpec WithRowId(std::string engineText, size_t star, const std::string& table) const;
  void CheckInactive() const;

private:
  // The rows' values lie side by side in one list, a row's fields in a run
  // (Values_[First] on), and their texts in a few large blocks (TTexts) instead
  // of one allocation a value: reading thousands of rows costs little more
  // than the engine's own reading.
  static constexpr size_t kNoValues = static_cast<size_t>(-1);
  struct Row {
    size_t First = kNoValues;  // its first value in Values_
    size_t RowId = kNoValues;  // its row id in RowIds_ (none when the rows cannot be edited)
  };
  struct TTexts {
    std::vector<std::unique_ptr<char[]>> Blocks;
    char* Next = nullptr;
    size_t Left = 0;
    // A copy of the text that stays where it is as long as the blocks do.
    std::string_view Keep(std::string_view text) {
      if (text.size() > Left) NewBlock(text.size());
      std::memcpy(Next, text.data(), text.size());
      const std::string_view kept(Next, text.size());
      Next += text.size();
      Left -= text.size();
      return kept;
    }
    void NewBlock(size_t atLeast);
  };
  std::span<const Variant> Values(const Row& row) const { return {Values_.data() + row.First, Fields_.size()}; }
  // The row's id as the engine names it (RowIdColumn); null without one.
  const Variant& RowIdOf(const Row& row) const;
  void CheckActive() const;
  void CheckCanModify() const;
  void Fetch();
  void ApplyFilter();
  // Back to inactive with no rows and no fields (closing, or an open that failed).
  void ForgetRows();
  void SetState(TDataSetState state);
  void Notify(TDataEvent event, TField* field = nullptr, int info = 0);
  void StartInsert(bool append);
  int CurrentRowIndex() const;  // index into Rows_, -1 when none
  void WriteUpdate(Row& row);
  Variant WriteInsert();
  void ReadRow(const Variant& rowId, Row& row);
  void BindRowMatch(class TDbStatement& statement, int firstPosition, const Row& row) const;
  std::string RowMatchClause() const;

  TADOConnection* Connection_ = nullptr;
  TDataSetState State_ = TDataSetState::dsInactive;
  std::vector<Row> Rows_;
  std::vector<Variant> Values_;  // of Rows_ (a deleted row's stay until the next read)
  std::vector<Variant> RowIds_;  // of Rows_, likewise
  TTexts Texts_;                 // borrowed by Values_
  std::vector<int> Visible_;  // indices into Rows_ of the rows shown
  int Cur_ = -1;              // index into Visible_
  bool Bof_ = true, Eof_ = true;
  std::optional<std::string> EditTable_;
  std::vector<Variant> Buffer_;
  std::vector<bool> Changed_;
  bool Modified_ = false;
  int InsertAt_ = 0;
  std::string Filter_;
  bool Filtered_ = false;
  std::optional<TFilterExpression> FilterExpr_;
  std::vector<std::unique_ptr<TField>> FieldPool_;  // kept across reopening so pointers stay valid
  std::vector<TField*> Fields_;
  std::vector<TDataSource*> Sources_;
};
