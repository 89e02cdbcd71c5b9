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
#include "tests/support/TestDesktop.h"

// A control of class T named `name` on the form at the given bounds.
template <class T>
T* AddControl(TForm* form, const char* name, int x, int y, int w, int h) {
  auto* c = new T(form);
  c->SetName(name);
  c->SetParent(form);
  c->SetBounds(x, y, w, h);
  return c;
}

class FormsTest : public ::testing::Test, protected TTestDesktop {
protected:
  void SetUp() override { OpenDesktop({FormsEnginePart()}); }
  void TearDown() override { CloseDesktop(); }
  static void Drain() { DropPending(); }
};
