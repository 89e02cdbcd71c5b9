#pragma once
// The edit bound to one column of the current row. Typing puts the row into
// editing (typing is refused while the dataset cannot be edited or ReadOnly is
// set); the text goes into the field before the row is posted and when the
// focus leaves. A value the field refuses (text that is not an integer for an
// integer column: "'%s' is not a valid integer value for field '%s'") is
// reported in the error box and the focus comes back with the text selected.
#include <memory>
#include <string>

#include "forms/CustomEdit.h"

class TDataSource;
class TField;
class TDBTextBinding;

class TDBEdit : public TCustomEdit {
public:
  explicit TDBEdit(TComponent* owner);
  ~TDBEdit() override;
  std::string ClassName() const override { return "TDBEdit"; }

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  const std::string& DataField() const;
  void SetDataField(const std::string& name);
  bool ReadOnly() const;
  void SetReadOnly(bool value);
  TField* Field() const;

  void WndProc(TMessage& message) override;

protected:
  void ControlKeyDown(WORD key, TShiftState shift) override;
  void ControlKeyPress(char32_t key) override;
  void Change() override;
  void DoExit() override;
  // The text may change: false while the row cannot be edited.
  bool EditCanModify();

private:
  std::unique_ptr<TDBTextBinding> Binding_;
};
