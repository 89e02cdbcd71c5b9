#pragma once
// What the skinned memos, the data-aware edit and memo and the lookup list box
// share: they keep an edit subclass (TacEditWnd, section "EDIT") on their own
// window while they are skinned, let it paint frame and scroll bars, and handle
// the skin's announcements (new skin, skin removed, refresh) themselves.
#include <memory>

#include "forms/Forward.h"
#include "forms/Messages.h"
#include "skin/controls/acEditWnd.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/Forward.h"

// The edit subclass as the edit family uses it: the announcements 1, 2 and 3 are
// acted on by the subclass and then passed on to the control, which owns the
// subclass and decides about its life.
class TacOwnedEditWnd : public TacEditWnd {
public:
  TacOwnedEditWnd(HWND window, TsCommonData* skinData);
  // Applies the section's colours again and marks the frame dirty.
  void Reinitialize() { Initialize(); }

protected:
  void AcWndProc(TMessage& message) override;
};

class TacEditUpkeep {
public:
  TacEditUpkeep(TWinControl& control, TsCommonData& skinData) : Control_(control), SkinData_(skinData) {}
  ~TacEditUpkeep();
  TacEditUpkeep(const TacEditUpkeep&) = delete;
  TacEditUpkeep& operator=(const TacEditUpkeep&) = delete;

  // While skinned: a dead or removed subclass goes and a new one is made for the
  // window; a live one stays. Not skinned: the subclass goes.
  void Update();
  // Removes and frees the subclass (never from inside the subclass's own handling).
  void Free();
  // The installed subclass, null when none.
  TacOwnedEditWnd* Wnd() const;
  // How many subclasses were made so far (tests watch re-skinning with it).
  int Created() const { return Created_; }

  // The announcements 1, 2 and 3 from the control's own manager, around the skin
  // data's handling: 1 and 3 re-resolve and reinstall, 2 leaves the subclass removed
  // (it is freed at the next upkeep) and lets the platform draw its own frame.
  void SkinChanging(TacCommand command);
  void SkinChanged(TacCommand command);
  // Command 6: a waiting control repaints its frame (and its client when asked).
  void ParentPainted(bool repaintClient);

private:
  void RedrawWithFrame();

  TWinControl& Control_;
  TsCommonData& SkinData_;
  std::unique_ptr<TacOwnedEditWnd> Wnd_;
  int Created_ = 0;
};

// What scripts can read and set of the skin manager ("set Form1.sSkinManager1.Active false").
void RegisterSkinManagerDriverProperties();
