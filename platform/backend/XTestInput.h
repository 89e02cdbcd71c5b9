#pragma once
// Input and pictures through an X server, on a connection of its own: pointer
// motion, buttons and keys made with the XTest extension (the server treats
// them as a person's), text typed key by key (spare keycodes are lent to the
// characters no key makes, and given back at the end), pictures read from the
// root window, and the server's stacking and keyboard focus.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/win/WinTypes.h"

struct _XDisplay;

class TXTestInput {
public:
  using TXWindow = unsigned long;

  // Connects to `displayName` (empty: $DISPLAY).
  explicit TXTestInput(const std::string& displayName = "");
  ~TXTestInput();
  TXTestInput(const TXTestInput&) = delete;
  TXTestInput& operator=(const TXTestInput&) = delete;
  // False (with the reason) when there is no server or it lacks XTest.
  bool Ok() const { return Display_ != nullptr; }
  const std::string& Error() const { return Error_; }

  // Waits until the server has carried out every request made so far.
  void Sync();

  void MoveTo(TPoint p);
  TPoint Pointer();
  // 1 left, 2 middle, 3 right.
  void Button(int button, bool down);
  // Raises a top-level window as another program does (a window manager turns
  // it into a request of its own or refuses it).
  void Raise(TXWindow window);
  // A key by keysym (XK_Return, XK_Control_L …); false when none makes it.
  bool Key(unsigned long keysym, bool down);
  // Lends spare keycodes to those of `characters` no key types, in one change
  // of the keyboard mapping (each change makes every client, the window
  // manager too, read the mapping again); false when too few are spare.
  bool Lend(const std::u32string& characters);
  // How many leading `characters` one lending can serve: all of them unless
  // they hold more different characters no key types than there are spare keycodes.
  size_t LendablePrefix(const std::u32string& characters);
  // Presses and releases the keys that type one character (Shift when the
  // character is on the shifted level); false when no key could be made to type it.
  bool TypeCharacter(char32_t character);

  // Part of the root window as shown (clipped to the screen); an empty bitmap
  // when nothing of it is on the screen.
  TBitmap Grab(const TRect& area);
  TSize ScreenSize();
  // A window's rectangle on the screen; empty when it is not viewable.
  TRect Bounds(TXWindow window);

  // The root's viewable children, top first (windows of a window manager's
  // frames stand for what they hold).
  std::vector<TXWindow> TopLevelsTopFirst();
  // `window` and every ancestor below the root, innermost first.
  std::vector<TXWindow> Lineage(TXWindow window);
  // The window that gets key presses: the focus window, or the window under
  // the pointer when the focus follows it; 0 when none.
  TXWindow KeyboardFocus();
  // The deepest window under the pointer; 0 when only the root is.
  TXWindow UnderPointer();

private:
  // The keycode and level of a keysym some key types; 0 when none does.
  int OwnKeycode(unsigned long keysym, bool& shifted);
  int KeycodeFor(unsigned long keysym, bool& shifted);
  // True when no key of the keyboard's own types `keysym` (a lent one does not count).
  bool NeedsSpare(unsigned long keysym);
  // Writes the lent keycodes' symbols (NoSymbol for those given back).
  void WriteSpares(const std::map<int, unsigned long>& symbols);
  void GiveBack();
  void FindSpares();

  _XDisplay* Display_ = nullptr;
  std::string Error_;
  bool SparesFound_ = false;
  std::vector<int> Spares_;             // keycodes without symbols, found at the first lending
  std::map<unsigned long, int> Lent_;   // keysym -> the spare keycode that types it now
};
