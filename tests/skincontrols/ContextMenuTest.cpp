// The context menu of skinned controls: drawn by the skin while the manager is
// active, plain otherwise; a data-aware edit's commands go through its record.
#include <deque>

#include "EditTestKit.h"
#include "forms/Clipboard.h"
#include "forms/Menus.h"
#include "forms/PopupMenuWindow.h"
#include "skin/controls/sDBEdit.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sPanel.h"
#include "skin/core/sGeneralData.h"

class ContextMenuTest : public EditTestBase {
protected:
  void Build() {
    Form = MakeForm([this](TForm* form) {
      OpenDatabase(form);
      auto* panel = Add<TsPanel>(form, form, "sPanel1", 0, 0, 500, 360);
      panel->SetAlign(alClient);
      Edit = Add<TsEdit>(form, panel, "sEdit1", 10, 10, 150, 24);
      Edit->SetText("Иванов");
      DBEdit = Add<TsDBEdit>(form, panel, "sDBEdit1", 10, 100, 90, 24);
      DBEdit->SetDataSource(Source);
      DBEdit->SetDataField("amount");
    });
  }
  // Right-clicks the control and runs `look` on the open menu, then presses
  // lastKey (Escape unless given).
  void WithMenu(TControl* control, const std::function<void(TPopupMenu&)>& look, int lastKey = VK_ESCAPE) {
    int step = 0;
    Backend->SetIdleHandler([&] {
      TPopupMenu* menu = TPopupMenu::Showing();
      if (!menu || step > 1) return false;
      if (step++ == 0) look(*menu);
      else Backend->Key(lastKey);
      return true;
    });
    Backend->Click(control->ClientToScreen({20, 10}), TMouseButton::Right);
    Backend->SetIdleHandler(nullptr);
    MSG quit;
    while (PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Settle();
  }
  // A pixel of the open menu's window.
  static TColor MenuPixel(TPopupMenu& menu, int x, int y) {
    menu.Window()->Repaint();
    return WindowPixel(menu.Window()->Handle(), x, y) & 0xFFFFFF;
  }

  TForm* Form = nullptr;
  TsEdit* Edit = nullptr;
  TsDBEdit* DBEdit = nullptr;
};

TEST_F(ContextMenuTest, TheSkinDrawsTheMenuInItsMenuItemColoursWhileActive) {
  Build();
  const TsGeneralData& item = Section("MENUITEM");
  std::string windowClass;
  bool ownerDraw = false;
  TColor face = 0, hot = 0;
  WithMenu(Edit, [&](TPopupMenu& menu) {
    ownerDraw = menu.OwnerDraw();
    windowClass = menu.Window()->ClassName();
    TPopupMenuWindow& window = *menu.Window();
    const TRect last = window.ItemRect(menu.Count() - 1);  // "Выделить все", not hot
    face = MenuPixel(menu, last.Left + 6, (last.Top + last.Bottom) / 2);
    window.SetHotIndex(menu.Count() - 1);
    hot = MenuPixel(menu, last.Left + 6, (last.Top + last.Bottom) / 2);
  });
  EXPECT_TRUE(ownerDraw);
  EXPECT_EQ(windowClass, "TacPopupMenuWindow");
  EXPECT_EQ(face, ColorToRGB(item.Color));
  EXPECT_EQ(hot, ColorToRGB(item.HotColor));

  // Switched off, the skin leaves the menu to the system's colours.
  Manager->SetActive(false);
  Settle();
  WithMenu(Edit, [&](TPopupMenu& menu) {
    ownerDraw = menu.OwnerDraw();
    windowClass = menu.Window()->ClassName();
    const TRect last = menu.Window()->ItemRect(menu.Count() - 1);
    face = MenuPixel(menu, last.Left + 6, (last.Top + last.Bottom) / 2);
  });
  EXPECT_FALSE(ownerDraw);
  EXPECT_EQ(windowClass, "TPopupMenuWindow");
  EXPECT_EQ(face, ColorToRGB(clMenu));
}

TEST_F(ContextMenuTest, PastingIntoADataAwareEditPutsItsRecordIntoEditing) {
  Build();
  Clipboard().SetAsText("4");
  DBEdit->SetFocus();
  DBEdit->SelectAll();
  ASSERT_EQ(Query->State(), TDataSetState::dsBrowse);
  // "Вставить" chosen with its letter.
  WithMenu(DBEdit, [&](TPopupMenu&) { Backend->Text("а"); });
  EXPECT_EQ(DBEdit->Text(), "4");
  EXPECT_EQ(Query->State(), TDataSetState::dsEdit);
  // A read-only one offers no paste, and its letter changes nothing.
  Query->Cancel();
  DBEdit->SetReadOnly(true);
  Clipboard().SetAsText("5");
  bool pasteOffered = true;
  WithMenu(DBEdit, [&](TPopupMenu& menu) {
    pasteOffered = menu.Find("Вставить")->Enabled();
    Backend->Text("а");
  });
  EXPECT_FALSE(pasteOffered);
  EXPECT_NE(DBEdit->Text(), "5");
  EXPECT_EQ(Query->State(), TDataSetState::dsBrowse);
}
