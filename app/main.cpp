// The electronic textbook:
//   textbook [/acver] [--headless] [--script FILE]
// Runs in the folder that holds "db.mdb".
#include <cstring>
#include <exception>
#include <string>

#include "app/AppForms.h"
#include "forms/ScriptDriver.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {
// Takes "/acver" (the skin engine's version box at start-up) out of the arguments.
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
  const int status = RunFormsProgram(argc, argv, [&](TApplication& app) {
    app.Initialize();
    app.SetTitle("Электронный учебник");
    RegisterSkinInfoForDriver();
    try {
      CreateAppForms(app);
      if (versionSwitch) {
        // "/acver": the skin engine's version box, once the main window owns its manager.
        char program[] = "textbook";
        char versionArg[] = "/acver";
        char* versionArgs[] = {program, versionArg, nullptr};
        CheckVersionSwitch(2, versionArgs);
      }
    } catch (...) {
      // A database that cannot be opened or lacks a table: the engine's message in
      // the error box, no window shown, exit status 1.
      startUpFailed = true;
      app.SetShowMainForm(false);
      const std::string message = ExceptionMessage(std::current_exception());
      app.OnStarted = [&app, message] {
        app.ShowException(message);
        app.Terminate();
      };
    }
  });
  return startUpFailed ? 1 : status;
}
