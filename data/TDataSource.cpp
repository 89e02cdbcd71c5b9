#include "data/TDataSource.h"

#include <algorithm>

#include "data/TDataLink.h"
#include "data/TDataSet.h"

TDataSource::~TDataSource() {
  if (dataSet_) dataSet_->RemoveDataSource(this);
  for (TDataLink* link : links_) link->DataSourceDestroyed();
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet_ == dataSet) return;
  if (dataSet_) dataSet_->RemoveDataSource(this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->AddDataSource(this);
  NotifyLinks(TDataEvent::deUpdateState, nullptr, 0);
  NotifyLinks(TDataEvent::deDataSetChange, nullptr, 0);
}

void TDataSource::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  NotifyLinks(TDataEvent::deUpdateState, nullptr, 0);
  NotifyLinks(TDataEvent::deDataSetChange, nullptr, 0);
}

TDataSetState TDataSource::State() const {
  return dataSet_ && enabled_ ? dataSet_->State() : TDataSetState::dsInactive;
}

void TDataSource::DataSetDestroyed() {
  dataSet_ = nullptr;
  NotifyLinks(TDataEvent::deUpdateState, nullptr, 0);
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int info) {
  if (!enabled_) return;
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
  const std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->DataEvent(event, field, info);
}

void TDataSource::AddLink(TDataLink* link) {
  if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TDataSource::RemoveLink(TDataLink* link) { links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end()); }
