#pragma once
// The desktop every window test stands on: a headless backend with the virtual
// clock, the engine parts the test's layer needs started, and an application
// object; closed in reverse, so nothing of the engine outlives what it points at.
// Fixtures inherit it beside ::testing::Test and call OpenDesktop/CloseDesktop;
// it clicks controls and runs driver scripts for them.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/Application.h"
#include "forms/Controls.h"
#include "forms/EngineScope.h"
#include "forms/ScriptDriver.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Message.h"
#include "platform/win/Messages.h"

class TTestDesktop {
protected:
  void OpenDesktop(std::vector<TEnginePart> parts, TSize screen = {1024, 768}) {
    Backend = std::make_unique<THeadlessBackend>(screen);
    Backend->Install();
    DropPending();
    Engine = std::make_unique<TEngineScope>(std::move(parts));
    App = std::make_unique<TApplication>();
  }
  void CloseDesktop() {
    App.reset();
    DropPending();
    Engine.reset();
    Backend.reset();
  }
  // Nothing posted by one test (a quit, a wake-up) may reach the next.
  static void DropPending() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  // Centre of a control in desktop coordinates.
  static TPoint CenterOf(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }
  void Click(TControl* c) { Backend->Click(CenterOf(c)); }
  static void Pump() { ProcessPendingMessages(); }
  // Runs the application loop with the script; returns the driver's failure
  // text (empty when every line passed).
  std::string RunScript(const std::vector<std::string>& lines) {
    TScriptDriver driver(*Backend, lines, "test.txt");
    driver.Attach();
    App->Run();
    Backend->SetIdleHandler(nullptr);
    ScriptFinished = driver.Finished();
    return driver.Failure();
  }

  bool ScriptFinished = false;
  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TEngineScope> Engine;
  std::unique_ptr<TApplication> App;
};
