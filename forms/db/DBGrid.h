#pragma once
// The data grid: one column per column of the dataset, titled with its name,
// one line per row in the order the rows arrive, a marker column on the left
// showing the current row. Scrolls by its bars, the wheel and the keys; the
// current row follows the dataset (Locate, navigator) and clicking or moving
// in the grid moves the dataset. Typing, F2, Enter or a click on the current
// cell edits the cell in place; leaving the row posts it (the dataset posts
// before any move). ReadOnly refuses every edit.
#include <memory>
#include <string>
#include <vector>

#include "data/Forward.h"
#include "forms/CustomEdit.h"
#include "forms/WinControl.h"
#include "platform/win/Messages.h"

class TDBGrid;
class TGridDataLink;

// The editor the grid places over the cell being edited.
class TInplaceEdit : public TCustomEdit {
public:
  explicit TInplaceEdit(TDBGrid& grid);
  std::string ClassName() const override { return "TInplaceEdit"; }

protected:
  void ControlKeyDown(WORD key, TShiftState shift) override;
  LRESULT DialogCode() const override;
  void Change() override;

private:
  TDBGrid& Grid_;
};

// A cell's click as the grid reports it (row: 0-based record, col: 0-based column).
using TDBGridClickEvent = std::function<void(TObject* sender, int row, int col)>;

class TDBGrid : public TCustomControl {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TDBGrid(TComponent* owner);
  ~TDBGrid() override;
  std::string ClassName() const override { return "TDBGrid"; }

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const;
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool value);
  TFont& TitleFont() { return TitleFont_; }
  int DefaultRowHeight();
  void SetDefaultRowHeight(int height);

  // --- columns: one per field of the open dataset ---------------------------------
  int ColumnCount() const;
  std::string ColumnTitle(int col) const;
  int ColumnWidth(int col) const;
  void SetColumnWidth(int col, int width);

  // --- rows --------------------------------------------------------------------------
  // Lines shown (the rows, plus the new row while inserting).
  int RowCount() const;
  // The shown text of a cell (the edit buffer for the current row while editing).
  std::string CellText(int row, int col) const;
  // 0-based line of the dataset's current row, -1 when there is none.
  int CurrentRow() const;
  // The column that has the cell cursor (0-based).
  int SelectedIndex() const { return SelectedIndex_; }
  void SetSelectedIndex(int col);
  // First line and first column scrolled into view.
  int TopRow() const { return TopRow_; }
  void SetTopRow(int row);
  int LeftCol() const { return LeftCol_; }
  void SetLeftCol(int col);
  // Lines that fit wholly below the titles.
  int VisibleRowCount();
  // Client rectangle of a cell (empty when scrolled out of view).
  TRect CellRect(int row, int col);
  // The cell under a client point: false outside the data cells.
  bool CellAt(int x, int y, int& row, int& col);

  // --- editing -------------------------------------------------------------------------
  bool EditorMode() const;
  // Starts or ends in-place editing of the current cell.
  void SetEditorMode(bool value);
  TInplaceEdit* InplaceEditor() const { return Editor_.get(); }
  // Moves the dataset to the line and the cell cursor to the column (posting first).
  void SelectCell(int row, int col);

  TDBGridClickEvent OnCellClick;
  void WndProc(TMessage& message) override;

protected:
  friend class TInplaceEdit;
  friend class TGridDataLink;
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  void ControlKeyPress(char32_t key) override;
  LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void Resize() override;
  // Paints one data cell; derived grids may draw their own faces.
  virtual void DrawCell(TCanvas& canvas, int row, int col, const TRect& rect, bool selected);
  virtual void DrawTitle(TCanvas& canvas, int col, const TRect& rect);
  // Called by the data link.
  virtual void LinkActive();
  virtual void DataChanged();
  virtual void RowMoved();
  virtual void EditingChanged();
  virtual void UpdateData();

  int TitleHeight();
  int IndicatorWidth() const { return 12; }
  void UpdateScrollBars();
  void ScrollRowIntoView(int row);
  void ScrollColIntoView(int col);
  void PlaceEditor();
  void HideEditor();
  // Shows a text in the editor without counting it as typing.
  void SetEditorText(const std::string& text);
  // Writes the editor's text into the field (raises on a value the field refuses).
  void CommitEditor();
  void DefaultColumnWidths();

private:
  std::unique_ptr<TGridDataLink> Link_;
  std::unique_ptr<TInplaceEdit> Editor_;
  TFont TitleFont_;
  std::vector<int> Widths_;
  std::vector<std::string> WidthsFor_;  // the titles the widths were measured for
  bool ReadOnly_ = false;
  int RowHeight_ = 0;
  int TopRow_ = 0;
  int LeftCol_ = 0;
  int SelectedIndex_ = 0;
  bool EditorShown_ = false;
  bool EditorDirty_ = false;
  bool Syncing_ = false;
};
