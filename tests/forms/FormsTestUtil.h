#pragma once
// A headless desktop and an application object for each window test.
#include <gtest/gtest.h>

#include <memory>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/backend/HeadlessBackend.h"

class FormsTest : public ::testing::Test {
protected:
  void SetUp() override {
    Backend = std::make_unique<THeadlessBackend>(TSize{1024, 768});
    Backend->Install();
    App = std::make_unique<TApplication>();
  }
  void TearDown() override {
    App.reset();
    Backend.reset();
  }
  // Centre of a control in desktop coordinates.
  static TPoint CenterOf(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }
  void Click(TControl* c) { Backend->Click(CenterOf(c)); }
  void Pump() { ProcessPendingMessages(); }

  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App;
};
