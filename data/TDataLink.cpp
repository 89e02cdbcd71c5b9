#include "data/TDataLink.h"

#include "data/TDataSet.h"
#include "data/TDataSource.h"

TDataLink::~TDataLink() {
  if (dataSource_) dataSource_->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (dataSource_ == source) return;
  if (dataSource_) dataSource_->RemoveLink(this);
  dataSource_ = source;
  if (dataSource_) dataSource_->AddLink(this);
  UpdateState();
}

TDataSet* TDataLink::DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }

void TDataLink::DataSourceDestroyed() {
  dataSource_ = nullptr;
  UpdateState();
}

void TDataLink::UpdateState() {
  const TDataSetState state = dataSource_ ? dataSource_->State() : TDataSetState::dsInactive;
  const bool active = state != TDataSetState::dsInactive;
  const bool editing = state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
  if (active != active_) {
    active_ = active;
    ActiveChanged();
  }
  if (editing != editing_) {
    editing_ = editing;
    EditingChanged();
  }
}

bool TDataLink::Edit() {
  TDataSet* dataSet = DataSet();
  if (active_ && !editing_ && dataSet && dataSet->CanModify() && dataSource_->Enabled()) dataSet->Edit();
  return editing_;
}

void TDataLink::UpdateRecord() {
  if (TDataSet* dataSet = DataSet(); dataSet && editing_) dataSet->UpdateRecord();
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
      if (!updating_) {
        updating_ = true;
        try {
          UpdateData();
        } catch (...) {
          updating_ = false;
          throw;
        }
        updating_ = false;
      }
      break;
  }
}
