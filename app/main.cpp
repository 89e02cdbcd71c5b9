// The electronic textbook; `textbook --help` lists the switches (app/CommandLine.cpp).
// Works in the folder that holds "db.mdb": the current one, the one given by
// --workspace, or the user's own (--user-workspace, as the menu entry starts it).
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/AppForms.h"
#include "app/CommandLine.h"
#include "forms/Application.h"
#include "forms/ProgramRunner.h"
#include "platform/base/ProcessHeap.h"
#include "platform/gfx/FontEngine.h"
#include "app/TextbookEngine.h"
#include "app/WorkspaceChoice.h"
#include "app/data/DatabaseChoice.h"
#include "forms/Dialogs.h"
#include "forms/ScriptDriver.h"
#include "skin/runtime/sSkinManager.h"

int main(int argc, char** argv) {
  PrepareProcessHeap();
  const TCommandLine line = ParseCommandLine(argc, argv);
  if (!line.Error.empty()) {
    std::fprintf(stderr, "textbook: %s\n", line.Error.c_str());
    return 2;
  }
  if (line.Help || line.Version) {
    std::fputs((line.Help ? CommandLineHelp() : CommandLineVersion() + "\n").c_str(), stdout);
    return 0;
  }
  // Every window measures text: the fonts' configuration is read meanwhile.
  TFontEngine::LoadConfigurationAhead();
  // The program runner reads only the driver's switches.
  std::vector<std::string> runnerArgs{argv[0]};
  runnerArgs.insert(runnerArgs.end(), line.DriverArguments.begin(), line.DriverArguments.end());
  std::vector<char*> runnerArgv;
  for (std::string& a : runnerArgs) runnerArgv.push_back(a.data());
  runnerArgv.push_back(nullptr);

  // The engine's wiring lives until the program's windows and the application are gone.
  TEngineScope engine(TextbookEngineParts());
  bool startUpFailed = false;
  const int status = RunFormsProgram(static_cast<int>(runnerArgs.size()), runnerArgv.data(), [&](TApplication& app) {
    app.Initialize();
    app.SetTitle("Электронный учебник");
    try {
      const TWorkspacePlace place = ChooseWorkspace(line, TWorkspaceEnvironment::FromProcess());
      std::filesystem::current_path(place.Dir);
      // db.mdb of the workspace, or the database the command line, the environment
      // or the workspace's textbook.conf names.
      DatabaseChoice::SetChosen(DatabaseChoice::Choose(
          line.Database.empty() ? std::nullopt : std::optional<std::string>(line.Database), place.Dir));
      // An older file is upgraded before any window reads it; one that cannot be
      // (read-only media) is used as it is, with a warning once the program runs.
      const std::string warning = UpgradeDatabase();
      if (!warning.empty()) std::fprintf(stderr, "textbook: %s\n", warning.c_str());
      CreateAppForms(app);
      std::string welcome;
      if (place.Created) {
        welcome = FirstStartMessage(place.Dir);
        std::printf("%s\n", welcome.c_str());
        std::fflush(stdout);
      }
      if (!welcome.empty() || !warning.empty()) {
        app.OnStarted = [welcome, warning] {
          if (!welcome.empty()) ShowMessage(welcome);
          if (!warning.empty()) MessageDlg(warning, mtWarning, {mbOK});
        };
      }
      if (line.SkinVersion) {
        // "/acver": the skin engine's version box, once the main window owns its manager.
        char program[] = "textbook";
        char versionArg[] = "/acver";
        char* versionArgs[] = {program, versionArg, nullptr};
        CheckVersionSwitch(2, versionArgs);
      }
    } catch (...) {
      // A workspace that cannot be made, a database that cannot be opened or lacks
      // a table: the message in the error box, no window shown, exit status 1.
      startUpFailed = true;
      app.SetShowMainForm(false);
      const std::string message = ExceptionMessage(std::current_exception());
      std::fprintf(stderr, "%s\n", message.c_str());
      app.OnStarted = [&app, message] {
        app.ShowException(message);
        app.Terminate();
      };
    }
  });
  return startUpFailed ? 1 : status;
}
