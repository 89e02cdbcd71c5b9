#pragma once
// The data-aware edit and memo are one control over two bases: the edit or
// memo keeps editing its text, the binding links it to one column of the
// current row (typing starts editing, the text goes into the field before a
// post and when the focus leaves, a refused value keeps the focus).
#include <memory>
#include <string>

#include "data/TDataSource.h"
#include "forms/DriverProperties.h"
#include "forms/db/DBTextBinding.h"

template <class Base, bool MultiLine>
class TDBTextControl : public Base {
public:
  explicit TDBTextControl(TComponent* owner) : Base(owner), Binding_(std::make_unique<TDBTextBinding>(*this)) {}
  ~TDBTextControl() override { Binding_.reset(); }

  TDataSource* DataSource() const { return Binding_->Link().DataSource(); }
  void SetDataSource(TDataSource* source) { Binding_->Link().SetDataSource(source); }
  const std::string& DataField() const { return Binding_->Link().FieldName(); }
  void SetDataField(const std::string& name) { Binding_->Link().SetFieldName(name); }
  bool ReadOnly() const { return Binding_->ReadOnly; }
  void SetReadOnly(bool value) {
    Binding_->ReadOnly = value;
    Base::SetReadOnly(value);
  }
  TField* Field() const { return Binding_->Link().Field(); }

  void WndProc(TMessage& message) override {
    if (Binding_ && Binding_->HandleMessage(message)) return;
    Base::WndProc(message);
  }

  // Script-readable DataField and ReadOnly of a data-aware text class.
  template <class TControlClass>
  static void RegisterDriverProperties() {
    TDriverProperties::Register<TControlClass>("DataField", [](TControlClass& c) { return c.DataField(); });
    TDriverProperties::Register<TControlClass>(
        "ReadOnly", [](TControlClass& c) { return std::string(c.ReadOnly() ? "true" : "false"); });
  }

protected:
  void ControlKeyDown(WORD key, TShiftState shift) override {
    if (Binding_->KeyDownAllowed(key, shift)) Base::ControlKeyDown(key, shift);
  }
  void ControlKeyPress(char32_t key) override {
    if (Binding_->KeyPressAllowed(key, MultiLine)) Base::ControlKeyPress(key);
  }
  void Change() override {
    Binding_->Changed();
    Base::Change();
  }
  void DoExit() override {
    Binding_->Exited();
    Base::DoExit();
  }
  // The text may change: false while the row cannot be edited.
  bool EditCanModify() { return Binding_->EditCanModify(); }

private:
  std::unique_ptr<TDBTextBinding> Binding_;
};
