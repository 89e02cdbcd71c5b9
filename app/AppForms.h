#pragma once
// The nine windows of the textbook, created hidden in their fixed order: the
// main window first (it opens the connection every later window uses).
#include <string>

#include "forms/Forward.h"

void CreateAppForms(TApplication& app);

// What runs while a statement waits for the server (TDbEngine::SetWaitHandler,
// installed by CreateAppForms): the display's own events (an uncovered window
// shown again, the window manager answered, the busy cursor after a moment),
// the windows' pending paints and due timers, so that they keep drawing; the
// user's input stays queued until the answer came or the wait was given up.
void KeepWindowsPainting();

// Brings the chosen database file ("db.mdb" of the working directory unless
// another was chosen; a server needs nothing) up to the current schema before any
// window opens it (Schema::Upgrade). Returns the warning to show when the file
// cannot be upgraded (read-only media, a failing step): the textbook then uses
// it as it is. A file that cannot be opened at all is left to the main window,
// whose connection reports it.
std::string UpgradeDatabase();
