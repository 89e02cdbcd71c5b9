#pragma once
// The one visitor that delivers every skin broadcast. Each receiver gets a broadcast
// once: forms in two passes (the application's forms that take care of nothing
// themselves, then the forms registered by providers), and within a form each
// control either by direct call, by message when it answers command 7 (and then
// passes the command on to its own children itself), or not at all while its
// children are visited in its place.
#include <functional>

#include "forms/Forward.h"
#include "forms/Messages.h"
#include "platform/win/WinTypes.h"
#include "skin/runtime/Forward.h"

enum class TacDelivery { DirectCall, Message };

class TacBroadcast {
public:
  // Told about each delivery (tests count them); receiver is null for popup windows.
  using TObserver = std::function<void(TControl* receiver, HWND window, const TMessage& message, TacDelivery how)>;
  static TObserver& Observer();

  // SM_ALPHACMD with the command in the high word of wParam, to every window.
  static void ToApplication(TacCommand command, LPARAM lParam, unsigned argument = 0);
  static void ToApplication(const TMessage& message);
  // Sends the command to a form, then delivers it to the form's controls.
  static void ToForm(TForm* form, const TMessage& message);
  // Delivers a command to the child controls of a windowed control. Skinned
  // containers call it to pass a broadcast on to their own children.
  static void ToControls(TWinControl* parent, const TMessage& message);

  // Whether a window answers command 7 with 1 (it is skinned and handles its children).
  static bool AnswersHandled(HWND window);
  static bool AnswersHandled(TControl* control);

private:
  static void SendToControl(TControl* control, const TMessage& message, TacDelivery how);
};

// SM_ALPHACMD to one control: by message when it has a window, else by direct call.
LRESULT SendAlphaCmd(TControl* receiver, TacCommand command, LPARAM lParam = 0, unsigned argument = 0);
