// TXTestInput against a real X server: a private Xvfb, windows made by the test
// on a connection of their own, and what the server delivers to them.
#include <gtest/gtest.h>
#include <poll.h>

#include <memory>

#include "platform/backend/XTestInput.h"
// Xlib's macros (None, Bool, Status) last, after every header that could meet them.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "tests/realdisplay/XSessionTest.h"

namespace {

class XTestInputTest : public TXSessionTest {
protected:
  void SetUp() override {
    TXSessionTest::SetUp();
    if (HasFatalFailure()) return;
    Input = std::make_unique<TXTestInput>(Session->Display());
    ASSERT_TRUE(Input->Ok()) << Input->Error();
  }

  void TearDown() override {
    Input.reset();
    TXSessionTest::TearDown();
  }

  // A mapped window of one colour, shown when this returns.
  Window MakeWindow(Window parent, TRect r, unsigned long pixel, long events = 0) {
    XSetWindowAttributes a;
    a.background_pixel = pixel;
    a.override_redirect = True;
    a.event_mask = events | StructureNotifyMask | ExposureMask;
    const Window w = XCreateWindow(Observer, parent ? parent : DefaultRootWindow(Observer), r.Left, r.Top,
                                   static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()), 0,
                                   CopyFromParent, InputOutput, CopyFromParent,
                                   CWBackPixel | CWOverrideRedirect | CWEventMask, &a);
    XMapRaised(Observer, w);
    XEvent e;
    XWindowEvent(Observer, w, ExposureMask, &e);
    return w;
  }

  // The next event of `type`, waiting at most two seconds.
  bool NextEvent(int type, XEvent& out) {
    for (int tries = 0; tries < 200; ++tries) {
      while (XPending(Observer)) {
        XNextEvent(Observer, &out);
        if (out.type == type) return true;
      }
      pollfd p{ConnectionNumber(Observer), POLLIN, 0};
      poll(&p, 1, 10);
    }
    return false;
  }

  std::unique_ptr<TXTestInput> Input;
};


TEST_F(XTestInputTest, TypesCharactersOnTheirLevelAndLendsSpareKeysForOthers) {
  const Window w = MakeWindow(0, {0, 0, 300, 200}, 0xFFFFFF, KeyPressMask);
  XSetInputFocus(Observer, w, RevertToParent, CurrentTime);
  XSync(Observer, False);

  // No key types Cyrillic here: spare keycodes get the characters.
  ASSERT_TRUE(Input->Lend(U"aЖяЖ"));
  ASSERT_TRUE(Input->Lend(U"яЖ"));
  ASSERT_TRUE(Input->TypeCharacter(U'a'));
  ASSERT_TRUE(Input->TypeCharacter(U'A'));
  ASSERT_TRUE(Input->TypeCharacter(U'Ж'));
  ASSERT_TRUE(Input->TypeCharacter(U'я'));
  Input->Sync();
  XEvent e;
  ASSERT_TRUE(NextEvent(KeyPress, e));
  EXPECT_EQ(XLookupKeysym(&e.xkey, 0), static_cast<KeySym>('a'));
  EXPECT_EQ(e.xkey.state & ShiftMask, 0u);
  ASSERT_TRUE(NextEvent(KeyPress, e));  // Shift first, then the key on its shifted level
  ASSERT_TRUE(NextEvent(KeyPress, e));
  EXPECT_NE(e.xkey.state & ShiftMask, 0u);
  EXPECT_EQ(XLookupKeysym(&e.xkey, 1), static_cast<KeySym>('A'));

  std::vector<KeyCode> lent;
  for (KeySym expected : {0x1000416UL, 0x100044FUL}) {  // Ж, я
    ASSERT_TRUE(NextEvent(KeyPress, e));
    const KeyCode code = static_cast<KeyCode>(e.xkey.keycode);
    int perCode = 0;
    KeySym* now = XGetKeyboardMapping(Observer, code, 1, &perCode);
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now[0], expected);
    XFree(now);
    lent.push_back(code);
  }
  EXPECT_NE(lent[0], lent[1]);

  // Given back when the input goes away.
  Input.reset();
  for (KeyCode code : lent) {
    int perCode = 0;
    KeySym* after = XGetKeyboardMapping(Observer, code, 1, &perCode);
    ASSERT_NE(after, nullptr);
    for (int i = 0; i < perCode; ++i) EXPECT_EQ(after[i], static_cast<KeySym>(NoSymbol)) << i;
    XFree(after);
  }
}

TEST_F(XTestInputTest, SaysHowMuchOfALongTextOneLendingServes) {
  // More different keyless characters than any server has spare keycodes.
  std::u32string text;
  for (char32_t c = 0x4E00; c < 0x4E00 + 300; ++c) text += c;
  const size_t part = Input->LendablePrefix(text);
  ASSERT_GT(part, 0u);
  ASSERT_LT(part, text.size());
  EXPECT_TRUE(Input->Lend(text.substr(0, part)));
  EXPECT_FALSE(Input->Lend(text.substr(0, part + 1)));
  // Lent keys still count as spare ones: the same answer after lending, and a
  // second lending keeps the keys of the characters it shares with the first.
  EXPECT_EQ(Input->LendablePrefix(text), part);
  EXPECT_TRUE(Input->Lend(text.substr(1, part)));
  Input->Sync();
  const KeyCode kept = XKeysymToKeycode(Observer, 0x1000000UL + text[1]);
  EXPECT_NE(kept, 0);
  EXPECT_TRUE(Input->Lend(text.substr(1, 1)));
  EXPECT_EQ(XKeysymToKeycode(Observer, 0x1000000UL + text[1]), kept);
  // Characters a key types and repeats take no spare keycode.
  const std::u32string mixed = U"ab" + text.substr(0, part) + text.substr(0, part) + U"c" + text.substr(part);
  EXPECT_EQ(Input->LendablePrefix(mixed), 2 + 2 * part + 1);  // up to the first character that does not fit
  EXPECT_EQ(Input->LendablePrefix(U"plain ascii"), 11u);
}

TEST_F(XTestInputTest, KeysAndButtonsReachTheWindowsTheServerChooses) {
  const Window w = MakeWindow(0, {100, 100, 400, 300}, 0x808080, ButtonPressMask | ButtonReleaseMask | KeyPressMask);
  Input->MoveTo({150, 120});
  Input->Button(3, true);
  Input->Button(3, false);
  Input->Sync();
  XEvent e;
  ASSERT_TRUE(NextEvent(ButtonPress, e));
  EXPECT_EQ(e.xbutton.window, w);
  EXPECT_EQ(e.xbutton.button, 3u);
  EXPECT_EQ(e.xbutton.x, 50);
  EXPECT_EQ(e.xbutton.y, 20);
  ASSERT_TRUE(NextEvent(ButtonRelease, e));

  XSetInputFocus(Observer, w, RevertToParent, CurrentTime);
  XSync(Observer, False);
  ASSERT_TRUE(Input->Key(XK_Return, true));
  ASSERT_TRUE(Input->Key(XK_Return, false));
  Input->Sync();
  ASSERT_TRUE(NextEvent(KeyPress, e));
  EXPECT_EQ(XLookupKeysym(&e.xkey, 0), static_cast<KeySym>(XK_Return));
}

TEST_F(XTestInputTest, ReadsStackingFocusAndThePointerFromTheServer) {
  const Window a = MakeWindow(0, {0, 0, 200, 200}, 0xFF0000);
  const Window b = MakeWindow(0, {300, 0, 500, 200}, 0x00FF00);
  const Window inner = MakeWindow(a, {10, 10, 60, 60}, 0x0000FF);
  XRaiseWindow(Observer, a);
  XSync(Observer, False);

  const auto tops = Input->TopLevelsTopFirst();
  ASSERT_GE(tops.size(), 2u);
  EXPECT_EQ(tops[0], a);
  EXPECT_EQ(tops[1], b);
  EXPECT_EQ(Input->Lineage(inner), (std::vector<TXTestInput::TXWindow>{inner, a}));
  EXPECT_EQ(Input->Bounds(inner), (TRect{10, 10, 60, 60}));

  XSetInputFocus(Observer, inner, RevertToParent, CurrentTime);
  XSync(Observer, False);
  EXPECT_EQ(Input->KeyboardFocus(), inner);

  // Focus following the pointer: the keyboard goes where the pointer is.
  XSetInputFocus(Observer, PointerRoot, RevertToPointerRoot, CurrentTime);
  XSync(Observer, False);
  Input->MoveTo({350, 50});
  Input->Sync();
  EXPECT_EQ(Input->Pointer(), (TPoint{350, 50}));
  EXPECT_EQ(Input->UnderPointer(), b);
  EXPECT_EQ(Input->KeyboardFocus(), b);
  Input->MoveTo({20, 20});
  Input->Sync();
  EXPECT_EQ(Input->UnderPointer(), inner);

  XUnmapWindow(Observer, b);
  XSync(Observer, False);
  EXPECT_TRUE(Input->Bounds(b).IsEmpty());
}

TEST_F(XTestInputTest, GrabsWhatTheScreenShowsClippedToIt) {
  MakeWindow(0, {10, 20, 110, 70}, 0x3366CC);
  XSync(Observer, False);
  TBitmap picture = Input->Grab({0, 0, 200, 100});
  ASSERT_EQ(picture.Width(), 200);
  ASSERT_EQ(picture.Height(), 100);
  const std::uint8_t* inside = picture.ScanLine(40) + 50 * 4;
  EXPECT_EQ(inside[0], 0xCC);  // B, G, R
  EXPECT_EQ(inside[1], 0x66);
  EXPECT_EQ(inside[2], 0x33);
  const std::uint8_t* edge = picture.ScanLine(20) + 109 * 4;
  EXPECT_EQ(edge[2], 0x33);
  const std::uint8_t* outside = picture.ScanLine(19) + 50 * 4;
  EXPECT_NE(outside[2], 0x33);

  EXPECT_EQ(Input->ScreenSize(), (TSize{1280, 800}));
  TBitmap corner = Input->Grab({1270, 790, 1300, 830});
  EXPECT_EQ(corner.Width(), 10);
  EXPECT_EQ(corner.Height(), 10);
  EXPECT_EQ(Input->Grab({1300, 0, 1400, 10}).Width(), 0);
}

TEST(XTestInputNoServer, ReportsAMissingDisplay) {
  TXTestInput input(":65000");
  EXPECT_FALSE(input.Ok());
  EXPECT_NE(input.Error().find(":65000"), std::string::npos);
  EXPECT_FALSE(input.TypeCharacter(U'a'));
}

}  // namespace
