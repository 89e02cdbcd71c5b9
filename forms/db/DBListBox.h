#pragma once
// The list box bound to one column: the program fills Items; the item equal to
// the current row's value of DataField is selected, and choosing an item (when
// the dataset can be edited and ReadOnly is off) puts the row into editing with
// that item as the field's value. Without a DataSource it is a plain list box.
#include <memory>
#include <string>

#include "data/Forward.h"
#include "forms/ListBox.h"

class TFieldDataLink;

class TDBListBox : public TCustomListBox {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TDBListBox(TComponent* owner);
  ~TDBListBox() override;
  std::string ClassName() const override { return "TDBListBox"; }

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  const std::string& DataField() const;
  void SetDataField(const std::string& name);
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool value) { ReadOnly_ = value; }
  // The bound field of the open dataset, or null.
  TField* Field() const;

  void WndProc(TMessage& message) override;

  void Click() override;

protected:
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  // The link told us the row changed: select the item holding its value.
  virtual void DataChange();
  // Before a post: write the chosen item into the field.
  virtual void UpdateData();

  // Bound to a source: the selection may change only while the row can be edited.
  bool CanChoose();

private:
  std::unique_ptr<TFieldDataLink> Link_;
  bool ReadOnly_ = false;
};
