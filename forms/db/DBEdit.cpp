#include "forms/db/DBEdit.h"
#include "forms/DriverProperties.h"

#include "data/TDataSource.h"
#include "forms/db/DBTextBinding.h"

TDBEdit::TDBEdit(TComponent* owner) : TCustomEdit(owner), Binding_(std::make_unique<TDBTextBinding>(*this)) {}

TDBEdit::~TDBEdit() { Binding_.reset(); }

TDataSource* TDBEdit::DataSource() const { return Binding_->Link().DataSource(); }
void TDBEdit::SetDataSource(TDataSource* source) { Binding_->Link().SetDataSource(source); }
const std::string& TDBEdit::DataField() const { return Binding_->Link().FieldName(); }
void TDBEdit::SetDataField(const std::string& name) { Binding_->Link().SetFieldName(name); }
TField* TDBEdit::Field() const { return Binding_->Link().Field(); }
bool TDBEdit::ReadOnly() const { return Binding_->ReadOnly; }

void TDBEdit::SetReadOnly(bool value) {
  Binding_->ReadOnly = value;
  TCustomEdit::SetReadOnly(value);
}

bool TDBEdit::EditCanModify() { return Binding_->EditCanModify(); }

void TDBEdit::ControlKeyDown(WORD key, TShiftState shift) {
  if (Binding_->KeyDownAllowed(key, shift)) TCustomEdit::ControlKeyDown(key, shift);
}

void TDBEdit::ControlKeyPress(char32_t key) {
  if (Binding_->KeyPressAllowed(key, false)) TCustomEdit::ControlKeyPress(key);
}

void TDBEdit::Change() {
  Binding_->Changed();
  TCustomEdit::Change();
}

void TDBEdit::DoExit() {
  Binding_->Exited();
  TCustomEdit::DoExit();
}

void TDBEdit::WndProc(TMessage& message) {
  if (Binding_ && Binding_->HandleMessage(message)) return;
  TCustomEdit::WndProc(message);
}

namespace {

[[maybe_unused]] const bool kDriverRegistered = [] {
  TDriverProperties::Register<TDBEdit>("DataField", [](TDBEdit& c) { return c.DataField(); });
  TDriverProperties::Register<TDBEdit>("ReadOnly", [](TDBEdit& c) { return std::string(c.ReadOnly() ? "true" : "false"); });
  return true;
}();

}  // namespace
