#include "forms/db/DBListBox.h"
#include "forms/DriverProperties.h"
#include "platform/win/VirtualKeys.h"

#include "data/TDataSource.h"
#include "data/TField.h"
#include "data/TFieldDataLink.h"
#include "platform/base/TextHelpers.h"

TDBListBox::TDBListBox(TComponent* owner) : TCustomListBox(owner), Link_(std::make_unique<TFieldDataLink>()) {
  Link_->OnDataChange = [this] { DataChange(); };
  Link_->OnUpdateData = [this] { UpdateData(); };
}

TDBListBox::~TDBListBox() {
  Destroying();
  Link_.reset();
}

TDataSource* TDBListBox::DataSource() const { return Link_->DataSource(); }
void TDBListBox::SetDataSource(TDataSource* source) { Link_->SetDataSource(source); }
const std::string& TDBListBox::DataField() const { return Link_->FieldName(); }
void TDBListBox::SetDataField(const std::string& name) { Link_->SetFieldName(name); }
TField* TDBListBox::Field() const { return Link_->Field(); }

void TDBListBox::DataChange() {
  if (!Link_->DataSource()) return;
  TField* field = Link_->Field();
  SetItemIndex(field ? Items().IndexOf(field->AsString()) : -1);
}

void TDBListBox::UpdateData() {
  if (TField* field = Link_->Field()) field->SetAsString(ItemIndex() >= 0 ? Items().Get(ItemIndex()) : std::string());
}

bool TDBListBox::CanChoose() {
  if (!Link_->DataSource()) return true;
  return !ReadOnly_ && Link_->Field() && Link_->Edit();
}

void TDBListBox::Click() {
  if (Link_->DataSource()) Link_->Modified();
  TCustomListBox::Click();
}

void TDBListBox::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  if (button == mbLeft && !CanChoose()) {
    if (CanFocus() && !Focused()) SetFocus();
    TControl::MouseDown(button, shift, x, y);
    return;
  }
  TCustomListBox::MouseDown(button, shift, x, y);
}

void TDBListBox::MouseMove(TShiftState shift, int x, int y) {
  if (shift.Contains(ssLeft) && Link_->DataSource() && !Link_->Editing()) {
    TControl::MouseMove(shift, x, y);
    return;
  }
  TCustomListBox::MouseMove(shift, x, y);
}

void TDBListBox::ControlKeyDown(WORD key, TShiftState shift) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
      if (!CanChoose()) return;
      break;
    case VK_ESCAPE:
      if (Link_->IsModified()) Link_->Reset();
      return;
    default: break;
  }
  TCustomListBox::ControlKeyDown(key, shift);
}

void TDBListBox::WndProc(TMessage& message) { TCustomListBox::WndProc(message); }

void TDBListBox::RegisterDriverProperties() {
  TDriverProperties::Register<TDBListBox>("DataField", [](TDBListBox& c) { return c.DataField(); });
  TDriverProperties::Register<TDBListBox>("ReadOnly", [](TDBListBox& c) { return BoolText(c.ReadOnly()); });
}

