#include "skin/controls/sMemo.h"

#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/Win.h"

TsMemo::TsMemo(TComponent* owner) : TacEditFamily<TMemo>(owner, COC_TsMemo, "EDIT") {}

void TsMemo::ScrollCaretIntoView() {
  TMemo::ScrollCaretIntoView();
  if (OnScrollCaret && !IsLoading()) OnScrollCaret(this);
}

void TsMemo::WndProc(TMessage& message) {
  TsCommonData& d = *SkinData_;
  if (d.IsSkinned() && !IsDestroying()) {
    switch (message.Msg) {
      case WM_PAINT:
        if (d.Suspended && HandleAllocated()) {
          ValidateRect(Handle(), nullptr);
          message.Result = 0;
          return;
        }
        break;
      case CM_FONTCHANGED:
        TMemo::WndProc(message);
        if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
        return;
      default:
        break;
    }
  }
  if (FamilyMessage(message)) return;
  switch (message.Msg) {
    case WM_VSCROLL:
      TMemo::WndProc(message);
      if (OnVScroll) OnVScroll(this);
      return;
    case CM_FONTCHANGED:
      TMemo::WndProc(message);
      if (d.IsSkinned()) Invalidate();
      return;
    default:
      break;
  }
  TMemo::WndProc(message);
}
