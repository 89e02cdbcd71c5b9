#include "skin/runtime/acSkinCommands.h"

#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

void TacSkinCommands::RunSkinCommand(TsCommonData& data, TMessage& message) {
  RunSkinCommand(&data, message, data.GetManager());
}

void TacSkinCommands::TakeSkinChange(TsCommonData* data, TMessage& message, TacCommand command) {
  SkinChanging(command);
  if (data) data->HandleCommand(message);
  SkinChanged(command);
}

bool TacSkinCommands::RunSkinCommand(TsCommonData* data, TMessage& message, const TsSkinManager* own) {
  const TacCommand command = CommandOf(message.WParam);
  switch (command) {
    case AC_SETNEWSKIN:
    case AC_REMOVESKIN:
    case AC_REFRESH: {
      const bool fromOwn = reinterpret_cast<TsSkinManager*>(message.LParam) == own;
      // Children take a new skin first: the container's face is built over theirs.
      if (command == AC_SETNEWSKIN) PassToChildren(message);
      if (fromOwn) TakeSkinChange(data, message, command);
      if (command != AC_SETNEWSKIN) PassToChildren(message);
      if (fromOwn) ShowSkinChange(command);
      message.Result = 0;
      return true;
    }
    case AC_CTRLHANDLED:
      message.Result = 1;
      return true;
    case AC_PARENTPAINTED:
      message.Result = 0;
      ParentPainted();
      return true;
    case AC_GETCACHE:
      return AnswerBackground(message) || (data && data->HandleCommand(message));
    case AC_GETCOLOR:
      return AnswerColor(message) || (data && data->HandleCommand(message));
    case AC_GETPROVIDER: case AC_SETCHANGEDIFNECESSARY: case AC_SETSUSPENDED: case AC_LOCKBACKGROUND:
    case AC_ISSUSPENDED: case AC_GETPARENTCHANGED: case AC_SECTIONCHANGED: case AC_MENUS: case AC_STOPFADING:
    case AC_SETDIRTY: case AC_REPAINT: case AC_GETBGCHANGED: case AC_PARENTMOVED: case AC_SETPARENTCHANGED:
    case AC_PREPARING: case AC_SCROLLS: case AC_CONTROLLOADED: case AC_GETSKININDEX: case AC_ADAPTERQUERY:
    case AC_MOUSEENTER: case AC_MOUSELEAVE: case AC_SUSPENDED: case AC_RESUMED: case AC_SCROLLBARS:
    case AC_UPDATEOPACITY: case AC_ADAPTER51: case AC_ADAPTER52: case AC_GETAPPLICATION:
    case AC_GETCLIENTOFFSET:
    default:
      return OwnCommand(command, message) || (data && data->HandleCommand(message));
  }
}
