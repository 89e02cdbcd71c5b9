#include "data/TDataLink.h"

#include "data/TDataSet.h"
#include "data/TDataSource.h"

TDataLink::~TDataLink() {
  if (DataSource_) DataSource_->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (DataSource_ == source) return;
  if (DataSource_) DataSource_->RemoveLink(this);
  DataSource_ = source;
  if (DataSource_) DataSource_->AddLink(this);
  UpdateState();
}

TDataSet* TDataLink::DataSet() const { return DataSource_ ? DataSource_->DataSet() : nullptr; }

void TDataLink::DataSourceDestroyed() {
  DataSource_ = nullptr;
  UpdateState();
}

void TDataLink::UpdateState() {
  const TDataSetState state = DataSource_ ? DataSource_->State() : TDataSetState::dsInactive;
  const bool active = state != TDataSetState::dsInactive;
  const bool editing = state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
  if (active != Active_) {
    Active_ = active;
    ActiveChanged();
  }
  if (editing != Editing_) {
    Editing_ = editing;
    EditingChanged();
  }
}

bool TDataLink::Edit() {
  TDataSet* dataSet = DataSet();
  if (Active_ && !Editing_ && dataSet && dataSet->CanModify() && DataSource_->Enabled()) dataSet->Edit();
  return Editing_;
}

void TDataLink::UpdateRecord() {
  if (TDataSet* dataSet = DataSet(); dataSet && Editing_) dataSet->UpdateRecord();
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int info) {
  switch (event) {
    case TDataEvent::deUpdateState: UpdateState(); break;
    case TDataEvent::deFieldChange: RecordChanged(field); break;
    case TDataEvent::deRecordChange: RecordChanged(nullptr); break;
    case TDataEvent::deDataSetChange: DataSetChanged(); break;
    case TDataEvent::deDataSetScroll: DataSetScrolled(info); break;
    case TDataEvent::deUpdateRecord:
      // A control writing its text must not re-enter through its own field change.
      if (!Updating_) {
        Updating_ = true;
        try {
          UpdateData();
        } catch (...) {
          Updating_ = false;
          throw;
        }
        Updating_ = false;
      }
      break;
  }
}
