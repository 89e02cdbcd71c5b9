#pragma once
// A parent control for tests that answers its children's background requests
// with a picture of its own (its client origin at `Offset` of it) and counts them.
#include "forms/CustomControl.h"
#include "platform/gfx/Bitmap.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sBackground.h"

class TPictureParent : public TCustomControl {
public:
  TPictureParent(TComponent* owner, TBitmap picture, TPoint offset = {0, 0})
      : TCustomControl(owner), Picture(std::move(picture)), Offset(offset) {
    ControlStyle_.Include(csAcceptsControls);
  }
  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD && CommandOf(message.WParam) == AC_GETCACHE) {
      ++Requests;
      auto* request = reinterpret_cast<TacBGInfo*>(message.LParam);
      request->BgType = btCache;
      request->Bmp = &Picture;
      request->OffsetX = Offset.X;
      request->OffsetY = Offset.Y;
      return;
    }
    TCustomControl::WndProc(message);
  }
  TBitmap Picture;
  TPoint Offset;
  int Requests = 0;
};
