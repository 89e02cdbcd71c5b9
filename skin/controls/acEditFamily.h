#pragma once
// The part every member of the edit family (TsMemo, TsDBMemo, TsDBEdit,
// TsDBLookupListBox) shares over its framework base: the skin data, the bound
// label, the disabled look and the upkeep of the edit subclass on its window.
#include <memory>

#include "forms/Forward.h"
#include "forms/Messages.h"
#include "platform/win/Messages.h"
#include "skin/controls/acButtonCommon.h"
#include "skin/controls/acEditUpkeep.h"
#include "skin/runtime/acSkinCommands.h"
#include "skin/controls/sLabel.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"

template <class Base>
class TacEditFamily : public Base, public IacSkinnedControl, private TacSkinCommands {
public:
  // section: given to the skin data when not empty (else the kind's default).
  TacEditFamily(TComponent* owner, TacControlKind kind, const char* section)
      : Base(owner), SkinData_(std::make_unique<TsCommonData>(this, true)),
        BoundLabel_(std::make_unique<TsBoundLabel>(this)),
        Upkeep_(std::make_unique<TacEditUpkeep>(*this, *SkinData_)) {
    SkinData_->SetControlKind(kind);
    if (section && SkinData_->SkinSection().empty()) SkinData_->SetSkinSection(section);
    SkinData_->InitSection();
  }
  ~TacEditFamily() override {
    this->Destroying();
    Upkeep_.reset();
    BoundLabel_.reset();
  }

  TsCommonData* SkinData() override { return SkinData_.get(); }
  TsBoundLabel& BoundLabel() { return *BoundLabel_; }
  TsDisabledKind DisabledKind() const { return DisabledKind_; }
  void SetDisabledKind(TsDisabledKind value) { DisabledKind_ = value; }
  // The edit subclass on the window (null while not skinned).
  TacOwnedEditWnd* EditWnd() const { return Upkeep_->Wnd(); }
  TacEditUpkeep& Upkeep() { return *Upkeep_; }

protected:
  void Loaded() override {
    Base::Loaded();
    SkinData_->Loaded();
    Upkeep_->Update();
  }
  void CreateWnd() override {
    Base::CreateWnd();
    Upkeep_->Update();
  }
  void ShowingChanged() override {
    Base::ShowingChanged();
    Upkeep_->Update();
  }

  // The family's handling in front of the framework's; true when the message was taken.
  bool FamilyMessage(TMessage& message) {
    if (message.Msg == SM_ALPHACMD) {
      if (CommandOf(message.WParam) == AC_REFRESH) BeforeRefresh(message);
      RunSkinCommand(*SkinData_, message);
      return true;
    }
    if (SkinData_->HandleMessage(message)) return true;
    switch (message.Msg) {
      case WM_SIZE:
      case WM_MOVE:
        Base::WndProc(message);
        if (BoundLabel_->Active()) BoundLabel_->UpdatePosition();
        return true;
      case CM_VISIBLECHANGED:
      case CM_ENABLEDCHANGED:
        Base::WndProc(message);
        if (TsEditLabel* label = BoundLabel_->Label()) {
          if (message.Msg == CM_VISIBLECHANGED)
            label->SetVisible(this->Visible());
          else
            label->SetEnabled(this->Enabled() || !DisabledKind_.Contains(dkBlended));
        }
        return true;
      default:
        return false;
    }
  }
  void SkinChanging(TacCommand command) override { Upkeep_->SkinChanging(command); }
  void SkinChanged(TacCommand command) override { Upkeep_->SkinChanged(command); }
  void ParentPainted() override { Upkeep_->ParentPainted(RepaintsClient()); }
  // Command 3 arrived for this control (the lookup list takes its colours here).
  virtual void BeforeRefresh(TMessage&) {}
  // Command 6 repaints the client too (the lookup list), not only the frame.
  virtual bool RepaintsClient() const { return false; }

  std::unique_ptr<TsCommonData> SkinData_;
  std::unique_ptr<TsBoundLabel> BoundLabel_;
  std::unique_ptr<TacEditUpkeep> Upkeep_;
  TsDisabledKind DisabledKind_{dkBlended};
};
