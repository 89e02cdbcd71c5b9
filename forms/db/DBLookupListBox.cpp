#include "forms/db/DBLookupListBox.h"
#include "forms/DriverProperties.h"

#include "data/TDataLink.h"
#include "data/TDataSet.h"
#include "data/TDataSource.h"
#include "data/TField.h"

// Follows the list dataset: opening, closing and re-reading rebuild the lines;
// moving its current row does not change them.
class TLookupListLink : public TDataLink {
public:
  explicit TLookupListLink(TDBLookupListBox& list) : List_(list) {}

protected:
  void ActiveChanged() override { List_.ListChanged(); }
  void DataSetChanged() override { List_.ListChanged(); }
  void DataSetScrolled(int) override {}
  void RecordChanged(TField*) override {}

private:
  TDBLookupListBox& List_;
};

TDBLookupListBox::TDBLookupListBox(TComponent* owner)
    : TCustomListBox(owner), Link_(std::make_unique<TLookupListLink>(*this)) {}

TDBLookupListBox::~TDBLookupListBox() {
  Destroying();
  Link_.reset();
}

TDataSource* TDBLookupListBox::ListSource() const { return Link_->DataSource(); }
void TDBLookupListBox::SetListSource(TDataSource* source) {
  Link_->SetDataSource(source);
  ListChanged();
}

void TDBLookupListBox::SetListField(const std::string& name) {
  ListField_ = name;
  ListChanged();
}

void TDBLookupListBox::SetKeyField(const std::string& name) {
  KeyField_ = name;
  ListChanged();
}

void TDBLookupListBox::ListChanged() {
  if (IsDestroying()) return;
  TDataSet* dataSet = Link_->Active() ? Link_->DataSet() : nullptr;
  TField* listField = nullptr;
  TField* keyField = nullptr;
  if (dataSet) {
    // With no list field named, the key field is shown (as classically).
    keyField = KeyField_.empty() ? nullptr : dataSet->FindField(KeyField_);
    listField = ListField_.empty() ? keyField : dataSet->FindField(ListField_);
  }
  Loading_ = true;
  Keys_.clear();
  Items().BeginUpdate();
  try {
    Items().Clear();
    if (listField) {
      const int rows = dataSet->RecordCount();
      Keys_.reserve(static_cast<size_t>(rows));
      for (int row = 0; row < rows; ++row) {
        Items().Add(dataSet->RowValue(row, listField->Index()).ToText());
        Keys_.push_back(keyField ? dataSet->RowValue(row, keyField->Index()) : Variant());
      }
    }
  } catch (...) {
    Items().EndUpdate();
    Loading_ = false;
    throw;
  }
  Items().EndUpdate();
  // The chosen key stays chosen; its line is selected again when the list still holds it.
  int line = -1;
  if (!KeyValue_.IsNull())
    for (size_t i = 0; i < Keys_.size(); ++i)
      if (Keys_[i] == KeyValue_) {
        line = static_cast<int>(i);
        break;
      }
  TCustomListBox::SetItemIndex(line);
  Loading_ = false;
}

Variant TDBLookupListBox::KeyOfLine(int line) const {
  if (line < 0 || line >= static_cast<int>(Keys_.size())) return Variant();
  return Keys_[static_cast<size_t>(line)];
}

void TDBLookupListBox::SetKeyValue(const Variant& value) {
  KeyValue_ = value;
  int line = -1;
  if (!value.IsNull())
    for (size_t i = 0; i < Keys_.size(); ++i)
      if (Keys_[i] == value) {
        line = static_cast<int>(i);
        break;
      }
  Loading_ = true;
  TCustomListBox::SetItemIndex(line);
  Loading_ = false;
}

void TDBLookupListBox::SetItemIndex(int index) {
  TCustomListBox::SetItemIndex(index);
  if (!Loading_ && ItemIndex() >= 0) KeyValue_ = KeyOfLine(ItemIndex());
}

std::string TDBLookupListBox::SelectedText() const {
  return ItemIndex() >= 0 ? Items().Get(ItemIndex()) : std::string();
}

void TDBLookupListBox::WndProc(TMessage& message) { TCustomListBox::WndProc(message); }

void TDBLookupListBox::RegisterDriverProperties() {
  using P = TDriverProperties;
  P::Register<TDBLookupListBox>("KeyValue", [](TDBLookupListBox& l) { return l.KeyValue().ToText(); }, TDumpAs::Text,
                                "keyValue");
  P::Register<TDBLookupListBox>("KeyValue.IsNull",
                                [](TDBLookupListBox& l) { return std::string(l.KeyValue().IsNull() ? "true" : "false"); });
  P::Register<TDBLookupListBox>("ListField", [](TDBLookupListBox& l) { return l.ListField(); });
  P::Register<TDBLookupListBox>("KeyField", [](TDBLookupListBox& l) { return l.KeyField(); });
}

