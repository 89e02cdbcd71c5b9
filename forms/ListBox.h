#pragma once
// The list of text items with one selected item, a vertical scroll bar fed
// through the platform's scroll information, keyboard and wheel scrolling.
#include <memory>

#include "forms/StringList.h"
#include "forms/WinControl.h"
#include "platform/win/Messages.h"

class TCustomListBox : public TCustomControl {
public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;
  std::string ClassName() const override { return "TCustomListBox"; }

  TStrings& Items() { return *Items_; }
  const TStrings& Items() const { return *Items_; }
  int ItemIndex() const { return ItemIndex_; }
  virtual void SetItemIndex(int index);
  int TopIndex() const { return TopIndex_; }
  void SetTopIndex(int index);
  int ItemHeight();
  void SetItemHeight(int height) { ItemHeight_ = height; Invalidate(); }
  bool Sorted() const { return Items_->Sorted(); }
  void SetSorted(bool value) { Items_->SetSorted(value); }
  TBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  // Index of the item at a client point, or -1.
  int ItemAtPos(TPoint pos, bool existing);
  TRect ItemRect(int index);
  void Clear() { Items_->Clear(); }
  int VisibleItemCount();

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void Resize() override;
  // The user moved the selection: OnClick, as classically.
  void SelectByUser(int index);
  void ItemsChanged();
  void UpdateScrollBar();
  void ScrollIntoView(int index);

private:
  std::unique_ptr<TStringList> Items_;
  int ItemIndex_ = -1;
  int TopIndex_ = 0;
  int ItemHeight_ = 0;
  TBorderStyle BorderStyle_ = bsSingle;
  bool Tracking_ = false;
};

class TListBox : public TCustomListBox {
public:
  explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
  std::string ClassName() const override { return "TListBox"; }
};
