#pragma once
// The link of a control bound to one field (edit, memo, list box): it finds the
// field by name whenever the dataset opens or changes, tells the control when to
// show the value, and asks it for its text before the row is posted.
#include <functional>
#include <string>

#include "data/TDataLink.h"

class TFieldDataLink : public TDataLink {
public:
  const std::string& FieldName() const { return FieldName_; }
  void SetFieldName(std::string name);
  // The bound field of the open dataset, or null.
  TField* Field() const { return Field_; }
  // The field exists and its dataset accepts edits.
  bool CanModify() const;
  // The control's text changed: the dataset enters editing and the text will be
  // written into the field before the next post.
  bool Modified();
  bool IsModified() const { return Modified_; }
  // Forget the control's unsent text and show the field's value again.
  void Reset();

  std::function<void()> OnDataChange;     // show the field's current value
  std::function<void()> OnEditingChange;  // editing started or ended
  std::function<void()> OnActiveChange;   // the dataset opened or closed
  std::function<void()> OnUpdateData;     // write the control's text into Field()

protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void DataSetChanged() override { RecordChanged(nullptr); }
  void DataSetScrolled(int) override { RecordChanged(nullptr); }
  void RecordChanged(TField* field) override;
  void UpdateData() override;

private:
  void UpdateField();
  std::string FieldName_;
  TField* Field_ = nullptr;
  bool Modified_ = false;
};
