#include "skin/controls/sMemo.h"

#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/Win.h"

TsMemo::TsMemo(TComponent* owner) : TacEditFamily<TMemo>(owner, TacControlKind::Memo, "EDIT") {}

void TsMemo::ScrollCaretIntoView() {
  TMemo::ScrollCaretIntoView();
  if (OnScrollCaret && !IsLoading()) OnScrollCaret(this);
}

void TsMemo::WndProc(TMessage& message) {
  TsCommonData& d = *SkinData_;
  if (MemoSkinMessage(*this, d, message, [this](TMessage& m) { TMemo::WndProc(m); })) return;
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

bool MemoSkinMessage(TCustomMemo& memo, TsCommonData& skinData, TMessage& message,
                     const std::function<void(TMessage&)>& base) {
  if (!skinData.IsSkinned() || memo.IsDestroying()) return false;
  switch (message.Msg) {
    case WM_PAINT:
      if (skinData.Suspended() && memo.HandleAllocated()) {
        ValidateRect(memo.Handle(), nullptr);
        message.Result = 0;
        return true;
      }
      return false;
    case CM_FONTCHANGED:
      base(message);
      if (memo.HandleAllocated())
        RedrawWindow(memo.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
      return true;
    default: return false;
  }
}
