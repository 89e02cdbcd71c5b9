#include <deque>

#include "FormsTestUtil.h"
#include "forms/Button.h"
#include "forms/Clipboard.h"
#include "forms/CustomEdit.h"
#include "forms/Menus.h"
#include "forms/PopupMenuWindow.h"
#include "forms/SpeedButton.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"

namespace {

class TMenuForm : public TForm {
public:
  explicit TMenuForm(TComponent* owner) : TForm(owner) {
    SetName("MenuForm");
    SetBounds(50, 50, 400, 300);
    Edit = Add<TEdit>("Edit", 10, 10, 200, 23);
    Second = Add<TEdit>("Second", 10, 40, 200, 23);
    Other = Add<TButton>("Other", 220, 10, 75, 25);
    Other->OnClick = [this](TObject*) { ++OtherClicks; };
    Tool = Add<TSpeedButton>("Tool", 220, 50, 40, 30);
    Menu = new TPopupMenu(this);
    Menu->Add("&Первый", [this](TObject* sender) { Chosen.push_back({"Первый", sender}); });
    Menu->Add("-");
    Menu->Add("&Второй", [this](TObject* sender) { Chosen.push_back({"Второй", sender}); });
    Tool->SetPopupMenu(Menu);
  }
  template <class T>
  T* Add(const char* name, int x, int y, int w, int h) {
    return AddControl<T>(this, name, x, y, w, h);
  }
  TEdit* Edit;
  TEdit* Second;
  TButton* Other;
  TSpeedButton* Tool;
  TPopupMenu* Menu;
  int OtherClicks = 0;
  std::vector<std::pair<std::string, TObject*>> Chosen;
};

}  // namespace

// The menu runs its own loop: the steps below are what the person does while it
// is open, one each time the program waits for input.
class PopupMenuTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    Clipboard().SetAsText("");
    Form = App->CreateForm<TMenuForm>();
    Form->Show();
    Pump();
  }
  void TearDown() override {
    Backend->SetIdleHandler(nullptr);
    FormsTest::TearDown();
  }
  // Runs `open` with the steps fed to the menu's loop; each step sees the open menu.
  void WithMenu(const std::function<void()>& open, std::vector<std::function<void(TPopupMenu&)>> steps) {
    auto queue = std::make_shared<std::deque<std::function<void(TPopupMenu&)>>>(steps.begin(), steps.end());
    Backend->SetIdleHandler([this, queue] {
      TPopupMenu* menu = TPopupMenu::Showing();
      if (!menu || queue->empty()) return false;
      auto step = std::move(queue->front());
      queue->pop_front();
      step(*menu);
      ++StepsRun;
      return true;
    });
    open();
    Backend->SetIdleHandler(nullptr);
    // The quit the idle handler asked for when the steps ran out ends nothing here.
    MSG quit;
    while (PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Pump();
  }
  void RightClick(TControl* c) { Backend->Click(CenterOf(c), TMouseButton::Right); }
  static std::vector<std::string> Captions(const TPopupMenu& menu) {
    std::vector<std::string> out;
    for (int i = 0; i < menu.Count(); ++i) out.push_back(MenuCaptionText(menu.Items(i).Caption()));
    return out;
  }
  static std::vector<bool> Enabled(const TPopupMenu& menu) {
    std::vector<bool> out;
    for (int i = 0; i < menu.Count(); ++i) out.push_back(menu.Items(i).Enabled());
    return out;
  }
  void Chord(int modifier, int vk) {
    Backend->KeyDown(modifier);
    Backend->Key(vk);
    Backend->KeyUp(modifier);
  }

  TMenuForm* Form = nullptr;
  int StepsRun = 0;
};

TEST_F(PopupMenuTest, RightClickIntoAnEditOpensTheEditingCommandsAtThePointer) {
  Form->Edit->SetText("кот и пёс");
  std::vector<std::string> captions;
  std::vector<bool> enabled;
  TRect where;
  bool focused = false;
  WithMenu([&] { RightClick(Form->Edit); },
           {[&](TPopupMenu& menu) {
              captions = Captions(menu);
              enabled = Enabled(menu);
              GetWindowRect(menu.Window()->Handle(), &where);
              focused = Form->Edit->Focused();
              Backend->Key(VK_ESCAPE);
            }});
  EXPECT_EQ(captions, (std::vector<std::string>{"Вырезать", "Копировать", "Вставить", "Удалить", "-", "Выделить все"}));
  // Nothing selected and an empty clipboard: only "select all" can be chosen.
  EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, false, true, true}));
  EXPECT_EQ((TPoint{where.Left, where.Top}), CenterOf(Form->Edit));
  EXPECT_TRUE(focused);
  // Escape left everything as it was and closed the menu.
  EXPECT_EQ(TPopupMenu::Showing(), nullptr);
  EXPECT_EQ(Form->Edit->Text(), "кот и пёс");
  EXPECT_EQ(Form->Edit->SelLength(), 0);
}

TEST_F(PopupMenuTest, CommandsChosenByLetterArrowsAndMouseEditTheText) {
  Form->Edit->SetText("слово");
  // The letter of "Выделить все", then "Копировать" with the arrows (disabled
  // items are passed over), then "Вставить" into the other field with the mouse.
  WithMenu([&] { RightClick(Form->Edit); }, {[&](TPopupMenu&) { Backend->Text("в"); }});
  EXPECT_EQ(Form->Edit->SelLength(), 5);
  std::vector<bool> enabled;
  WithMenu([&] { RightClick(Form->Edit); }, {[&](TPopupMenu& menu) {
                                               enabled = Enabled(menu);
                                               Backend->Key(VK_DOWN);
                                             },
                                             [&](TPopupMenu& menu) {
                                               EXPECT_EQ(menu.Window()->HotIndex(), 0);
                                               Backend->Key(VK_DOWN);
                                             },
                                             [&](TPopupMenu&) { Backend->Key(VK_RETURN); }});
  EXPECT_EQ(enabled, (std::vector<bool>{true, true, false, true, true, false}));
  EXPECT_EQ(Clipboard().AsText(), "слово");
  EXPECT_EQ(Form->Edit->Text(), "слово");
  WithMenu([&] { RightClick(Form->Second); }, {[&](TPopupMenu& menu) {
                                                 TPopupMenuWindow* window = menu.Window();
                                                 const TRect item = window->ItemRect(2);
                                                 Backend->Click(window->ClientToScreen({(item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2}));
                                               }});
  EXPECT_EQ(Form->Second->Text(), "слово");
  // "Вырезать" takes the selection away into the clipboard.
  Form->Second->SetSelStart(0);
  Form->Second->SetSelLength(2);
  WithMenu([&] { RightClick(Form->Second); }, {[&](TPopupMenu&) { Backend->Text("р"); }});
  EXPECT_EQ(Form->Second->Text(), "ово");
  EXPECT_EQ(Clipboard().AsText(), "сл");
}

TEST_F(PopupMenuTest, ReadOnlyAndPasswordEditsOfferOnlyWhatTheyAllow) {
  Clipboard().SetAsText("вставка");
  Form->Edit->SetText("только чтение");
  Form->Edit->SetReadOnly(true);
  Form->Edit->SelectAll();
  std::vector<bool> enabled;
  // The letter of a disabled command chooses nothing; Escape closes.
  WithMenu([&] { RightClick(Form->Edit); }, {[&](TPopupMenu& menu) {
                                               enabled = Enabled(menu);
                                               Backend->Text("а");
                                             },
                                             [&](TPopupMenu&) { Backend->Key(VK_ESCAPE); }});
  EXPECT_EQ(enabled, (std::vector<bool>{false, true, false, false, true, false}));
  EXPECT_EQ(Form->Edit->Text(), "только чтение");
  EXPECT_EQ(StepsRun, 2);

  Form->Second->SetPasswordChar(U'*');
  Form->Second->SetText("секрет");
  Form->Second->SelectAll();
  WithMenu([&] { RightClick(Form->Second); }, {[&](TPopupMenu& menu) {
                                                 enabled = Enabled(menu);
                                                 Backend->Text("к");
                                               },
                                               [&](TPopupMenu&) { Backend->Key(VK_ESCAPE); }});
  EXPECT_EQ(enabled, (std::vector<bool>{false, false, true, true, true, false}));
  EXPECT_EQ(Clipboard().AsText(), "вставка");
}

TEST_F(PopupMenuTest, AClickElsewhereClosesTheMenuAndGoesNowhere) {
  Form->Edit->SetText("текст");
  WithMenu([&] { RightClick(Form->Edit); }, {[&](TPopupMenu&) { Click(Form->Other); }});
  EXPECT_EQ(TPopupMenu::Showing(), nullptr);
  EXPECT_EQ(Form->OtherClicks, 0);
  // The next click is an ordinary one again.
  Click(Form->Other);
  EXPECT_EQ(Form->OtherClicks, 1);
}

TEST_F(PopupMenuTest, AWindowlessControlsMenuRunsTheCommandAfterClosing) {
  bool openDuringCommand = true;
  TComponent* popupComponent = nullptr;
  Form->Menu->Items(2).OnClick = [&](TObject*) {
    openDuringCommand = TPopupMenu::Showing() != nullptr;
    popupComponent = Form->Menu->PopupComponent();
  };
  WithMenu([&] { RightClick(Form->Tool); }, {[&](TPopupMenu& menu) {
                                               EXPECT_EQ(&menu, Form->Menu);
                                               Backend->Key(VK_END);
                                             },
                                             [&](TPopupMenu&) { Backend->Key(VK_RETURN); }});
  EXPECT_FALSE(openDuringCommand);
  EXPECT_EQ(popupComponent, Form->Tool);
  EXPECT_EQ(Form->Menu->PopupComponent(), nullptr);
  // A right click on the form itself, which has no menu, opens none.
  int steps = StepsRun;
  WithMenu([&] { Backend->Click(Form->ClientToScreen({350, 250}), TMouseButton::Right); }, {[](TPopupMenu&) {}});
  EXPECT_EQ(StepsRun, steps);
}

TEST_F(PopupMenuTest, TheMenuKeyAndShiftF10OpenTheMenuAtTheFocusedEdit) {
  Form->Edit->SetFocus();
  TPoint first{}, second{};
  WithMenu([&] { Backend->Key(VK_APPS); }, {[&](TPopupMenu& menu) {
                                             TRect r;
                                             GetWindowRect(menu.Window()->Handle(), &r);
                                             first = {r.Left, r.Top};
                                             Backend->Key(VK_ESCAPE);
                                           }});
  WithMenu([&] { Chord(VK_SHIFT, VK_F10); }, {[&](TPopupMenu& menu) {
                                               TRect r;
                                               GetWindowRect(menu.Window()->Handle(), &r);
                                               second = {r.Left, r.Top};
                                               Backend->Key(VK_ESCAPE);
                                             }});
  EXPECT_EQ(StepsRun, 2);
  EXPECT_EQ(first, Form->Edit->ClientToScreen({0, 0}));
  EXPECT_EQ(second, first);
}

TEST_F(PopupMenuTest, NearTheScreensCornerTheMenuOpensUpAndLeft) {
  const TPoint corner{GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5};
  TRect where;
  Backend->SetIdleHandler([&] {
    if (TPopupMenu* menu = TPopupMenu::Showing()) {
      GetWindowRect(menu->Window()->Handle(), &where);
      menu->CloseMenu();
      return true;
    }
    return false;
  });
  EXPECT_EQ(Form->Menu->Popup(corner.X, corner.Y), -1);
  EXPECT_EQ((TPoint{where.Right, where.Bottom}), corner);
}

TEST_F(PopupMenuTest, AMenuDestroyedWhileOpenEndsItsLoopSafely) {
  auto* menu = new TPopupMenu(Form);
  menu->Add("Один");
  Form->Other->SetPopupMenu(menu);
  WithMenu([&] { RightClick(Form->Other); }, {[&](TPopupMenu& open) { delete &open; }});
  EXPECT_EQ(TPopupMenu::Showing(), nullptr);
  // The control forgot the menu that went away.
  EXPECT_EQ(Form->Other->PopupMenu(), nullptr);
  EXPECT_EQ(StepsRun, 1);
}
