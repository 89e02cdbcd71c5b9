#include "skin/controls/sDBEdit.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "platform/win/Win.h"
#include "skin/core/acMasks.h"
#include "skin/core/sGeneralData.h"
#include "skin/runtime/sSkinManager.h"

namespace {
bool BorderHasStates(const TsCommonData& skinData) {
  const TsSkinManager* manager = skinData.GetManager();
  if (!manager || !manager->Mask(skinData.BorderIndex())) return false;
  return manager->Mask(skinData.BorderIndex())->ImageCount > 1;
}
}  // namespace

bool SectionHasHotLook(const TsCommonData& skinData) {
  const TsGeneralData* s = skinData.Section();
  if (!s) return false;
  return s->HotColor != s->Color || s->HotFontColor[0] != s->FontColor[0] ||
         s->HotGradientPercent != s->GradientPercent || s->HotImagePercent != s->ImagePercent ||
         s->HotTransparency != s->Transparency || s->HotGradientData != s->GradientData ||
         skinData.HotTextureIndex() != skinData.TextureIndex() || BorderHasStates(skinData);
}

TsDBEdit::TsDBEdit(TComponent* owner) : TacEditFamily<TDBEdit>(owner, TacControlKind::DBEdit, nullptr) {}

void TsDBEdit::WndProc(TMessage& message) {
  TsCommonData& d = *SkinData_;
  switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TDBEdit::WndProc(message);
      if (d.IsSkinned() && SectionHasHotLook(d)) {
        d.SetMouseAbove(message.Msg == CM_MOUSEENTER);
        d.SetDirty(true);
        if (HandleAllocated() && IsWindowVisible(Handle())) Repaint();
      }
      return;
    case WM_PRINTCLIENT:
      if (d.IsSkinned() && message.WParam) {
        // The copy starts inside the frame: the origin moves by 2 pixels and the
        // clip keeps to the face less the frame.
        auto* dc = reinterpret_cast<HDC>(message.WParam);
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, 2, 2, nullptr);
        const int w = d.Cache() ? d.Cache()->Width() : Width();
        const int h = d.Cache() ? d.Cache()->Height() : Height();
        IntersectClipRect(dc, 0, 0, w - 4, h - 4);
        Perform(WM_PAINT, message.WParam, 1);
        RestoreDC(dc, saved);
        return;
      }
      break;
    default:
      break;
  }
  if (FamilyMessage(message)) return;
  TDBEdit::WndProc(message);
}
