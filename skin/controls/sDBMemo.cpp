#include "skin/controls/sDBMemo.h"

#include "skin/controls/sMemo.h"

TsDBMemo::TsDBMemo(TComponent* owner) : TacEditFamily<TDBMemo>(owner, TacControlKind::Memo, "EDIT") {
  SetParentColor(false);
}

void TsDBMemo::WndProc(TMessage& message) {
  if (MemoSkinMessage(*this, *SkinData_, message, [this](TMessage& m) { TDBMemo::WndProc(m); })) return;
  if (FamilyMessage(message)) return;
  TDBMemo::WndProc(message);
}
