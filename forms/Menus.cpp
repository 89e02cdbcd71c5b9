#include "forms/Menus.h"

#include "forms/PopupMenuWindow.h"
#include "forms/Strings.h"
#include "platform/base/Cp1251.h"
#include "platform/win/Win.h"

namespace {

TPopupMenu* gShowing = nullptr;
TPopupMenu::TWindowFactory& OwnerDrawFactory() {
  static TPopupMenu::TWindowFactory factory;
  return factory;
}

bool IsButtonDown(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsMouseMessage(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK);
}

}  // namespace

// --- TMenuItem ---------------------------------------------------------------------------------

TMenuItem::TMenuItem(std::string caption, TNotifyEvent onClick)
    : OnClick(std::move(onClick)), Caption_(std::move(caption)) {}

char32_t TMenuItem::AccelKey() const {
  for (size_t i = 0; i + 1 < Caption_.size(); ++i) {
    if (Caption_[i] != '&') continue;
    if (Caption_[i + 1] == '&') {
      ++i;  // "&&" is a plain ampersand
      continue;
    }
    size_t next = i + 1;
    return LowerCodePoint(NextCodePoint(Caption_, next));
  }
  return 0;
}

std::string MenuCaptionText(const std::string& caption) {
  std::string out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

// --- TPopupMenu --------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu() {
  Destroying();
  if (gShowing == this) gShowing = nullptr;
  if (Alive_) *Alive_ = false;
}

TMenuItem& TPopupMenu::Add(const std::string& caption, TNotifyEvent onClick) {
  Items_.push_back(std::make_unique<TMenuItem>(caption, std::move(onClick)));
  return *Items_.back();
}

TMenuItem* TPopupMenu::Find(const std::string& text) {
  for (auto& item : Items_)
    if (MenuCaptionText(item->Caption()) == text) return item.get();
  return nullptr;
}

TPopupMenu* TPopupMenu::Showing() { return gShowing; }

void TPopupMenu::SetOwnerDrawWindowFactory(TWindowFactory factory) { OwnerDrawFactory() = std::move(factory); }

void TPopupMenu::CloseMenu() {
  Closing_ = true;
  // Wakes the loop, which may be waiting for input.
  if (Window_ && Window_->HandleAllocated()) PostMessage(Window_->Handle(), WM_NULL, 0, 0);
}

void TPopupMenu::Choose(int index) {
  if (index < 0 || index >= Count() || !Items(index).Selectable()) return;
  Chosen_ = index;
  CloseMenu();
}

int TPopupMenu::Popup(int x, int y) {
  if (gShowing) return -1;
  if (OnPopup) OnPopup(this);
  bool anything = false;
  for (auto& item : Items_) anything = anything || !item->IsLine();
  if (!anything) return -1;

  // Whatever holds the mouse (a button being pressed, a drag) lets go first.
  if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);

  const std::shared_ptr<bool> alive = Alive_ = std::make_shared<bool>(true);
  const auto& factory = OwnerDrawFactory();
  std::unique_ptr<TPopupMenuWindow> window = OwnerDraw_ && factory ? factory(*this) : nullptr;
  Window_ = window ? std::move(window) : std::make_unique<TPopupMenuWindow>(*this);
  Chosen_ = -1;
  Closing_ = false;
  gShowing = this;
  Window_->ShowAt(x, y);

  RunModalLoop([&] { return !*alive || Closing_ || !Window_->HandleAllocated() || !IsWindowVisible(Window_->Handle()); },
               [&](MSG& msg) { return *alive && FilterMessage(msg); });
  if (!*alive) return -1;  // the menu went away with its owner while open

  gShowing = nullptr;
  Window_->CloseWindow();
  Window_.reset();
  const int chosen = Chosen_;
  if (chosen >= 0 && Items(chosen).OnClick) Items(chosen).OnClick(this);
  if (*alive) PopupComponent_ = nullptr;
  return chosen;
}

bool TPopupMenu::FilterMessage(const MSG& msg) {
  TPopupMenuWindow& window = *Window_;
  const HWND own = window.Handle();
  if (IsMouseMessage(msg.message) && msg.hwnd != own) {
    // The pointer elsewhere: nothing is hot, and a press there dismisses the menu
    // (the press itself goes nowhere, as on the desktop's own menus).
    if (IsButtonDown(msg.message)) CloseMenu();
    else window.SetHotIndex(-1);
    return true;
  }
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      switch (static_cast<int>(msg.wParam)) {
        case VK_UP: window.MoveHot(-1); break;
        case VK_DOWN: window.MoveHot(1); break;
        case VK_HOME: window.MoveHotTo(0, 1); break;
        case VK_END: window.MoveHotTo(Count() - 1, -1); break;
        case VK_RETURN: Choose(window.HotIndex()); break;
        case VK_ESCAPE:
        case VK_MENU:
        case VK_F10: CloseMenu(); break;
        default: break;
      }
      return true;
    case WM_CHAR:
    case WM_SYSCHAR: {
      const char32_t key = LowerCodePoint(static_cast<char32_t>(msg.wParam));
      // The first item with that letter after the hot one, wrapping.
      for (int step = 1; step <= Count(); ++step) {
        const int index = (window.HotIndex() + step + Count()) % Count();
        if (Items(index).Selectable() && Items(index).AccelKey() == key) {
          Choose(index);
          break;
        }
      }
      return true;
    }
    default:
      // Other keys go nowhere while the menu is open.
      return msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
  }
}
