#pragma once
// The memo bound to one column of the current row; behaves as TDBEdit does
// (typing starts editing, the text goes into the field before a post and when
// the focus leaves, a refused value keeps the focus).
#include <memory>
#include <string>

#include "forms/Memo.h"

class TDataSource;
class TField;
class TDBTextBinding;

class TDBMemo : public TCustomMemo {
public:
  explicit TDBMemo(TComponent* owner);
  ~TDBMemo() override;
  std::string ClassName() const override { return "TDBMemo"; }

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
  bool EditCanModify();

private:
  std::unique_ptr<TDBTextBinding> Binding_;
};
