#pragma once
// The base of every data-aware control's link to a data source. Subclasses
// override the notifications they care about.
#include "data/TDataEvent.h"

class TDataSource;
class TDataSet;
class TField;

class TDataLink {
public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return DataSource_; }
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const;
  // The data source has an open dataset.
  bool Active() const { return Active_; }
  // The dataset is in edit or insert state.
  bool Editing() const { return Editing_; }
  // Puts the dataset into editing when it can be; returns Editing().
  bool Edit();
  void UpdateRecord();

  // Called by the data source.
  void DataEvent(TDataEvent event, TField* field, int info);
  void DataSourceDestroyed();

protected:
  virtual void ActiveChanged() {}
  virtual void EditingChanged() {}
  virtual void DataSetChanged() {}
  virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
  // field is null when the whole row changed.
  virtual void RecordChanged(TField* /*field*/) {}
  // Write the control's text into its field (before a post).
  virtual void UpdateData() {}

private:
  void UpdateState();
  TDataSource* DataSource_ = nullptr;
  bool Active_ = false;
  bool Editing_ = false;
  bool Updating_ = false;
};
