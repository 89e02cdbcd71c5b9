#pragma once
// Connects one dataset to the data-aware controls' data links and passes the
// dataset's events on to them.
#include <functional>
#include <vector>

#include "data/TDataEvent.h"
#include "data/TDataSetState.h"

class TDataSet;
class TDataLink;
class TField;

class TDataSource {
public:
  TDataSource() = default;
  explicit TDataSource(TDataSet* dataSet) { SetDataSet(dataSet); }
  ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  TDataSet* DataSet() const { return DataSet_; }
  void SetDataSet(TDataSet* dataSet);
  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool value);
  // dsInactive when there is no dataset or the source is disabled.
  TDataSetState State() const;

  std::function<void()> OnStateChange;
  std::function<void(TField*)> OnDataChange;  // null field: the whole row or the rows

  // Called by the dataset.
  void DataEvent(TDataEvent event, TField* field, int info);
  void DataSetDestroyed();
  // Called by the data links.
  void AddLink(TDataLink* link);
  void RemoveLink(TDataLink* link);

private:
  void NotifyLinks(TDataEvent event, TField* field, int info);
  TDataSet* DataSet_ = nullptr;
  bool Enabled_ = true;
  std::vector<TDataLink*> Links_;
};
