#include "forms/ProgramRunner.h"

#include <cstdio>
#include <cstring>

#include "forms/Application.h"
#include "forms/ScriptDriver.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/backend/HeadlessScriptedDisplay.h"
#include "platform/backend/SdlBackend.h"
#include "platform/backend/XTestScriptedDisplay.h"

TDriverOptions ParseDriverOptions(int& argc, char** argv) {
  TDriverOptions options;
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--headless") == 0) {
      options.Headless = true;
    } else if (std::strcmp(argv[i], "--real-display") == 0) {
      options.RealDisplay = true;
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
  if (options.Error.empty() && options.RealDisplay && (options.Headless || options.ScriptFile.empty()))
    options.Error = "--real-display runs a --script, and not --headless";
  return options;
}

TProgramDisplay::TProgramDisplay(const TDriverOptions& options)
    : Headless_(std::make_unique<THeadlessBackend>()),
      HeadlessScripted_(std::make_unique<THeadlessScriptedDisplay>(*Headless_)),
      Scripted_(HeadlessScripted_.get()) {
  // A script runs on the headless display (its clock and input are the
  // script's) unless it is to run on the real one.
  if (options.Headless || (!options.ScriptFile.empty() && !options.RealDisplay)) {
    Headless_->Install();
    return;
  }
  Sdl_ = std::make_unique<TSdlBackend>(TSdlBackend::TStart::Ahead);
  Sdl_->Install();
  if (!options.RealDisplay) return;
  if (!Sdl_->Ok()) return;
  XInput_ = std::make_unique<TXTestScriptedDisplay>(*Sdl_);
  if (!XInput_->Ok()) {
    Error_ = XInput_->Error();
    return;
  }
  XInput_->Install();
  Scripted_ = XInput_.get();
}

TProgramDisplay::~TProgramDisplay() = default;

bool TProgramDisplay::Ok() { return Error().empty(); }

std::string TProgramDisplay::Error() {
  if (Sdl_ && !Sdl_->Ok()) return Sdl_->Error();
  return Error_;
}

int RunFormsProgram(int argc, char** argv, const std::function<void(TApplication&)>& createForms) {
  TDriverOptions options = ParseDriverOptions(argc, argv);
  if (!options.Error.empty()) {
    std::fprintf(stderr, "%s\n", options.Error.c_str());
    return 2;
  }
  TProgramDisplay display(options);
  const auto displayFailed = [&display] {
    if (display.Ok()) return false;
    std::fprintf(stderr, "Cannot open the display: %s (use --headless)\n", display.Error().c_str());
    return true;
  };
  if (!options.ScriptFile.empty() && displayFailed()) return 1;
  std::unique_ptr<TScriptDriver> driver;
  if (!options.ScriptFile.empty()) {
    std::string error;
    driver = TScriptDriver::FromFile(display.Scripted(), options.ScriptFile, error);
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
    if (displayFailed()) return 1;
    // Start-up failed: the message goes to stderr and, where someone can see
    // and close it, into the error box; the program ends without a window.
    const std::string message = ExceptionMessage(std::current_exception());
    std::fprintf(stderr, "%s\n", message.c_str());
    if (driver || !options.Headless) app.ShowException(message);
    return 1;
  }
  if (displayFailed()) return 1;
  app.Run();
  if (!driver) return app.ExitCode();
  if (!driver->Failed() && !driver->Finished()) {
    std::fprintf(stderr, "%s:%zu: the program ended before the script did\n", options.ScriptFile.c_str(),
                 driver->NextLine());
    return 1;
  }
  return driver->ExitCode();
}
