#pragma once
// The window of an owner-drawn popup menu while a skin runs: the face and the hot
// row are the skin's menu-item section (normal and hot), captions in its colours,
// separators in the divider's. Without a loaded skin it draws as the plain menu.
#include "forms/PopupMenuWindow.h"
#include "skin/runtime/Forward.h"

class TacPopupMenuWindow : public TPopupMenuWindow {
public:
  explicit TacPopupMenuWindow(TPopupMenu& menu);
  ~TacPopupMenuWindow() override;
  std::string ClassName() const override { return "TacPopupMenuWindow"; }

  // The skin's factory for owner-drawn menus (set while the skinned controls run).
  static void Install();
  static void Uninstall();

protected:
  void CreateWnd() override;
  void PaintBackground(TCanvas& canvas, const TRect& rect) override;
  void PaintItem(TCanvas& canvas, const TMenuItem& item, const TRect& rect, bool hot) override;
  void PaintLine(TCanvas& canvas, const TRect& rect) override;
  TColor TextColor(const TMenuItem& item, bool hot) const override;

private:
  // The default manager when it has a skin with the menu-item section, else null.
  TsSkinManager* Skin() const;
  HWND Registered_ = nullptr;
};
