#pragma once
// Minimal skinned controls for the runtime's tests and benchmark: each owns a
// TsCommonData, counts the skin commands it receives, passes broadcasts on to its
// children when it is a container, and rebuilds a plain face when dirty.
#include <map>

#include "forms/Canvas.h"
#include "forms/CustomControl.h"
#include "forms/Form.h"
#include "forms/GraphicControl.h"
#include "platform/gfx/DeviceContext.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"

// The face: the skin data's colour over the whole cache.
inline void RebuildTestFace(TsCommonData& data) {
  data.EnsureCache();
  data.Cache()->Fill(data.GetColor(data.IsHot()));
  data.SetDirty(false);
}

inline bool IsBroadcastCommand(unsigned command) {
  return command == AC_SETNEWSKIN || command == AC_REMOVESKIN || command == AC_REFRESH || command == AC_STOPFADING ||
         command == AC_REPAINT;
}

class TTestSkinPanel : public TCustomControl, public IacSkinnedControl {
public:
  explicit TTestSkinPanel(TComponent* owner, TacControlKind kind = TacControlKind::Panel) : TCustomControl(owner), Data(this, true) {
    Data.SetControlKind(kind);
  }
  std::string ClassName() const override { return "TTestSkinPanel"; }
  TsCommonData* SkinData() override { return &Data; }

  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD) {
      const unsigned command = CommandOf(message.WParam);
      ++Received[command];
      if (Data.HandleCommand(message)) return;
      if (IsBroadcastCommand(command)) {
        // Own face first: children then repaint over a parent that is ready.
        if (command != AC_STOPFADING) Data.Invalidate();
        TacBroadcast::ToControls(this, message);
      }
      return;
    }
    if (Data.HandleMessage(message)) return;
    TCustomControl::WndProc(message);
  }

  TsCommonData Data;
  std::map<unsigned, int> Received;
  int FacesBuilt = 0;

protected:
  void Loaded() override {
    TCustomControl::Loaded();
    Data.Loaded();
  }
  void PaintWindow(HDC dc) override {
    if (Data.Dirty() || !Data.HasCache()) {
      RebuildTestFace(Data);
      ++FacesBuilt;
    }
    if (Data.Cache()->Empty()) return;
    BitBlt(dc, 0, 0, Width(), Height(), &Data.Cache()->Canvas(), 0, 0, SRCCOPY);
  }
};

// A windowless skinned control (a speed button by kind).
class TTestSkinGraphic : public TGraphicControl, public IacSkinnedControl {
public:
  explicit TTestSkinGraphic(TComponent* owner, TacControlKind kind = TacControlKind::SpeedButton) : TGraphicControl(owner), Data(this, true) {
    Data.SetControlKind(kind);
  }
  std::string ClassName() const override { return "TTestSkinGraphic"; }
  TsCommonData* SkinData() override { return &Data; }

  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD) {
      const unsigned command = CommandOf(message.WParam);
      ++Received[command];
      if (Data.HandleCommand(message)) return;
      if (IsBroadcastCommand(command) && command != AC_STOPFADING) Data.Invalidate();
      return;
    }
    if (Data.HandleMessage(message)) return;
    TGraphicControl::WndProc(message);
  }

  TsCommonData Data;
  std::map<unsigned, int> Received;
  int FacesBuilt = 0;

protected:
  void Loaded() override {
    TGraphicControl::Loaded();
    Data.Loaded();
  }
  void Paint() override {
    if (Data.Dirty() || !Data.HasCache()) {
      RebuildTestFace(Data);
      ++FacesBuilt;
    }
    if (Data.Cache()->Empty()) return;
    BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), &Data.Cache()->Canvas(), 0, 0, SRCCOPY);
  }
};

// A plain windowed container that knows nothing of skins.
class TTestPlainPanel : public TCustomControl {
public:
  explicit TTestPlainPanel(TComponent* owner) : TCustomControl(owner) { ControlStyle_.Include(csAcceptsControls); }
  std::string ClassName() const override { return "TTestPlainPanel"; }
  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD) ++Received[CommandOf(message.WParam)];
    TCustomControl::WndProc(message);
  }
  std::map<unsigned, int> Received;
};

// A form whose provider answers command 7 (and so is reached by the second pass).
class TTestProviderForm : public TForm {
public:
  explicit TTestProviderForm(TComponent* owner) : TForm(owner) {}
  std::string ClassName() const override { return "TTestProviderForm"; }
  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD) {
      const unsigned command = CommandOf(message.WParam);
      ++Received[command];
      if (command == AC_CTRLHANDLED) {
        message.Result = 1;
        return;
      }
      return;
    }
    TForm::WndProc(message);
  }
  std::map<unsigned, int> Received;
};

template <class T, class... Extra>
T* AddControl(TWinControl* parent, int left, int top, int width, int height, Extra... extra) {
  TComponent* owner = parent;
  while (owner->Owner() && !dynamic_cast<TForm*>(owner)) owner = owner->Owner();
  auto* control = new T(owner, extra...);
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  return control;
}
