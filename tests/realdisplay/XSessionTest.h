#pragma once
// A test suite on a private X server of its own (no window manager), with a
// connection of the test's own to watch what the server holds.
#include <gtest/gtest.h>

// Xlib's macros (None, Bool, Status) last, after every header that could meet them.
#include <X11/Xlib.h>

#include "tests/realdisplay/XSession.h"

class TXSessionTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { Session = new TXSession(""); }
  static void TearDownTestSuite() {
    delete Session;
    Session = nullptr;
  }
  // A suite's own SetUp calls this first and stops on a fatal failure.
  void SetUp() override {
    ASSERT_TRUE(Session->Ok()) << Session->Error();
    Observer = XOpenDisplay(Session->Display().c_str());
    ASSERT_NE(Observer, nullptr);
  }
  void TearDown() override {
    if (Observer) XCloseDisplay(Observer);
    Observer = nullptr;
  }

  static inline TXSession* Session = nullptr;
  Display* Observer = nullptr;
};
