// The electronic textbook:
//   textbook [/acver] [--headless] [--script FILE]
// Runs in the folder that holds "db.mdb".
#include <cstring>
#include <exception>
#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "app/Unit7.h"
#include "app/Unit8.h"
#include "app/Unit9.h"
#include "forms/ScriptDriver.h"

namespace {
// "/acver" asks for the skin engine's version box at start-up.
bool TakeVersionSwitch(int& argc, char** argv) {
  bool found = false;
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "/acver") == 0) found = true;
    else argv[out++] = argv[i];
  }
  argc = out;
  argv[argc] = nullptr;
  return found;
}
}  // namespace

int main(int argc, char** argv) {
  const bool versionSwitch = TakeVersionSwitch(argc, argv);
  bool startUpFailed = false;
  int status = RunFormsProgram(argc, argv, [&](TApplication& app) {
    app.Initialize();
    app.SetTitle("Электронный учебник");
    try {
      app.CreateForm(&Form1);
      app.CreateForm(&Form2);
      app.CreateForm(&Form3);
      app.CreateForm(&Form4);
      app.CreateForm(&Form5);
      app.CreateForm(&Form6);
      app.CreateForm(&Form7);
      app.CreateForm(&Form8);
      app.CreateForm(&Form9);
      if (versionSwitch) {
        // The skin manager's version box is shown here once the main window owns one.
      }
    } catch (...) {
      // A database that cannot be opened or lacks a table: the engine's message in
      // the error box, no window shown, and the program ends.
      startUpFailed = true;
      app.SetShowMainForm(false);
      std::string message = ExceptionMessage(std::current_exception());
      app.OnStarted = [&app, message] {
        app.ShowException(message);
        app.Terminate();
      };
    }
  });
  return startUpFailed ? 1 : status;
}
