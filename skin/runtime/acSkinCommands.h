#pragma once
// The one way a skinned control, a window subclass and the form's provider take the
// skin engine's commands (SM_ALPHACMD). The order is fixed here for all of them: a new
// skin reaches a container's children before the container, the skin's removal and a
// refresh after it; a control's own steps run around the common data's and only for
// its own manager's announcements. Controls fill in the steps they need; what they
// leave goes to the common data.
#include "forms/Messages.h"
#include "skin/runtime/Forward.h"
#include "skin/runtime/acCommands.h"

class TacSkinCommands {
public:
  virtual ~TacSkinCommands() = default;

protected:
  // Answers one SM_ALPHACMD message for the control whose skin data is data.
  void RunSkinCommand(TsCommonData& data, TMessage& message);
  // The same for a holder whose announcements come from manager own; data may be null
  // (a control without skin data). False when nobody answered: the message may go on
  // to the window's own handling.
  bool RunSkinCommand(TsCommonData* data, TMessage& message, const TsSkinManager* own);

  // An announcement from the own manager: by default the common data's handling
  // between SkinChanging and SkinChanged. A window subclass in front of a control
  // takes its own steps instead, and the form's provider its own removal.
  virtual void TakeSkinChange(TsCommonData* data, TMessage& message, TacCommand command);
  // A new skin, its removal or a refresh from the control's own manager: before the
  // common data takes it (a running fade ends here) and after (the control's own upkeep).
  virtual void SkinChanging(TacCommand) {}
  virtual void SkinChanged(TacCommand) {}
  // Containers hand every announcement on to their children, whoever sent it.
  virtual void PassToChildren(const TMessage&) {}
  // Once the children have it: the control shows the change (own manager only).
  virtual void ShowSkinChange(TacCommand) {}
  // The parent has painted (command 6).
  virtual void ParentPainted() {}
  // What lies behind the control (command 34) and its colour (21); false lets the
  // common data answer.
  virtual bool AnswerBackground(TMessage&) { return false; }
  virtual bool AnswerColor(TMessage&) { return false; }
  // Any other command the control answers itself; false lets the common data answer
  // after it.
  virtual bool OwnCommand(TacCommand, TMessage&) { return false; }
};
