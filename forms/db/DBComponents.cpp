#include "forms/db/DBComponents.h"

#include <algorithm>

TADOConnectionComponent::TADOConnectionComponent(TComponent* owner) : TComponent(owner) {}

TADOConnectionComponent::~TADOConnectionComponent() {
  Destroying();
  // The datasets of other windows must not keep a connection that is gone.
  const std::vector<TDataSetComponent*> dataSets = dataSets_;
  for (TDataSetComponent* dataSet : dataSets) dataSet->SetConnection(nullptr);
}

void TADOConnectionComponent::Close() {
  for (TDataSetComponent* dataSet : dataSets_) dataSet->DataSetObject().Close();
  TADOConnection::Close();
}

TDataSetComponent::~TDataSetComponent() {
  if (connection_) {
    auto& list = connection_->dataSets_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TDataSetComponent::SetConnection(TADOConnectionComponent* connection) {
  if (connection == connection_) return;
  TDataSet& dataSet = DataSetObject();
  // Losing the connection closes the dataset; choosing another needs it closed.
  if (!connection) dataSet.Close();
  dataSet.SetConnection(connection);
  if (connection_) {
    auto& list = connection_->dataSets_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  connection_ = connection;
  if (connection_) connection_->dataSets_.push_back(this);
}

TADOQueryComponent::~TADOQueryComponent() {
  Destroying();
  SetConnection(nullptr);
}

TADOTableComponent::~TADOTableComponent() {
  Destroying();
  SetConnection(nullptr);
}

TDataSourceComponent::~TDataSourceComponent() { Destroying(); }

void TDataSourceComponent::SetDataSet(TDataSetComponent* dataSet) {
  if (dataSet == dataSetComponent_) return;
  if (dataSetComponent_) RemoveFreeNotification(dataSetComponent_);
  dataSetComponent_ = dataSet;
  if (dataSet) FreeNotification(dataSet);
  TDataSource::SetDataSet(dataSet ? &dataSet->DataSetObject() : nullptr);
}

void TDataSourceComponent::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == dataSetComponent_) {
    dataSetComponent_ = nullptr;
    TDataSource::SetDataSet(nullptr);
  }
}
