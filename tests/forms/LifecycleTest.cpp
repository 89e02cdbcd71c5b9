#include <string>
#include <vector>

#include "FormsTestUtil.h"
#include "forms/Button.h"
#include "forms/CustomPanel.h"
#include "platform/win/Layered.h"
#include "platform/win/Window.h"

namespace {

std::vector<std::string> gLog;

class TProbePanel : public TPanel {
public:
  explicit TProbePanel(TComponent* owner) : TPanel(owner) {
    gLog.push_back(std::string("panel created, loading=") + (IsLoading() ? "1" : "0"));
  }
  void Loaded() override {
    gLog.push_back(std::string("panel loaded, caption=") + Caption());
    TPanel::Loaded();
  }
};

class TLifeForm : public TForm {
public:
  explicit TLifeForm(TComponent* owner) : TForm(owner) {
    static int count = 0;
    SetName("LifeForm" + std::to_string(++count));
    Panel = new TProbePanel(this);
    Panel->SetName("Panel");
    Panel->SetParent(this);
    Panel->SetCaption("stored caption");  // a stored property set after creation
    OnCreate = [this](TObject*) {
      gLog.push_back(std::string("create, panel loading=") + (Panel->IsLoading() ? "1" : "0"));
    };
    OnShow = [](TObject*) { gLog.push_back("show"); };
    OnHide = [](TObject*) { gLog.push_back("hide"); };
  }
  TProbePanel* Panel;
};

}  // namespace

TEST_F(FormsTest, FormIsBuiltUnderLoadingThenLoadedThenCreated) {
  gLog.clear();
  TLifeForm* form = App->CreateForm<TLifeForm>();
  std::vector<std::string> expected{"panel created, loading=1", "panel loaded, caption=stored caption",
                                    "create, panel loading=0"};
  EXPECT_EQ(gLog, expected);
  EXPECT_FALSE(form->IsLoading());
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(App->MainForm(), form);
}

TEST_F(FormsTest, OnShowRunsOnlyWhenAHiddenFormBecomesVisible) {
  TLifeForm* form = App->CreateForm<TLifeForm>();
  gLog.clear();
  form->Show();
  form->Show();  // already visible: only to the front
  Pump();
  EXPECT_EQ(gLog, (std::vector<std::string>{"show"}));
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  form->Close();  // the main form: ends the program instead of hiding
  EXPECT_TRUE(App->Terminated());
  TLifeForm* second = App->CreateForm<TLifeForm>();
  gLog.clear();
  second->Show();
  second->Close();  // not the main form: hidden
  EXPECT_FALSE(second->Visible());
  EXPECT_FALSE(IsWindowVisible(second->Handle()));
  second->Show();
  EXPECT_EQ(gLog, (std::vector<std::string>{"show", "hide", "show"}));
}

TEST_F(FormsTest, OnShowRunsBeforeTheWindowAppears) {
  TLifeForm* form = App->CreateForm<TLifeForm>();
  bool visibleInsideOnShow = true;
  form->OnShow = [&](TObject*) {
    visibleInsideOnShow = IsWindowVisible(form->Handle());
    form->SetAlphaBlend(true);
    form->SetAlphaBlendValue(0);
  };
  form->Show();
  EXPECT_FALSE(visibleInsideOnShow);
  std::uint8_t alpha = 255;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 0);
}

TEST_F(FormsTest, FirstFormCreatedIsTheMainForm) {
  TForm* a = App->CreateForm<TForm>();
  TForm* b = App->CreateForm<TForm>();
  EXPECT_EQ(App->MainForm(), a);
  EXPECT_NE(App->MainForm(), b);
  EXPECT_EQ(Screen()->FormCount(), 2);
}

TEST_F(FormsTest, ClientSizeAndCentring) {
  TForm* form = App->CreateForm<TForm>();
  form->SetBorderStyle(bsDialog);
  form->SetClientSize(400, 300);
  form->SetPosition(poScreenCenter);
  form->Show();
  EXPECT_EQ(form->ClientWidth(), 400);
  EXPECT_EQ(form->ClientHeight(), 300);
  TRect r = WindowRect(form->Handle());
  EXPECT_EQ(r.Left, (1024 - r.Width()) / 2);
  EXPECT_EQ(r.Top, (768 - r.Height()) / 2);
}

// A new frame means a new window; the form must not vanish from the screen with the old
// one, nor lose its client size or its place as the active window.
TEST_F(FormsTest, ChangingTheFrameOfAShownFormKeepsItShownAndActive) {
  TLifeForm* form = App->CreateForm<TLifeForm>();
  form->SetClientSize(200, 120);
  form->Show();
  Pump();
  gLog.clear();
  form->SetBorderStyle(bsDialog);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(form->Active());
  EXPECT_EQ(form->ClientWidth(), 200);
  EXPECT_EQ(form->ClientHeight(), 120);
  form->SetBorderIcons({});
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(gLog.empty());  // no second OnShow
  TLifeForm* hidden = App->CreateForm<TLifeForm>();
  hidden->HandleNeeded();
  hidden->SetBorderStyle(bsNone);
  EXPECT_FALSE(IsWindowVisible(hidden->Handle()));
}

// The state a form is designed to open in survives its window being made.
TEST_F(FormsTest, DesignedMaximisedStateSurvivesTheWindowBeingMade) {
  TLifeForm* form = App->CreateForm<TLifeForm>();
  form->SetWindowState(wsMaximized);
  form->HandleNeeded();
  EXPECT_EQ(form->WindowState(), wsMaximized);
  form->Show();
  EXPECT_TRUE(IsZoomed(form->Handle()));
  EXPECT_EQ(form->WindowState(), wsMaximized);
  ShowWindow(form->Handle(), SW_RESTORE);
  EXPECT_EQ(form->WindowState(), wsNormal);
}
