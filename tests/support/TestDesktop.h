#pragma once
// The desktop every window test stands on: a headless backend with the virtual
// clock, the engine parts the test's layer needs started, and an application
// object; closed in reverse, so nothing of the engine outlives what it points at.
// Fixtures inherit it beside ::testing::Test and call OpenDesktop/CloseDesktop.
#include <memory>
#include <utility>
#include <vector>

#include "forms/Application.h"
#include "forms/EngineScope.h"
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

  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TEngineScope> Engine;
  std::unique_ptr<TApplication> App;
};
