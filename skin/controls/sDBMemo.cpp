#include "skin/controls/sDBMemo.h"

#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/Win.h"

TsDBMemo::TsDBMemo(TComponent* owner) : TacEditFamily<TDBMemo>(owner, COC_TsMemo, "EDIT") {
  SetParentColor(false);
}

void TsDBMemo::WndProc(TMessage& message) {
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
        TDBMemo::WndProc(message);
        if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
        return;
      default:
        break;
    }
  }
  if (FamilyMessage(message)) return;
  TDBMemo::WndProc(message);
}
