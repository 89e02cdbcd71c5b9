#include "data/TFieldDataLink.h"

#include "data/TDataSet.h"

void TFieldDataLink::SetFieldName(std::string name) {
  FieldName_ = std::move(name);
  UpdateField();
  RecordChanged(nullptr);
}

void TFieldDataLink::UpdateField() {
  TDataSet* dataSet = DataSet();
  Field_ = Active() && dataSet && !FieldName_.empty() ? dataSet->FindField(FieldName_) : nullptr;
}

bool TFieldDataLink::CanModify() const {
  TDataSet* dataSet = DataSet();
  return Field_ && dataSet && dataSet->CanModify();
}

bool TFieldDataLink::Modified() {
  if (!CanModify() || !Edit()) return false;
  Modified_ = true;
  return true;
}

void TFieldDataLink::Reset() { RecordChanged(nullptr); }

void TFieldDataLink::ActiveChanged() {
  UpdateField();
  Modified_ = false;
  if (OnActiveChange) OnActiveChange();
  if (OnDataChange) OnDataChange();
}

void TFieldDataLink::EditingChanged() {
  if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::RecordChanged(TField* field) {
  // A reopened query may have other fields: look the name up again.
  if (!field) UpdateField();
  if (field && field != Field_) return;
  Modified_ = false;
  if (OnDataChange) OnDataChange();
}

void TFieldDataLink::UpdateData() {
  if (!Modified_) return;
  if (Field_ && OnUpdateData) OnUpdateData();
  Modified_ = false;
}
