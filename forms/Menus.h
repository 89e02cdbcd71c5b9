#pragma once
// Popup menus: a column of commands shown at a point of the screen. Popup runs the
// menu's own loop: the mouse points and clicks, the arrow keys move, Enter or an
// item's underlined letter chooses, Escape, a click elsewhere or the program losing
// the keyboard dismisses. The chosen item's OnClick runs after the menu has closed.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Component.h"
#include "platform/win/WinTypes.h"

class TPopupMenuWindow;

class TMenuItem {
public:
  explicit TMenuItem(std::string caption, TNotifyEvent onClick = {});

  // "-" makes a separator line; "&" marks the next letter as the item's key.
  const std::string& Caption() const { return Caption_; }
  void SetCaption(std::string caption) { Caption_ = std::move(caption); }
  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool value) { Enabled_ = value; }
  bool IsLine() const { return Caption_ == "-"; }
  // Chosen with the mouse or the keyboard: enabled and not a line.
  bool Selectable() const { return Enabled_ && !IsLine(); }
  // The letter after "&" folded to lower case (Latin and Cyrillic), 0 without one.
  char32_t AccelKey() const;

  TNotifyEvent OnClick;

private:
  std::string Caption_;
  bool Enabled_ = true;
};

class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  std::string ClassName() const override { return "TPopupMenu"; }

  TMenuItem& Add(const std::string& caption, TNotifyEvent onClick = {});
  int Count() const { return static_cast<int>(Items_.size()); }
  TMenuItem& Items(int index) { return *Items_.at(static_cast<size_t>(index)); }
  const TMenuItem& Items(int index) const { return *Items_.at(static_cast<size_t>(index)); }
  // The first item whose caption without "&" is text; null when none.
  TMenuItem* Find(const std::string& text);

  // Owner-drawn menus are painted by the skin (when one is running) instead of in
  // the system's menu colours.
  bool OwnerDraw() const { return OwnerDraw_; }
  void SetOwnerDraw(bool value) { OwnerDraw_ = value; }
  // The control the menu was opened for, while it is open and its command runs.
  TComponent* PopupComponent() const { return PopupComponent_; }
  void SetPopupComponent(TComponent* component) { PopupComponent_ = component; }

  // Runs before the menu shows: the place to enable items or change them.
  TNotifyEvent OnPopup;

  // Shows the menu with its top-left corner at the screen point (moved to stay on
  // the screen), runs it until it closes and then the chosen item's OnClick.
  // Returns the chosen item's index, -1 when the menu was dismissed. A menu that
  // is already open, or has nothing to show, does nothing and returns -1.
  int Popup(int x, int y);
  // Closes the open menu without choosing (the loop ends at its next message).
  void CloseMenu();
  // Closes the open menu choosing the item, when it can be chosen.
  void Choose(int index);
  TPopupMenuWindow* Window() const { return Window_.get(); }

  // The menu open now (one at a time), null when none.
  static TPopupMenu* Showing();
  // Makes the window of an owner-drawn menu; the skin sets it while it runs.
  using TWindowFactory = std::function<std::unique_ptr<TPopupMenuWindow>(TPopupMenu&)>;
  static void SetOwnerDrawWindowFactory(TWindowFactory factory);

private:
  // Keys and clicks meant for the menu are taken from the loop before dispatch.
  bool FilterMessage(const MSG& msg);

  std::vector<std::unique_ptr<TMenuItem>> Items_;
  bool OwnerDraw_ = false;
  TComponent* PopupComponent_ = nullptr;
  std::unique_ptr<TPopupMenuWindow> Window_;
  int Chosen_ = -1;
  bool Closing_ = false;
  // Cleared when the menu is destroyed, so that a loop it was running can tell.
  std::shared_ptr<bool> Alive_;
};

// The caption as shown: "&&" becomes "&", a lone "&" goes.
std::string MenuCaptionText(const std::string& caption);
