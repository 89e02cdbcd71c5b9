#include "data/TFieldDataLink.h"

#include "data/TDataSet.h"

void TFieldDataLink::SetFieldName(std::string name) {
  fieldName_ = std::move(name);
  UpdateField();
  RecordChanged(nullptr);
}

void TFieldDataLink::UpdateField() {
  TDataSet* dataSet = DataSet();
  field_ = Active() && dataSet && !fieldName_.empty() ? dataSet->FindField(fieldName_) : nullptr;
}

bool TFieldDataLink::CanModify() const {
  TDataSet* dataSet = DataSet();
  return field_ && dataSet && dataSet->CanModify();
}

bool TFieldDataLink::Modified() {
  if (!CanModify() || !Edit()) return false;
  modified_ = true;
  return true;
}

void TFieldDataLink::Reset() { RecordChanged(nullptr); }

void TFieldDataLink::ActiveChanged() {
  UpdateField();
  modified_ = false;
  if (OnActiveChange) OnActiveChange();
  if (OnDataChange) OnDataChange();
}

void TFieldDataLink::EditingChanged() {
  if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::RecordChanged(TField* field) {
  // A reopened query may have other fields: look the name up again.
  if (!field) UpdateField();
  if (field && field != field_) return;
  modified_ = false;
  if (OnDataChange) OnDataChange();
}

void TFieldDataLink::UpdateData() {
  if (!modified_) return;
  if (field_ && OnUpdateData) OnUpdateData();
  modified_ = false;
}
