#pragma once
// The lookup list: shows ListField of every row of ListSource's dataset in the
// order the rows arrive; choosing a line sets KeyValue to that row's KeyField.
// KeyValue is a null Variant until the first choice and keeps the last chosen
// key when the list's dataset is reopened (the line holding that key, if any,
// is selected again).
#include <memory>
#include <string>
#include <vector>

#include "data/Forward.h"
#include "data/Variant.h"
#include "forms/ListBox.h"

class TLookupListLink;

class TDBLookupListBox : public TCustomListBox {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TDBLookupListBox(TComponent* owner);
  ~TDBLookupListBox() override;
  std::string ClassName() const override { return "TDBLookupListBox"; }

  TDataSource* ListSource() const;
  void SetListSource(TDataSource* source);
  const std::string& ListField() const { return ListField_; }
  void SetListField(const std::string& name);
  const std::string& KeyField() const { return KeyField_; }
  void SetKeyField(const std::string& name);
  const Variant& KeyValue() const { return KeyValue_; }
  // Selects the line holding the key (none when no row holds it).
  void SetKeyValue(const Variant& value);
  // The list text of the chosen line ("" when none).
  std::string SelectedText() const;
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool value) { ReadOnly_ = value; }

  // Selecting a line makes its key the KeyValue.
  void SetItemIndex(int index) override;
  // OnClick (a line chosen) and OnDblClick are the inherited events.
  void WndProc(TMessage& message) override;

protected:
  friend class TLookupListLink;
  // Re-reads the lines from the list dataset.
  virtual void ListChanged();
  // Key of a line, null outside the list.
  Variant KeyOfLine(int line) const;

private:
  std::unique_ptr<TLookupListLink> Link_;
  std::string ListField_;
  std::string KeyField_;
  Variant KeyValue_;
  std::vector<Variant> Keys_;  // one per line
  bool ReadOnly_ = false;
  bool Loading_ = false;
};
