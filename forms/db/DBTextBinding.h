#pragma once
// What the bound edit and the bound memo share: the field link, typing that
// starts editing, showing the field's value, writing the text back and the
// refusal of a value the field does not take (the error box, then the focus
// back in the control with its text selected).
#include <exception>
#include <memory>
#include <string>

#include "data/TFieldDataLink.h"
#include "forms/CustomEdit.h"

class TDBTextBinding {
public:
  explicit TDBTextBinding(TCustomEdit& control);
  ~TDBTextBinding();

  TFieldDataLink& Link() { return Link_; }
  bool ReadOnly = false;

  // The text may change now (the row is put into editing when it can be).
  bool EditCanModify();
  // False when the key must not reach the editing core.
  bool KeyDownAllowed(WORD key, TShiftState shift);
  bool KeyPressAllowed(char32_t key, bool multiLine);
  // The control's text changed.
  void Changed();
  // Shows the field's value.
  void ShowField();
  // Writes the text into the field (raises what the field raises).
  void WriteField();
  // The focus left: write the text; a refusal brings the focus back.
  void Exited();
  // Handles the message posted after a refusal; true when it was that message.
  bool HandleMessage(TMessage& message);

private:
  TCustomEdit& Control_;
  TFieldDataLink Link_;
  bool Showing_ = false;
  bool Refusing_ = false;  // the refusal is being reported: leaving now is not a new exit
  std::exception_ptr Refused_;
};
