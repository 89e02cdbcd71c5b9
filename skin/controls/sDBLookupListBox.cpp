#include "skin/controls/sDBLookupListBox.h"

#include "forms/Font.h"
#include "platform/win/Win.h"
#include "skin/core/sGeneralData.h"
#include "skin/controls/sDBEdit.h"
#include "skin/runtime/sSkinManager.h"

TsDBLookupListBox::TsDBLookupListBox(TComponent* owner)
    : TacEditFamily<TDBLookupListBox>(owner, TacControlKind::Edit, "EDIT") {}

void TsDBLookupListBox::TakeSectionColors() {
  TsCommonData& d = *SkinData_;
  if (!d.IsSkinned()) return;
  const TsGeneralData* section = d.Section();
  if (!section) return;
  if (!OwnColorsSaved_) {
    OwnColor_ = Color();
    OwnFontColor_ = Font().Color();
    OwnColorsSaved_ = true;
  }
  if (!d.CustomColor()) SetColor(section->Color);
  if (!d.CustomFont()) Font().SetColor(section->FontColor[0]);
}

void TsDBLookupListBox::RestoreOwnColors() {
  if (!OwnColorsSaved_) return;
  OwnColorsSaved_ = false;
  if (!SkinData_->CustomColor()) SetColor(OwnColor_);
  if (!SkinData_->CustomFont()) Font().SetColor(OwnFontColor_);
}

void TsDBLookupListBox::Loaded() {
  TacEditFamily<TDBLookupListBox>::Loaded();
  TakeSectionColors();
}

void TsDBLookupListBox::BeforeRefresh(TMessage& message) {
  if (reinterpret_cast<TsSkinManager*>(message.LParam) != SkinData_->GetManager()) return;
  SkinData_->ResolveSection();
  TakeSectionColors();
}

void TsDBLookupListBox::WndProc(TMessage& message) {
  TsCommonData& d = *SkinData_;
  switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TDBLookupListBox::WndProc(message);
      if (d.IsSkinned() && SectionHasHotLook(d)) {
        d.SetMouseAbove(message.Msg == CM_MOUSEENTER);
        d.SetDirty(true);
      }
      return;
    case WM_SETFOCUS:
      TDBLookupListBox::WndProc(message);
      d.SetMouseAbove(false);
      d.SetFocused(true);
      d.SetDirty(true);
      return;
    case WM_KILLFOCUS:
      TDBLookupListBox::WndProc(message);
      d.SetMouseAbove(false);
      d.SetFocused(false);
      d.SetDirty(true);
      return;
    case WM_ERASEBKGND:
      // The list paints its whole client itself; the skin's frame needs no erase.
      if (d.IsSkinned()) {
        message.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  const bool removal = message.Msg == SM_ALPHACMD && CommandOf(message.WParam) == AC_REMOVESKIN &&
                       reinterpret_cast<TsSkinManager*>(message.LParam) == d.GetManager();
  if (FamilyMessage(message)) {
    if (removal) RestoreOwnColors();
    return;
  }
  TDBLookupListBox::WndProc(message);
}
