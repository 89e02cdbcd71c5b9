#pragma once
// The datasets as components of a form: the connection, queries, tables and
// data sources are members of the window that owns them (`ADOConnection1`,
// `ADOQuery1`, `DataSource1`), found by name like any control and destroyed
// with it. Each one is the data layer's class and a component at once, so all
// of the dataset's own calls (SQL(), Open(), Locate() ...) work on it directly;
// data/ itself stays free of the framework.
//
// References between components follow free notification: when a connection,
// dataset or data source goes away first, whoever pointed at it lets go (the
// datasets of a closed connection are closed, never left pointing at it).
#include <string>
#include <vector>

#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "data/TADOTable.h"
#include "data/TDataSource.h"
#include "forms/Component.h"

class TADOConnectionComponent : public TComponent, public TADOConnection {
public:
  explicit TADOConnectionComponent(TComponent* owner);
  ~TADOConnectionComponent() override;
  std::string ClassName() const override { return "TADOConnection"; }

  // Opening happens at once, also while the owner is loading: the main
  // window's creation must fail on a database that cannot be opened.
  // Closing (or destroying) the connection closes the datasets that use it.
  void Close();
  void SetConnected(bool value) { value ? Open() : Close(); }

private:
  friend class TDataSetComponent;
  std::vector<class TDataSetComponent*> DataSets_;
};

// Common part of the query and the table: the connection as a component.
class TDataSetComponent : public TComponent {
public:
  explicit TDataSetComponent(TComponent* owner) : TComponent(owner) {}
  ~TDataSetComponent() override;
  // The dataset side of this component.
  virtual TDataSet& DataSetObject() = 0;

  TADOConnectionComponent* ConnectionComponent() const { return Connection_; }
  // Uses the connection (null: none); the dataset must be closed.
  void SetConnection(TADOConnectionComponent* connection);

private:
  TADOConnectionComponent* Connection_ = nullptr;
};

class TADOQueryComponent : public TDataSetComponent, public TADOQuery {
public:
  explicit TADOQueryComponent(TComponent* owner) : TDataSetComponent(owner) {}
  ~TADOQueryComponent() override;
  std::string ClassName() const override { return "TADOQuery"; }
  TDataSet& DataSetObject() override { return *this; }
  using TDataSetComponent::SetConnection;
};

class TADOTableComponent : public TDataSetComponent, public TADOTable {
public:
  explicit TADOTableComponent(TComponent* owner) : TDataSetComponent(owner) {}
  ~TADOTableComponent() override;
  std::string ClassName() const override { return "TADOTable"; }
  TDataSet& DataSetObject() override { return *this; }
  using TDataSetComponent::SetConnection;
};

class TDataSourceComponent : public TComponent, public TDataSource {
public:
  explicit TDataSourceComponent(TComponent* owner) : TComponent(owner) {}
  ~TDataSourceComponent() override;
  std::string ClassName() const override { return "TDataSource"; }

  TDataSetComponent* DataSetComponent() const { return DataSetComponent_; }
  // Shows the dataset (null: none).
  void SetDataSet(TDataSetComponent* dataSet);
  using TDataSource::DataSet;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  TDataSetComponent* DataSetComponent_ = nullptr;
};

// What scripts can read of the connection, datasets and data sources.
void RegisterDataComponentDriverProperties();
