#pragma once
// The scripting driver: runs a script of user actions from inside the event
// loop (so it also works inside modal dialogs), on the headless display or,
// with the program's --real-display, through a real X server.
//
//   click Form3.UserName          a control by form and component name (centre)
//   click Form3 120,40            a point of a form's client area
//   click Form4.Nav.nbNext        a child control by name (navigator buttons)
//   dblclick / rclick / hover     the same targets
//   select Form7.List 2           clicks row 2 (0-based) of a list, scrolled into view
//   dblselect Form7.List 2        double-clicks it
//   cell Form6.DBGrid1 1 2        clicks row 1, column 2 of a grid (dblcell: double)
//   close Form5                   presses the window's close box
//   type Admin                    text to the focused control
//   key Enter                     Esc, Tab, Space, arrows, F1..F12, Ctrl+/Shift+/Alt+
//   wait 250                      advance the clock, running what falls due
//   shot Form1 main.png           PNG of one window ("shot desktop x.png": all)
//   dump state.json               every window and control as JSON
//                                 (relative names: from the folder the driver was made in,
//                                 even after the program moved into its workspace)
//   expect Form2.Label1.Caption == Admin    (also !=)
//   expect Screen.Top == MessageBox         what the screen shows: the top form,
//   expect Screen.Keyboard == Form4         the form that gets the keyboard,
//   expect Screen.Order == MessageBox,Form4 the shown forms, top first
//
// Open dialogs are reached by their form names: MessageBox, InputBox, OpenDialog;
// the shown hint is the window "Hint" (Hint.Visible, Hint.Caption).
// Properties come from the registry in DriverProperties.h.
// The first failing line ends the run with "file:line: ..." and exit status 1.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/Forward.h"
#include "platform/backend/ScriptedDisplay.h"
#include "platform/gfx/Types.h"

class THeadlessBackend;

class TScriptDriver {
public:
  TScriptDriver(TScriptedDisplay& display, std::vector<std::string> lines, std::string scriptName);
  // On the headless backend.
  TScriptDriver(THeadlessBackend& backend, std::vector<std::string> lines, std::string scriptName);
  ~TScriptDriver();
  // Reads the script; null (with error set) when it cannot be read.
  static std::unique_ptr<TScriptDriver> FromFile(TScriptedDisplay& display, const std::string& path, std::string& error);

  // Runs the script from the backend's idle handler.
  void Attach();
  // Runs the next line; false when the script is over (or failed).
  bool Step();
  bool Finished() const { return Next_ >= Lines_.size() || Failed_; }
  bool Failed() const { return Failed_; }
  const std::string& Failure() const { return Failure_; }
  int ExitCode() const { return Failed_ ? 1 : 0; }
  // 1-based number of the next line to run.
  size_t NextLine() const { return Next_ + 1; }

  // Skin section and index of a control, for dump (the skin engine installs it).
  static std::function<void(TControl*, std::string& section, int& index)>& SkinInfo();
  // The JSON of every form and control.
  static std::string DumpJson();
  // Reads a property by path "Form.Control.Property", "Form.Control.Child.Property" or "Form.Property".
  static std::optional<std::string> ReadProperty(const std::string& path, std::string& error);

  // One line as the action handlers get it.
  struct TCall {
    std::string Line;               // the whole line, trimmed
    std::vector<std::string> Args;  // Args[0] is the action
  };
  // The table of actions: name, what it takes, and its handler.
  struct TAction {
    const char* Name;
    const char* Usage;
    void (TScriptDriver::*Handler)(const TCall&);
  };
  static const std::vector<TAction>& Actions();

private:
  void Run(const std::string& line);
  void Fail(const std::string& message);
  TComponent* FindTarget(const std::string& spec, std::string& error);
  bool TargetPoint(const std::vector<std::string>& args, TPoint& point);
  bool ParseKey(const std::string& spec, std::vector<int>& modifiers, int& key);
  // Clicks at a desktop point, waiting out the double-click time after a click on the same spot.
  void ClickAt(TPoint point, bool right, bool twice);
  TControl* VisibleControl(const std::string& spec);
  // What the screen shows (Screen.Top, Screen.Keyboard, Screen.Order); nullopt for another name.
  std::optional<std::string> ScreenProperty(const std::string& name);

  void DoClick(const TCall& call);
  void DoHover(const TCall& call);
  void DoSelect(const TCall& call);
  void DoCell(const TCall& call);
  void DoClose(const TCall& call);
  void DoRaise(const TCall& call);
  void DoMenu(const TCall& call);
  void DoType(const TCall& call);
  void DoKey(const TCall& call);
  void DoWait(const TCall& call);
  void DoShot(const TCall& call);
  void DoDump(const TCall& call);
  void DoExpect(const TCall& call);
  void DoSet(const TCall& call);
  std::string OutputPath(const std::string& name) const;

  std::unique_ptr<TScriptedDisplay> OwnDisplay_;
  TScriptedDisplay& Display_;
  std::vector<std::string> Lines_;
  std::string Name_;
  std::string StartDir_;
  size_t Next_ = 0;
  size_t Current_ = 0;
  bool Failed_ = false;
  bool Ended_ = false;
  std::string Failure_;
  // Where and when the last click landed: separate clicks must not merge into a double click.
  TPoint LastClick_{-10000, -10000};
  std::uint64_t LastClickTime_ = 0;
  bool HaveClicked_ = false;
};
