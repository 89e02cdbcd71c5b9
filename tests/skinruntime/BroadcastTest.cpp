// The broadcast visitor: every receiver gets a command once, by the right way, and
// the manager's hooks, redraw suspension and application activation.
#include "skin/runtime/acFormRegistry.h"
#include "tests/skinruntime/RuntimeTestUtil.h"

namespace {

// Counts deliveries per receiver for one command.
struct TReceiverCounter {
  std::map<const void*, int> Count;
  std::map<const void*, TacDelivery> How;
  unsigned Command = AC_SETNEWSKIN;
  void Attach() {
    TacBroadcast::Observer() = [this](TControl* receiver, HWND window, const TMessage& m, TacDelivery how) {
      if (CommandOf(m.WParam) != Command) return;
      const void* key = receiver ? static_cast<const void*>(receiver) : static_cast<const void*>(window);
      ++Count[key];
      How[key] = how;
    };
  }
  int TotalDeliveries() const {
    int total = 0;
    for (const auto& [key, n] : Count) total += n;
    return total;
  }
};

class TFakeLink : public IacProviderLink {
public:
  explicit TFakeLink(TsSkinManager* manager) : Manager_(manager) {}
  TsSkinManager* LinkManager() const override { return Manager_; }
  bool RedrawLocked() const override { return Locked; }
  void SetRedrawLocked(bool locked) override {
    Locked = locked;
    locked ? ++Locks : ++Unlocks;
  }
  void AnimateSkinChange(int milliseconds) override { Animations.push_back(milliseconds); }
  void RebuildFrame() override { ++Rebuilds; }

  bool Locked = false;
  int Locks = 0, Unlocks = 0, Rebuilds = 0;
  std::vector<int> Animations;

private:
  TsSkinManager* Manager_;
};

class TRecordingSkinner : public IacFormSkinningHook {
public:
  void WindowActivated(TsSkinManager&, HWND window) override { Activated.push_back(window); }
  void WindowCreated(TsSkinManager&, HWND, const CBT_CREATEWND*) override { ++Created; }
  void HookRemoved() override { ++Removed; }
  std::vector<HWND> Activated;
  int Created = 0;
  int Removed = 0;
};

class BroadcastTest : public SkinRuntimeTest {
protected:
  void SetUp() override {
    SkinRuntimeTest::SetUp();
    Manager = NewColourManager();
  }
  void TearDown() override {
    for (const TacRegisteredForm& entry : std::vector<TacRegisteredForm>(ProviderForms())) UnregisterProviderForm(entry.Form);
    ReleaseSkinnedPopups();
    SetFormSkinningHook(nullptr);
    SkinRuntimeTest::TearDown();
  }
  TsSkinManager* Manager = nullptr;
};

}  // namespace

TEST_F(BroadcastTest, EveryReceiverGetsACommandOnce) {
  TTestSkinPanel *outer = nullptr, *inner = nullptr, *underPlain = nullptr, *noWindow = nullptr, *onProvider = nullptr;
  TTestSkinGraphic *g1 = nullptr, *g2 = nullptr, *g3 = nullptr, *g4 = nullptr;
  TTestPlainPanel* plain = nullptr;
  TForm* form = NewForm([&](TForm* f) {
    outer = AddControl<TTestSkinPanel>(f, 0, 0, 200, 100);
    g1 = AddControl<TTestSkinGraphic>(outer, 5, 5, 20, 20);
    inner = AddControl<TTestSkinPanel>(outer, 30, 5, 100, 50);
    g2 = AddControl<TTestSkinGraphic>(inner, 5, 5, 20, 20);
    plain = AddControl<TTestPlainPanel>(f, 0, 120, 200, 100);
    underPlain = AddControl<TTestSkinPanel>(plain, 5, 5, 50, 50);
    g3 = AddControl<TTestSkinGraphic>(plain, 60, 5, 20, 20);
  });
  // A form and a windowed control whose windows do not exist yet: both by direct call.
  TForm* unshown = NewForm([&](TForm* f) { noWindow = AddControl<TTestSkinPanel>(f, 0, 0, 50, 50); });
  // Windows exist for everything but one windowed control.
  form->HandleNeeded();
  for (TWinControl* c : std::initializer_list<TWinControl*>{outer, inner, plain, underPlain}) c->HandleNeeded();
  ASSERT_FALSE(noWindow->HandleAllocated());

  auto* provider = new TTestProviderForm(App.get());
  onProvider = AddControl<TTestSkinPanel>(provider, 0, 0, 50, 50);
  g4 = AddControl<TTestSkinGraphic>(provider, 60, 0, 20, 20);
  provider->AfterConstruction();
  provider->HandleNeeded();
  onProvider->HandleNeeded();
  TFakeLink link(Manager);
  RegisterProviderForm(provider, &link);

  auto* reading = new TForm(App.get());  // still being read: skipped
  auto* unread = AddControl<TTestSkinPanel>(reading, 0, 0, 10, 10);

  TReceiverCounter counter;
  counter.Attach();
  Manager->NotifyNewSkin(false);

  for (TControl* c : std::initializer_list<TControl*>{form, outer, g1, inner, g2, underPlain, g3, unshown, noWindow,
                                                        provider, onProvider, g4})
    EXPECT_EQ(counter.Count[c], 1) << c->ClassName() << " at " << c->Left() << "," << c->Top();
  EXPECT_EQ(counter.TotalDeliveries(), 12) << "nobody else is addressed";
  EXPECT_EQ(counter.Count.count(plain), 0u) << "a plain container is walked, not addressed";
  EXPECT_EQ(counter.Count.count(unread), 0u);
  EXPECT_EQ(counter.How[outer], TacDelivery::Message);
  EXPECT_EQ(counter.How[g1], TacDelivery::DirectCall);
  EXPECT_EQ(counter.How[noWindow], TacDelivery::DirectCall);
  EXPECT_EQ(counter.How[unshown], TacDelivery::DirectCall);
  EXPECT_EQ(counter.How[form], TacDelivery::Message);

  // What the controls themselves saw: each skinned control once, also those its
  // container passed the command on to.
  for (auto* p : {outer, inner, underPlain, noWindow, onProvider}) EXPECT_EQ(p->Received[AC_SETNEWSKIN], 1);
  for (auto* g : {g1, g2, g3, g4}) EXPECT_EQ(g->Received[AC_SETNEWSKIN], 1);
  EXPECT_EQ(provider->Received[AC_SETNEWSKIN], 1) << "the providers' form gets it in the second pass only";
  EXPECT_EQ(plain->Received[AC_SETNEWSKIN], 0);
  EXPECT_EQ(unread->Received[AC_SETNEWSKIN], 0);
  reading->AfterConstruction();
}

TEST_F(BroadcastTest, VisiblePopupsGetTheCommandToo) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "TestPopup";
  RegisterClassEx(wc);
  HWND shown = CreateWindowEx(0, "TestPopup", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND hidden = CreateWindowEx(0, "TestPopup", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  RegisterSkinnedPopup(shown);
  RegisterSkinnedPopup(hidden);
  RegisterSkinnedPopup(shown);
  TReceiverCounter counter;
  counter.Command = AC_REFRESH;
  counter.Attach();
  Manager->NotifyRefresh();
  EXPECT_EQ(counter.Count[shown], 1);
  EXPECT_EQ(counter.Count.count(hidden), 0u);
  DestroyWindow(shown);
  DestroyWindow(hidden);
}

TEST_F(BroadcastTest, NewSkinWithRedrawLockSuspendsRegisteredForms) {
  auto* provider = new TTestProviderForm(App.get());
  provider->AfterConstruction();
  provider->Show();
  TFakeLink link(Manager);
  RegisterProviderForm(provider, &link);
  auto* other = new TTestProviderForm(App.get());
  other->AfterConstruction();
  other->Show();
  TsSkinManager* second = NewManager();
  TFakeLink foreign(second);
  RegisterProviderForm(other, &foreign);

  Manager->NotifyNewSkin(true);
  EXPECT_FALSE(link.Locked);
  EXPECT_EQ(link.Locks, 1) << "a form locked already is not locked again";
  EXPECT_EQ(link.Unlocks, 1);
  EXPECT_EQ(link.Animations, std::vector<int>{100}) << "one animated resume of SkinChanging.Time";
  EXPECT_EQ(link.Rebuilds, 1);
  EXPECT_EQ(foreign.Locks, 0) << "another manager's forms are left alone";
  EXPECT_FALSE(TsSkinManager::AnimationPending());
  EXPECT_EQ(provider->Received[AC_SETNEWSKIN], 1);
  EXPECT_EQ(provider->Received[AC_STOPFADING], 1);
  EXPECT_EQ(provider->Received[AC_REFRESH], 1);
}

TEST_F(BroadcastTest, ApplicationActivationRepaintsEveryForm) {
  auto* a = new TTestProviderForm(App.get());
  a->AfterConstruction();
  auto* b = new TTestProviderForm(App.get());
  b->AfterConstruction();
  a->Show();
  EXPECT_EQ(a->Received[AC_REPAINT], 1);
  EXPECT_EQ(b->Received[AC_REPAINT], 1) << "hidden forms are told too";
  Manager->SetSkinnedPopups(false);
  a->Hide();
  b->Show();
  EXPECT_EQ(b->Received[AC_REPAINT], 1) << "without skinned popups the hook stays quiet";
}

TEST_F(BroadcastTest, WindowHookAttachesThroughTheRegisteredSkinner) {
  TRecordingSkinner skinner;
  SetFormSkinningHook(&skinner);
  ASSERT_TRUE(Manager->SkinHooked());
  auto* plainForm = new TForm(App.get());
  plainForm->AfterConstruction();
  auto* skinned = new TTestProviderForm(App.get());
  skinned->AfterConstruction();
  plainForm->Show();
  skinned->Show();
  ASSERT_EQ(skinner.Activated.size(), 1u) << "a window answering command 7 is skinned already";
  EXPECT_EQ(skinner.Activated[0], plainForm->Handle());
  EXPECT_GE(skinner.Created, 1);
  Manager->SetActive(false);
  EXPECT_FALSE(Manager->SkinHooked());
  EXPECT_EQ(skinner.Removed, 1);
}

TEST_F(BroadcastTest, NewSkinRepaintsTheControls) {
  TTestSkinPanel* panel = nullptr;
  TTestSkinGraphic* button = nullptr;
  TForm* form = NewForm([&](TForm* f) {
    panel = AddControl<TTestSkinPanel>(f, 0, 0, 100, 60);
    button = AddControl<TTestSkinGraphic>(panel, 10, 10, 30, 20);
  });
  form->Show();
  ProcessPendingMessages();
  const int panelFaces = panel->FacesBuilt, buttonFaces = button->FacesBuilt;
  ASSERT_GE(panelFaces, 1);
  Manager->NotifyNewSkin(false);
  ProcessPendingMessages();
  EXPECT_EQ(panel->FacesBuilt, panelFaces + 1);
  EXPECT_EQ(button->FacesBuilt, buttonFaces + 1);
  EXPECT_EQ(panel->Data.Cache()->Pixel(0, 0), 0xFFFFFF);
  EXPECT_EQ(button->Data.Cache()->Pixel(0, 0), 8421504);
}
