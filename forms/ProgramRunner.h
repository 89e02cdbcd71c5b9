#pragma once
// Running a program built on the framework: the driver's command-line options,
// the choice of display (headless for scripts and --headless, SDL otherwise;
// a script with --real-display runs on SDL with its input sent through the X
// server), creating the forms, the loop and the script.
#include <functional>
#include <memory>
#include <string>

#include "forms/Forward.h"

struct TDriverOptions {
  bool Headless = false;
  bool RealDisplay = false;  // the script runs on the X display, not headless
  std::string ScriptFile;
  std::string Error;  // a bad command line
};

// Takes --headless, --real-display and --script FILE out of the arguments.
TDriverOptions ParseDriverOptions(int& argc, char** argv);

class THeadlessBackend;
class TSdlBackend;
class TScriptedDisplay;
class TXTestScriptedDisplay;

// The display a run uses: the headless one (always made; a script drives it
// unless it runs on the real display) or SDL, with the X input of a script in
// front of it. Installed on creation; removed when destroyed.
class TProgramDisplay {
public:
  explicit TProgramDisplay(const TDriverOptions& options);
  ~TProgramDisplay();
  // False (with the reason) when the SDL display could not start. The SDL
  // display starts on a thread of its own while the forms are made (a script on
  // the real display waits for it at once): these wait for it.
  bool Ok();
  std::string Error();
  // What a script drives.
  TScriptedDisplay& Scripted() { return *Scripted_; }

private:
  std::unique_ptr<THeadlessBackend> Headless_;
  std::unique_ptr<TSdlBackend> Sdl_;
  std::unique_ptr<TXTestScriptedDisplay> XInput_;
  std::unique_ptr<TScriptedDisplay> HeadlessScripted_;
  TScriptedDisplay* Scripted_ = nullptr;
  std::string Error_;
};

// Parses the driver options, installs the display, creates the forms, runs the
// loop and the script. Returns the process exit status: the script's (0 or 1),
// or the application's; 1 when creating the forms raised (the message goes to
// stderr and, on the screen or under a script, into the error box: a script
// reads it as MessageBox.Message.Caption and closes it with "click MessageBox.OK");
// 2 for a bad command line or an unreadable script.
int RunFormsProgram(int argc, char** argv, const std::function<void(TApplication&)>& createForms);
