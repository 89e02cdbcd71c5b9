#include "forms/ProgramRunner.h"

#include <cstdio>
#include <cstring>

#include "forms/ScriptDriver.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/backend/SdlBackend.h"

TDriverOptions ParseDriverOptions(int& argc, char** argv) {
  TDriverOptions options;
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--headless") == 0) {
      options.Headless = true;
    } else if (std::strcmp(argv[i], "--script") == 0) {
      if (i + 1 >= argc) {
        options.Error = "--script needs a file name";
      } else {
        options.ScriptFile = argv[++i];
      }
    } else {
      argv[out++] = argv[i];
    }
  }
  argc = out;
  argv[argc] = nullptr;
  return options;
}

TProgramDisplay::TProgramDisplay(bool headless) : Headless_(std::make_unique<THeadlessBackend>()) {
  if (headless) {
    Headless_->Install();
    return;
  }
  Sdl_ = std::make_unique<TSdlBackend>();
  if (!Sdl_->Ok()) {
    Error_ = Sdl_->Error();
    return;
  }
  Sdl_->Install();
}

TProgramDisplay::~TProgramDisplay() = default;

int RunFormsProgram(int argc, char** argv, const std::function<void(TApplication&)>& createForms) {
  TDriverOptions options = ParseDriverOptions(argc, argv);
  if (!options.Error.empty()) {
    std::fprintf(stderr, "%s\n", options.Error.c_str());
    return 2;
  }
  // A script always runs on the headless display: its clock and input are the script's.
  TProgramDisplay display(options.Headless || !options.ScriptFile.empty());
  if (!display.Ok()) {
    std::fprintf(stderr, "Cannot open the display: %s (use --headless)\n", display.Error().c_str());
    return 1;
  }
  std::unique_ptr<TScriptDriver> driver;
  if (!options.ScriptFile.empty()) {
    std::string error;
    driver = TScriptDriver::FromFile(display.Headless(), options.ScriptFile, error);
    if (!driver) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 2;
    }
  }
  // The forms go before the display they were shown on.
  TApplication app;
  // Attached first, so that a script also answers an error box of the start-up.
  if (driver) driver->Attach();
  try {
    createForms(app);
  } catch (...) {
    // Start-up failed: the message goes to stderr and, where someone can see
    // and close it, into the error box; the program ends without a window.
    const std::string message = ExceptionMessage(std::current_exception());
    std::fprintf(stderr, "%s\n", message.c_str());
    if (driver || !options.Headless) app.ShowException(message);
    return 1;
  }
  app.Run();
  if (!driver) return app.ExitCode();
  if (!driver->Failed() && !driver->Finished()) {
    std::fprintf(stderr, "%s:%zu: the program ended before the script did\n", options.ScriptFile.c_str(),
                 driver->NextLine());
    return 1;
  }
  return driver->ExitCode();
}
