#pragma once
// A headless desktop and an application object for each window test, and a
// way to run driver scripts against forms made by the test.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/ScriptDriver.h"
#include "platform/backend/HeadlessBackend.h"

class FormsTest : public ::testing::Test {
protected:
  void SetUp() override {
    Backend = std::make_unique<THeadlessBackend>(TSize{1024, 768});
    Backend->Install();
    Drain();
    App = std::make_unique<TApplication>();
  }
  void TearDown() override {
    App.reset();
    Drain();
    Backend.reset();
  }
  // Nothing posted by one test (a quit, a wake-up) may reach the next.
  static void Drain() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // Centre of a control in desktop coordinates.
  static TPoint CenterOf(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }
  void Click(TControl* c) { Backend->Click(CenterOf(c)); }
  void Pump() { ProcessPendingMessages(); }

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

  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App;
  bool ScriptFinished = false;
};
