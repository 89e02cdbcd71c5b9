#include "forms/db/DBMemo.h"
#include "forms/DriverProperties.h"

#include "data/TDataSource.h"
#include "forms/db/DBTextBinding.h"

TDBMemo::TDBMemo(TComponent* owner) : TCustomMemo(owner), Binding_(std::make_unique<TDBTextBinding>(*this)) {}

TDBMemo::~TDBMemo() { Binding_.reset(); }

TDataSource* TDBMemo::DataSource() const { return Binding_->Link().DataSource(); }
void TDBMemo::SetDataSource(TDataSource* source) { Binding_->Link().SetDataSource(source); }
const std::string& TDBMemo::DataField() const { return Binding_->Link().FieldName(); }
void TDBMemo::SetDataField(const std::string& name) { Binding_->Link().SetFieldName(name); }
TField* TDBMemo::Field() const { return Binding_->Link().Field(); }
bool TDBMemo::ReadOnly() const { return Binding_->ReadOnly; }

void TDBMemo::SetReadOnly(bool value) {
  Binding_->ReadOnly = value;
  TCustomMemo::SetReadOnly(value);
}

bool TDBMemo::EditCanModify() { return Binding_->EditCanModify(); }

void TDBMemo::ControlKeyDown(WORD key, TShiftState shift) {
  if (Binding_->KeyDownAllowed(key, shift)) TCustomMemo::ControlKeyDown(key, shift);
}

void TDBMemo::ControlKeyPress(char32_t key) {
  if (Binding_->KeyPressAllowed(key, true)) TCustomMemo::ControlKeyPress(key);
}

void TDBMemo::Change() {
  Binding_->Changed();
  TCustomMemo::Change();
}

void TDBMemo::DoExit() {
  Binding_->Exited();
  TCustomMemo::DoExit();
}

void TDBMemo::WndProc(TMessage& message) {
  if (Binding_ && Binding_->HandleMessage(message)) return;
  TCustomMemo::WndProc(message);
}

namespace {

[[maybe_unused]] const bool kDriverRegistered = [] {
  TDriverProperties::Register<TDBMemo>("DataField", [](TDBMemo& c) { return c.DataField(); });
  TDriverProperties::Register<TDBMemo>("ReadOnly", [](TDBMemo& c) { return std::string(c.ReadOnly() ? "true" : "false"); });
  return true;
}();

}  // namespace
