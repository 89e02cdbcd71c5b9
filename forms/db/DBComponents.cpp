#include "forms/db/DBComponents.h"
#include "forms/DriverProperties.h"
#include "platform/base/TextHelpers.h"

#include <algorithm>

TADOConnectionComponent::TADOConnectionComponent(TComponent* owner) : TComponent(owner) {}

TADOConnectionComponent::~TADOConnectionComponent() {
  Destroying();
  // The datasets of other windows must not keep a connection that is gone.
  const std::vector<TDataSetComponent*> dataSets = DataSets_;
  for (TDataSetComponent* dataSet : dataSets) dataSet->SetConnection(nullptr);
}

void TADOConnectionComponent::Close() {
  for (TDataSetComponent* dataSet : DataSets_) dataSet->DataSetObject().Close();
  TADOConnection::Close();
}

TDataSetComponent::~TDataSetComponent() {
  if (Connection_) {
    auto& list = Connection_->DataSets_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TDataSetComponent::SetConnection(TADOConnectionComponent* connection) {
  if (connection == Connection_) return;
  TDataSet& dataSet = DataSetObject();
  // Losing the connection closes the dataset; choosing another needs it closed.
  if (!connection) dataSet.Close();
  dataSet.SetConnection(connection);
  if (Connection_) {
    auto& list = Connection_->DataSets_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  Connection_ = connection;
  if (Connection_) Connection_->DataSets_.push_back(this);
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
  if (dataSet == DataSetComponent_) return;
  if (DataSetComponent_) RemoveFreeNotification(DataSetComponent_);
  DataSetComponent_ = dataSet;
  if (dataSet) FreeNotification(dataSet);
  TDataSource::SetDataSet(dataSet ? &dataSet->DataSetObject() : nullptr);
}

void TDataSourceComponent::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == DataSetComponent_) {
    DataSetComponent_ = nullptr;
    TDataSource::SetDataSet(nullptr);
  }
}

namespace {

const char* StateName(TDataSetState state) {
  switch (state) {
    case TDataSetState::dsInactive: return "dsInactive";
    case TDataSetState::dsBrowse: return "dsBrowse";
    case TDataSetState::dsEdit: return "dsEdit";
    case TDataSetState::dsInsert: return "dsInsert";
  }
  return "";
}

}  // namespace

void RegisterDataComponentDriverProperties() {
  using P = TDriverProperties;
  P::Register<TADOConnectionComponent>("Connected", [](TADOConnectionComponent& c) { return BoolText(c.Connected()); });
  P::Register<TDataSetComponent>("Active", [](TDataSetComponent& d) { return BoolText(d.DataSetObject().Active()); });
  P::Register<TDataSetComponent>("State", [](TDataSetComponent& d) { return StateName(d.DataSetObject().State()); });
  P::Register<TDataSetComponent>("RecordCount",
                                 [](TDataSetComponent& d) { return std::to_string(d.DataSetObject().RecordCount()); });
  P::Register<TDataSetComponent>("RecNo", [](TDataSetComponent& d) { return std::to_string(d.DataSetObject().RecNo()); });
  P::Register<TDataSetComponent>("Bof", [](TDataSetComponent& d) { return BoolText(d.DataSetObject().Bof()); });
  P::Register<TDataSetComponent>("Eof", [](TDataSetComponent& d) { return BoolText(d.DataSetObject().Eof()); });
  P::Register<TDataSetComponent>("Modified", [](TDataSetComponent& d) { return BoolText(d.DataSetObject().Modified()); });
  P::Register<TDataSetComponent>("CanModify", [](TDataSetComponent& d) { return BoolText(d.DataSetObject().CanModify()); });
  P::Register<TDataSetComponent>("Filter", [](TDataSetComponent& d) { return d.DataSetObject().Filter(); });
  P::Register<TDataSetComponent>("Filtered", [](TDataSetComponent& d) { return BoolText(d.DataSetObject().Filtered()); });
  // The current row's values, "|" between them.
  P::Register<TDataSetComponent>("CurrentRecord", [](TDataSetComponent& d) {
    TDataSet& set = d.DataSetObject();
    std::string out;
    if (!set.Active()) return out;
    for (int i = 0; i < set.FieldCount(); ++i) out += (i ? "|" : "") + set.FieldValue(i).ToText();
    return out;
  });
  P::Register<TADOQueryComponent>("SQL.Text", [](TADOQueryComponent& q) { return q.SQL().Text(); });
  P::Register<TDataSourceComponent>("DataSet", [](TDataSourceComponent& s) {
    return s.DataSetComponent() ? s.DataSetComponent()->Name() : std::string();
  });
}

