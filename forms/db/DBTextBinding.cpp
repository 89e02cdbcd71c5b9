#include "forms/db/DBTextBinding.h"

#include "data/TDataSet.h"
#include "data/TField.h"
#include "forms/Application.h"
#include "platform/win/Message.h"
#include "platform/win/VirtualKeys.h"

namespace {

// Posted to the control after a refused value, so the error box and the
// return of the focus come after the focus change has finished.
constexpr UINT kRefusedMessage = CM_BASE + 0x180;

}  // namespace

TDBTextBinding::TDBTextBinding(TCustomEdit& control) : Control_(control) {
  Link_.OnDataChange = [this] { ShowField(); };
  Link_.OnUpdateData = [this] { WriteField(); };
}

TDBTextBinding::~TDBTextBinding() {
  Link_.OnDataChange = nullptr;
  Link_.OnUpdateData = nullptr;
}

bool TDBTextBinding::EditCanModify() { return !ReadOnly && Link_.Field() && Link_.Edit(); }

bool TDBTextBinding::KeyDownAllowed(WORD key, TShiftState shift) {
  const bool ctrl = shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  if (key == VK_ESCAPE) {
    if (Link_.IsModified()) {
      Link_.Reset();
      Control_.SelectAll();
    }
    return false;
  }
  const bool changes = key == VK_BACK || key == VK_DELETE || (key == VK_INSERT && shift.Contains(ssShift)) ||
                       (ctrl && (key == 'V' || key == 'X'));
  return !changes || EditCanModify();
}

bool TDBTextBinding::KeyPressAllowed(char32_t key, bool multiLine) {
  const bool changes = key >= 32 || key == 8 || (multiLine && (key == '\r' || key == '\n' || key == '\t'));
  return !changes || key == 127 || EditCanModify();
}

void TDBTextBinding::Changed() {
  if (!Showing_) Link_.Modified();
}

void TDBTextBinding::ShowField() {
  TField* field = Link_.Field();
  Showing_ = true;
  try {
    Control_.SetText(field ? field->AsString() : std::string());
  } catch (...) {
    Showing_ = false;
    throw;
  }
  Showing_ = false;
  Control_.SetModified(false);
}

void TDBTextBinding::WriteField() {
  if (TField* field = Link_.Field()) field->SetAsString(Control_.Text());
}

void TDBTextBinding::Exited() {
  // Only this control's own text: another control's refusal is that control's to report.
  if (Refusing_ || !Link_.IsModified() || !Link_.Field()) return;
  try {
    WriteField();
  } catch (...) {
    Refused_ = std::current_exception();
    if (Control_.HandleAllocated()) PostMessage(Control_.Handle(), kRefusedMessage, 0, 0);
  }
}

bool TDBTextBinding::HandleMessage(TMessage& message) {
  if (message.Msg != kRefusedMessage) return false;
  std::exception_ptr error = Refused_;
  Refused_ = nullptr;
  if (!error) return true;
  // Focus first, so the window comes back to this control when the error box closes.
  Refusing_ = true;
  try {
    if (Control_.CanFocus()) Control_.SetFocus();
    Control_.SelectAll();
    if (Application) Application->HandleException(error);
  } catch (...) {
    Refusing_ = false;
    throw;
  }
  Refusing_ = false;
  return true;
}
