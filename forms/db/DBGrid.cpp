#include "forms/db/DBGrid.h"
#include "forms/DriverProperties.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/VirtualKeys.h"

#include <algorithm>

#include "data/TDataLink.h"
#include "data/TDataSet.h"
#include "data/TDataSource.h"
#include "data/TField.h"
#include "forms/Canvas.h"
#include "platform/base/TextHelpers.h"
#include "platform/gfx/SystemColors.h"

// Passes the dataset's events to the grid.
class TGridDataLink : public TDataLink {
public:
  explicit TGridDataLink(TDBGrid& grid) : Grid_(grid) {}

protected:
  void ActiveChanged() override { Grid_.LinkActive(); }
  void EditingChanged() override { Grid_.EditingChanged(); }
  void DataSetChanged() override { Grid_.DataChanged(); }
  void DataSetScrolled(int) override { Grid_.RowMoved(); }
  void RecordChanged(TField*) override { Grid_.Invalidate(); }
  void UpdateData() override { Grid_.UpdateData(); }

private:
  TDBGrid& Grid_;
};

// --- TInplaceEdit ------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TDBGrid& grid) : TCustomEdit(nullptr), Grid_(grid) {
  SetBorderStyle(bsNone);
  SetVisible(false);
  TabStop_ = false;
}

LRESULT TInplaceEdit::DialogCode() const { return TCustomEdit::DialogCode() | DLGC_WANTTAB; }

void TInplaceEdit::ControlKeyDown(WORD key, TShiftState shift) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_TAB:
    case VK_F2:
      Grid_.ControlKeyDown(key, shift);
      return;
    default: break;
  }
  TCustomEdit::ControlKeyDown(key, shift);
}

void TInplaceEdit::Change() {
  TCustomEdit::Change();
  if (!Visible() || Grid_.Syncing_) return;
  // Typing in the cell puts the row into editing at once.
  Grid_.EditorDirty_ = true;
  Grid_.Link_->Edit();
}

// --- TDBGrid ---------------------------------------------------------------------------------

TDBGrid::TDBGrid(TComponent* owner) : TCustomControl(owner), Link_(std::make_unique<TGridDataLink>(*this)) {
  ControlStyle_ = {csCaptureMouse, csOpaque, csDoubleClicks, csClickEvents};
  SetBounds(0, 0, 320, 120);
  TabStop_ = true;
  SetColor(clWindow);
  SetParentColor(false);
  TitleFont_.Assign(Font());
  Editor_ = std::make_unique<TInplaceEdit>(*this);
  Editor_->SetParent(this);
}

TDBGrid::~TDBGrid() {
  Destroying();
  Link_.reset();
  Editor_.reset();
}

void TDBGrid::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_VSCROLL | WS_HSCROLL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

TDataSource* TDBGrid::DataSource() const { return Link_->DataSource(); }

void TDBGrid::SetDataSource(TDataSource* source) {
  Link_->SetDataSource(source);
  LinkActive();
}

TDataSet* TDBGrid::DataSet() const { return Link_->Active() ? Link_->DataSet() : nullptr; }

void TDBGrid::SetReadOnly(bool value) {
  ReadOnly_ = value;
  if (value) HideEditor();
}

int TDBGrid::DefaultRowHeight() {
  if (RowHeight_ > 0) return RowHeight_;
  TCanvas measure;
  measure.Font().Assign(Font());
  return measure.TextHeight("Ag") + 4;
}

void TDBGrid::SetDefaultRowHeight(int height) {
  RowHeight_ = std::max(0, height);
  UpdateScrollBars();
  Invalidate();
}

int TDBGrid::TitleHeight() {
  TCanvas measure;
  measure.Font().Assign(TitleFont_);
  return std::max(DefaultRowHeight(), measure.TextHeight("Ag") + 4);
}

// --- columns ------------------------------------------------------------------------------------

int TDBGrid::ColumnCount() const {
  TDataSet* dataSet = DataSet();
  return dataSet ? dataSet->FieldCount() : 0;
}

std::string TDBGrid::ColumnTitle(int col) const {
  TDataSet* dataSet = DataSet();
  if (!dataSet || col < 0 || col >= dataSet->FieldCount()) return {};
  return dataSet->Fields(col).FieldName();
}

int TDBGrid::ColumnWidth(int col) const {
  if (col < 0 || col >= static_cast<int>(Widths_.size())) return 64;
  return Widths_[static_cast<size_t>(col)];
}

void TDBGrid::SetColumnWidth(int col, int width) {
  if (col < 0 || col >= static_cast<int>(Widths_.size())) return;
  Widths_[static_cast<size_t>(col)] = std::max(1, width);
  PlaceEditor();
  UpdateScrollBars();
  Invalidate();
}

void TDBGrid::DefaultColumnWidths() {
  std::vector<std::string> titles;
  for (int c = 0; c < ColumnCount(); ++c) titles.push_back(ColumnTitle(c));
  if (titles == WidthsFor_) return;  // the same columns keep the widths they have
  WidthsFor_ = titles;
  Widths_.assign(titles.size(), 64);
  TCanvas titleCanvas, cellCanvas;
  titleCanvas.Font().Assign(TitleFont_);
  cellCanvas.Font().Assign(Font());
  TDataSet* dataSet = DataSet();
  const int sample = dataSet ? std::min(dataSet->RecordCount(), 50) : 0;
  for (size_t c = 0; c < titles.size(); ++c) {
    int w = titleCanvas.TextWidth(titles[c]);
    for (int r = 0; r < sample; ++r)
      w = std::max(w, cellCanvas.TextWidth(dataSet->RowValue(r, static_cast<int>(c)).ToText()));
    Widths_[c] = std::clamp(w + 8, 32, 250);
  }
  LeftCol_ = std::min(LeftCol_, std::max(0, static_cast<int>(titles.size()) - 1));
  SelectedIndex_ = std::min(SelectedIndex_, std::max(0, static_cast<int>(titles.size()) - 1));
}

// --- rows ------------------------------------------------------------------------------------------

int TDBGrid::RowCount() const {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return 0;
  return dataSet->RecordCount() + (dataSet->State() == TDataSetState::dsInsert ? 1 : 0);
}

int TDBGrid::CurrentRow() const {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return -1;
  const int recNo = dataSet->RecNo();
  return recNo >= 1 && recNo <= RowCount() ? recNo - 1 : -1;
}

std::string TDBGrid::CellText(int row, int col) const {
  TDataSet* dataSet = DataSet();
  if (!dataSet || col < 0 || col >= dataSet->FieldCount() || row < 0 || row >= RowCount()) return {};
  const TDataSetState state = dataSet->State();
  const int current = CurrentRow();
  if (row == current && (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert))
    return dataSet->FieldValue(col).ToText();
  // While inserting, the rows after the new one shift down by one line.
  const int stored = state == TDataSetState::dsInsert && row > current ? row - 1 : row;
  return dataSet->RowValue(stored, col).ToText();
}

int TDBGrid::VisibleRowCount() {
  return std::max(1, (ClientHeight() - TitleHeight()) / std::max(1, DefaultRowHeight()));
}

void TDBGrid::SetTopRow(int row) {
  const int maxTop = std::max(0, RowCount() - VisibleRowCount());
  row = std::clamp(row, 0, maxTop);
  if (row == TopRow_) return;
  TopRow_ = row;
  PlaceEditor();
  UpdateScrollBars();
  Invalidate();
}

void TDBGrid::SetLeftCol(int col) {
  col = std::clamp(col, 0, std::max(0, ColumnCount() - 1));
  if (col == LeftCol_) return;
  LeftCol_ = col;
  PlaceEditor();
  UpdateScrollBars();
  Invalidate();
}

void TDBGrid::ScrollRowIntoView(int row) {
  if (row < 0) return;
  const int visible = VisibleRowCount();
  if (row < TopRow_) SetTopRow(row);
  else if (row >= TopRow_ + visible) SetTopRow(row - visible + 1);
}

void TDBGrid::ScrollColIntoView(int col) {
  if (col < LeftCol_) {
    SetLeftCol(col);
    return;
  }
  // Move the first column right until the column's right edge fits.
  while (LeftCol_ < col) {
    TRect r = CellRect(TopRow_, col);
    if (!r.IsEmpty() && r.Right <= ClientWidth()) break;
    SetLeftCol(LeftCol_ + 1);
  }
}

TRect TDBGrid::CellRect(int row, int col) {
  if (row < TopRow_ || col < LeftCol_ || col >= ColumnCount()) return {};
  const int h = DefaultRowHeight();
  int x = IndicatorWidth();
  for (int c = LeftCol_; c < col; ++c) x += ColumnWidth(c);
  const int y = TitleHeight() + (row - TopRow_) * h;
  if (x >= ClientWidth() || y >= ClientHeight()) return {};
  return {x, y, x + ColumnWidth(col), y + h};
}

bool TDBGrid::CellAt(int x, int y, int& row, int& col) {
  const int titleH = TitleHeight();
  if (y < titleH || x < IndicatorWidth()) return false;
  row = TopRow_ + (y - titleH) / std::max(1, DefaultRowHeight());
  if (row >= RowCount()) return false;
  int left = IndicatorWidth();
  for (int c = LeftCol_; c < ColumnCount(); ++c) {
    if (x < left + ColumnWidth(c)) {
      col = c;
      return true;
    }
    left += ColumnWidth(c);
  }
  return false;
}

void TDBGrid::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  SCROLLINFO si;
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(0, RowCount() - 1);
  si.nPage = static_cast<UINT>(VisibleRowCount());
  si.nPos = TopRow_;
  SetScrollInfo(Handle(), SB_VERT, &si, true);
  SCROLLINFO hi;
  hi.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  hi.nMin = 0;
  hi.nMax = std::max(0, ColumnCount() - 1);
  hi.nPage = 1;
  hi.nPos = LeftCol_;
  SetScrollInfo(Handle(), SB_HORZ, &hi, true);
}

void TDBGrid::SetSelectedIndex(int col) {
  col = std::clamp(col, 0, std::max(0, ColumnCount() - 1));
  if (col == SelectedIndex_) return;
  if (EditorShown_) {
    CommitEditor();
    HideEditor();
  }
  SelectedIndex_ = col;
  ScrollColIntoView(col);
  Invalidate();
}

void TDBGrid::SelectCell(int row, int col) {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return;
  SetSelectedIndex(col);
  const int current = CurrentRow();
  if (row != current && row >= 0) {
    // Moving posts the row being edited first (the dataset does it).
    if (EditorShown_) CommitEditor();
    HideEditor();
    if (dataSet->State() == TDataSetState::dsInsert) {
      // A new row left untouched goes away and the lines below it move up;
      // a posted one stays where it was shown.
      const int insertLine = current;
      const int before = dataSet->RecordCount();
      dataSet->CheckBrowseMode();
      if (dataSet->RecordCount() == before && row > insertLine) --row;
    }
    dataSet->MoveBy(row - (dataSet->RecNo() - 1));
  }
}

// --- editing ------------------------------------------------------------------------------------------

bool TDBGrid::EditorMode() const { return EditorShown_; }

void TDBGrid::SetEditorMode(bool value) {
  if (!value) {
    if (EditorShown_) CommitEditor();
    HideEditor();
    return;
  }
  TDataSet* dataSet = DataSet();
  if (EditorShown_ || ReadOnly_ || !dataSet || !dataSet->CanModify() || ColumnCount() == 0) return;
  if (CurrentRow() < 0 && dataSet->IsEmpty()) return;
  EditorShown_ = true;
  EditorDirty_ = false;
  SetEditorText(CellText(CurrentRow(), SelectedIndex_));
  Editor_->SetModified(false);
  Editor_->Font().Assign(Font());
  PlaceEditor();
  Editor_->SetVisible(true);
  if (Focused() || (GetParentForm(this) && GetParentForm(this)->Showing())) {
    if (Editor_->CanFocus()) Editor_->SetFocus();
  }
  Editor_->SelectAll();
}

void TDBGrid::SetEditorText(const std::string& text) {
  Syncing_ = true;
  Editor_->SetText(text);
  Syncing_ = false;
  Editor_->SetModified(false);
}

void TDBGrid::PlaceEditor() {
  if (!EditorShown_) return;
  ScrollRowIntoView(CurrentRow());
  TRect r = CellRect(CurrentRow(), SelectedIndex_);
  if (r.IsEmpty()) {
    Editor_->SetBounds(-200, -200, 10, 10);
    return;
  }
  Editor_->SetBounds(r.Left + 1, r.Top + 1, std::max(1, r.Width() - 2), std::max(1, r.Height() - 2));
}

void TDBGrid::HideEditor() {
  if (!EditorShown_) return;
  EditorShown_ = false;
  EditorDirty_ = false;
  const bool hadFocus = Editor_->Focused();
  Editor_->SetVisible(false);
  if (hadFocus && CanFocus()) SetFocus();
  Invalidate();
}

void TDBGrid::CommitEditor() {
  if (!EditorShown_ || !EditorDirty_) return;
  TDataSet* dataSet = DataSet();
  if (!dataSet) return;
  if (dataSet->State() == TDataSetState::dsBrowse) dataSet->Edit();
  dataSet->Fields(SelectedIndex_).SetAsString(Editor_->Text());
  EditorDirty_ = false;
}

void TDBGrid::UpdateData() { CommitEditor(); }

// --- data link ----------------------------------------------------------------------------------------

void TDBGrid::LinkActive() {
  if (!DataSet()) {
    HideEditor();
    WidthsFor_.clear();
    Widths_.clear();
    TopRow_ = LeftCol_ = 0;
  } else {
    DefaultColumnWidths();
  }
  DataChanged();
}

void TDBGrid::DataChanged() {
  if (IsDestroying()) return;
  if (DataSet()) DefaultColumnWidths();
  const int maxTop = std::max(0, RowCount() - VisibleRowCount());
  TopRow_ = std::clamp(TopRow_, 0, maxTop);
  ScrollRowIntoView(CurrentRow());
  if (EditorShown_ && !EditorDirty_) SetEditorText(CellText(CurrentRow(), SelectedIndex_));
  PlaceEditor();
  UpdateScrollBars();
  Invalidate();
}

void TDBGrid::RowMoved() {
  HideEditor();
  ScrollRowIntoView(CurrentRow());
  UpdateScrollBars();
  Invalidate();
}

void TDBGrid::EditingChanged() {
  if (!Link_->Editing()) HideEditor();
  Invalidate();
}

// --- input -------------------------------------------------------------------------------------------------

void TDBGrid::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  if (CanFocus() && !Focused() && !Editor_->Focused()) SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  int row = 0, col = 0;
  if (!CellAt(x, y, row, col)) return;
  const bool same = row == CurrentRow() && col == SelectedIndex_;
  SelectCell(row, col);
  if (same && !shift.Contains(ssDouble)) SetEditorMode(true);
  if (OnCellClick) OnCellClick(this, row, col);
}

void TDBGrid::ControlKeyDown(WORD key, TShiftState shift) {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return;
  const bool ctrl = shift.Contains(ssCtrl);
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      if (EditorShown_) CommitEditor();
      HideEditor();
      const int page = std::max(1, VisibleRowCount() - 1);
      if (ctrl && key == VK_PRIOR) dataSet->First();
      else if (ctrl && key == VK_NEXT) dataSet->Last();
      else dataSet->MoveBy(key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -page : page);
      return;
    }
    case VK_HOME:
      if (ctrl) {
        HideEditor();
        dataSet->First();
      } else if (!EditorShown_) {
        SetSelectedIndex(0);
      }
      return;
    case VK_END:
      if (ctrl) {
        HideEditor();
        dataSet->Last();
      } else if (!EditorShown_) {
        SetSelectedIndex(ColumnCount() - 1);
      }
      return;
    case VK_LEFT:
      if (!EditorShown_) SetSelectedIndex(SelectedIndex_ - 1);
      return;
    case VK_RIGHT:
      if (!EditorShown_) SetSelectedIndex(SelectedIndex_ + 1);
      return;
    case VK_TAB:
      SetSelectedIndex(SelectedIndex_ + (shift.Contains(ssShift) ? -1 : 1));
      return;
    case VK_F2:
      SetEditorMode(!EditorShown_);
      return;
    case VK_RETURN:
      SetEditorMode(!EditorShown_);
      return;
    case VK_ESCAPE:
      if (EditorShown_ && EditorDirty_) {
        // First Esc takes back the cell's typing, the second the row's edits.
        SetEditorText(CellText(CurrentRow(), SelectedIndex_));
        EditorDirty_ = false;
        Editor_->SelectAll();
      } else {
        HideEditor();
        dataSet->Cancel();
      }
      return;
    case VK_INSERT:
      if (!ReadOnly_ && dataSet->CanModify()) {
        HideEditor();
        dataSet->Insert();
      }
      return;
    default: break;
  }
}

void TDBGrid::ControlKeyPress(char32_t key) {
  if (key < 32 || key == 127) return;
  // Keys that arrive here while the editor is up belong to it.
  if (EditorShown_) {
    Editor_->Perform(WM_CHAR, static_cast<WPARAM>(key), 0);
    return;
  }
  SetEditorMode(true);
  if (!EditorShown_) return;
  // The key typed on the grid becomes the cell's new text.
  Editor_->SetText("");
  Editor_->Perform(WM_CHAR, static_cast<WPARAM>(key), 0);
}

void TDBGrid::Resize() {
  TCustomControl::Resize();
  const int maxTop = std::max(0, RowCount() - VisibleRowCount());
  TopRow_ = std::clamp(TopRow_, 0, maxTop);
  PlaceEditor();
  UpdateScrollBars();
}

void TDBGrid::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_VSCROLL: {
      const int page = std::max(1, VisibleRowCount() - 1);
      switch (static_cast<int>(LOWORD(message.WParam))) {
        case SB_LINEUP: SetTopRow(TopRow_ - 1); break;
        case SB_LINEDOWN: SetTopRow(TopRow_ + 1); break;
        case SB_PAGEUP: SetTopRow(TopRow_ - page); break;
        case SB_PAGEDOWN: SetTopRow(TopRow_ + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTopRow(static_cast<int>(HIWORD(message.WParam))); break;
        case SB_TOP: SetTopRow(0); break;
        case SB_BOTTOM: SetTopRow(RowCount()); break;
        default: break;
      }
      return;
    }
    case WM_HSCROLL:
      switch (static_cast<int>(LOWORD(message.WParam))) {
        case SB_LINELEFT:
        case SB_PAGELEFT: SetLeftCol(LeftCol_ - 1); break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT: SetLeftCol(LeftCol_ + 1); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetLeftCol(static_cast<int>(HIWORD(message.WParam))); break;
        case SB_LEFT: SetLeftCol(0); break;
        case SB_RIGHT: SetLeftCol(ColumnCount()); break;
        default: break;
      }
      return;
    case WM_MOUSEWHEEL:
      SetTopRow(TopRow_ - 3 * GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA);
      return;
    case WM_CREATE:
      TCustomControl::WndProc(message);
      UpdateScrollBars();
      return;
    default: break;
  }
  TCustomControl::WndProc(message);
}

// --- painting --------------------------------------------------------------------------------------------

void TDBGrid::DrawTitle(TCanvas& canvas, int col, const TRect& rect) {
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(rect);
  TRect r = rect;
  canvas.Frame3D(r, clBtnHighlight, clBtnShadow, 1);
  canvas.Font().Assign(TitleFont_);
  TRect text{rect.Left + 2, rect.Top, rect.Right - 2, rect.Bottom};
  canvas.Brush().SetStyle(bsClear);
  canvas.DrawText(ColumnTitle(col), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  canvas.Brush().SetStyle(bsSolid);
}

void TDBGrid::DrawCell(TCanvas& canvas, int row, int col, const TRect& rect, bool selected) {
  const bool focused = Focused() || Editor_->Focused();
  canvas.Brush().SetColor(selected && focused ? clHighlight : selected ? clBtnFace : Color());
  canvas.FillRect(rect);
  canvas.Font().Assign(Font());
  if (selected && focused) canvas.Font().SetColor(clHighlightText);
  TRect text{rect.Left + 2, rect.Top, rect.Right - 2, rect.Bottom};
  canvas.Brush().SetStyle(bsClear);
  canvas.DrawText(CellText(row, col), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  canvas.Brush().SetStyle(bsSolid);
}

void TDBGrid::Paint() {
  TCanvas& c = Canvas();
  const TRect client = ClientRect();
  c.Brush().SetColor(Color());
  c.FillRect(client);
  const int titleH = TitleHeight();
  const int rowH = DefaultRowHeight();
  const int cols = ColumnCount();
  const int rows = RowCount();
  const int current = CurrentRow();
  // Titles, with the indicator corner.
  TRect corner{0, 0, IndicatorWidth(), titleH};
  c.Brush().SetColor(clBtnFace);
  c.FillRect(corner);
  c.Frame3D(corner, clBtnHighlight, clBtnShadow, 1);
  int x = IndicatorWidth();
  for (int col = LeftCol_; col < cols && x < client.Right; ++col) {
    DrawTitle(c, col, {x, 0, x + ColumnWidth(col), titleH});
    x += ColumnWidth(col);
  }
  c.Pen().SetColor(clSilver);
  for (int row = TopRow_, y = titleH; row < rows && y < client.Bottom; ++row, y += rowH) {
    TRect indicator{0, y, IndicatorWidth(), y + rowH};
    c.Brush().SetColor(clBtnFace);
    c.FillRect(indicator);
    TRect ir = indicator;
    c.Frame3D(ir, clBtnHighlight, clBtnShadow, 1);
    if (row == current) {
      // A small triangle marks the current row (a bar while it is being edited).
      TDataSet* dataSet = DataSet();
      const bool editing = dataSet && dataSet->State() != TDataSetState::dsBrowse;
      const int cy = y + rowH / 2;
      for (int i = 0; i < 4; ++i) {
        if (editing) {
          c.SetPixel(5, cy - 3 + i * 2, clBlack);
          c.SetPixel(6, cy - 3 + i * 2, clBlack);
        } else {
          for (int k = -(3 - i); k <= 3 - i; ++k) c.SetPixel(4 + i, cy + k, clBlack);
        }
      }
    }
    x = IndicatorWidth();
    for (int col = LeftCol_; col < cols && x < client.Right; ++col) {
      TRect cell{x, y, x + ColumnWidth(col) - 1, y + rowH - 1};
      DrawCell(c, row, col, cell, row == current && col == SelectedIndex_);
      c.MoveTo(cell.Right, y);
      c.LineTo(cell.Right, y + rowH);
      c.MoveTo(x, cell.Bottom);
      c.LineTo(x + ColumnWidth(col), cell.Bottom);
      x += ColumnWidth(col);
    }
  }
}

namespace {

std::string JoinRow(const TDBGrid& grid, int row) {
  std::string out;
  for (int c = 0; c < grid.ColumnCount(); ++c) out += (c ? "|" : "") + grid.CellText(row, c);
  return out;
}

}  // namespace

// What the driver reads of a grid, and how it reaches a cell.
void TDBGrid::RegisterDriverProperties() {
  using P = TDriverProperties;
  P::Register<TDBGrid>("CurrentRow", [](TDBGrid& g) { return std::to_string(g.CurrentRow()); }, TDumpAs::Raw,
                       "currentRow");
  P::Register<TDBGrid>("RowCount", [](TDBGrid& g) { return std::to_string(g.RowCount()); }, TDumpAs::Raw, "rowCount");
  P::Register<TDBGrid>("ColumnCount", [](TDBGrid& g) { return std::to_string(g.ColumnCount()); });
  P::Register<TDBGrid>("SelectedIndex", [](TDBGrid& g) { return std::to_string(g.SelectedIndex()); });
  P::Register<TDBGrid>("TopRow", [](TDBGrid& g) { return std::to_string(g.TopRow()); });
  P::Register<TDBGrid>("LeftCol", [](TDBGrid& g) { return std::to_string(g.LeftCol()); });
  P::Register<TDBGrid>("EditorMode", [](TDBGrid& g) { return BoolText(g.EditorMode()); });
  P::Register<TDBGrid>("ReadOnly", [](TDBGrid& g) { return BoolText(g.ReadOnly()); });
  P::Register<TDBGrid>("Titles", [](TDBGrid& g) {
    std::string out;
    for (int c = 0; c < g.ColumnCount(); ++c) out += (c ? "|" : "") + g.ColumnTitle(c);
    return out;
  });
  P::Register<TDBGrid>("CurrentRecord", [](TDBGrid& g) { return JoinRow(g, g.CurrentRow()); });
  P::Register<TDBGrid>("CurrentCell", [](TDBGrid& g) { return g.CellText(g.CurrentRow(), g.SelectedIndex()); });
  P::RegisterRows<TDBGrid>([](TDBGrid& g, int row, int col) -> std::optional<TPoint> {
    if (row < 0 || row >= g.RowCount() || col < 0 || col >= g.ColumnCount()) return std::nullopt;
    if (row < g.TopRow()) g.SetTopRow(row);
    else if (row >= g.TopRow() + g.VisibleRowCount()) g.SetTopRow(row - g.VisibleRowCount() + 1);
    if (col < g.LeftCol()) g.SetLeftCol(col);
    TRect r = g.CellRect(row, col);
    while (r.IsEmpty() || r.Right > g.ClientWidth()) {
      if (g.LeftCol() >= col) break;
      g.SetLeftCol(g.LeftCol() + 1);
      r = g.CellRect(row, col);
    }
    if (r.IsEmpty()) return std::nullopt;
    return TPoint{std::min(r.Left + 6, r.Right - 1), (r.Top + r.Bottom) / 2};
  });
}

