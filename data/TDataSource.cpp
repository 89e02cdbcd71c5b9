#include "data/TDataSource.h"

#include <algorithm>

#include "data/TDataLink.h"
#include "data/TDataSet.h"

TDataSource::~TDataSource() {
  if (DataSet_) DataSet_->RemoveDataSource(this);
  for (TDataLink* link : Links_) link->DataSourceDestroyed();
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (DataSet_ == dataSet) return;
  if (DataSet_) DataSet_->RemoveDataSource(this);
  DataSet_ = dataSet;
  if (DataSet_) DataSet_->AddDataSource(this);
  NotifyLinks(TDataEvent::deUpdateState, nullptr, 0);
  NotifyLinks(TDataEvent::deDataSetChange, nullptr, 0);
}

void TDataSource::SetEnabled(bool value) {
  if (Enabled_ == value) return;
  Enabled_ = value;
  NotifyLinks(TDataEvent::deUpdateState, nullptr, 0);
  NotifyLinks(TDataEvent::deDataSetChange, nullptr, 0);
}

TDataSetState TDataSource::State() const {
  return DataSet_ && Enabled_ ? DataSet_->State() : TDataSetState::dsInactive;
}

void TDataSource::DataSetDestroyed() {
  DataSet_ = nullptr;
  NotifyLinks(TDataEvent::deUpdateState, nullptr, 0);
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int info) {
  if (!Enabled_) return;
  NotifyLinks(event, field, info);
  switch (event) {
    case TDataEvent::deUpdateState:
      if (OnStateChange) OnStateChange();
      break;
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
      if (OnDataChange) OnDataChange(event == TDataEvent::deFieldChange ? field : nullptr);
      break;
    case TDataEvent::deUpdateRecord:
      break;
  }
}

void TDataSource::NotifyLinks(TDataEvent event, TField* field, int info) {
  const std::vector<TDataLink*> links = Links_;
  for (TDataLink* link : links)
    if (std::find(Links_.begin(), Links_.end(), link) != Links_.end()) link->DataEvent(event, field, info);
}

void TDataSource::AddLink(TDataLink* link) {
  if (std::find(Links_.begin(), Links_.end(), link) == Links_.end()) Links_.push_back(link);
}

void TDataSource::RemoveLink(TDataLink* link) { Links_.erase(std::remove(Links_.begin(), Links_.end(), link), Links_.end()); }
