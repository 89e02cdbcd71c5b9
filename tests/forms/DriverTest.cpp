#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "FormsTestUtil.h"
#include "forms/DriverProperties.h"
#include "forms/ListBox.h"
#include "forms/CheckBox.h"
#include "forms/CustomEdit.h"
#include "forms/ProgramRunner.h"

namespace {

class TDriverForm : public TForm {
public:
  explicit TDriverForm(TComponent* owner) : TForm(owner) {
    SetName("Form3");
    SetCaption("Вход");
    SetBounds(100, 100, 300, 200);
    UserName = new TEdit(this);
    UserName->SetName("UserName");
    UserName->SetParent(this);
    UserName->SetBounds(10, 10, 150, 23);
    Box = new TCheckBox(this);
    Box->SetName("Box");
    Box->SetParent(this);
    Box->SetBounds(10, 40, 150, 19);
    Box->SetCaption("Фильтрация");
  }
  TEdit* UserName;
  TCheckBox* Box;
};

}  // namespace

class DriverTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    Form = App->CreateForm<TDriverForm>();
  }
  TDriverForm* Form = nullptr;
};

TEST_F(DriverTest, TypesClicksAndChecksProperties) {
  std::string failure = RunScript({
      "# comments and blank lines are skipped",
      "",
      "click Form3.UserName          # a control by window and member name",
      "type Admin",
      "expect Form3.UserName.Text == Admin",
      "expect Form3.UserName.Focused == true",
      "click Form3.Box",
      "expect Form3.Box.Checked == true",
      "expect Form3.Box.Checked != false",
      "click Form3 80,50",
      "expect Form3.Box.Checked == false",
      "wait 250",
      "expect Form3.Caption == Вход",
  });
  EXPECT_EQ(failure, "");
  EXPECT_TRUE(ScriptFinished);
}

TEST_F(DriverTest, AFailedExpectationNamesTheLineTheWantedAndTheFoundValue) {
  std::string failure = RunScript({"click Form3.UserName", "type Adm", "expect Form3.UserName.Text == Admin",
                                   "click Form3.Box"});
  EXPECT_EQ(failure, "test.txt:3: expected Form3.UserName.Text == 'Admin', found 'Adm'");
  EXPECT_FALSE(Form->Box->Checked());  // the run stopped at the failure
}

struct TFailureCase {
  std::vector<std::string> Lines;
  std::string Message;
};

class DriverFailureTest : public DriverTest, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(DriverFailureTest, FailsWithAClearMessage) {
  EXPECT_EQ(RunScript(GetParam().Lines), GetParam().Message);
  EXPECT_TRUE(ScriptFinished);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, DriverFailureTest,
    ::testing::Values(TFailureCase{{"jump Form3"}, "test.txt:1: unknown action 'jump'"},
                      TFailureCase{{"click Form3.Password"}, "test.txt:1: Form3 has no control named Password"},
                      TFailureCase{{"", "hover Form9.Button1"}, "test.txt:2: no window named Form9"},
                      TFailureCase{{"expect Form3.UserName.Colour == 1"},
                                   "test.txt:1: expect Form3.UserName.Colour: TEdit has no property Colour"},
                      TFailureCase{{"expect Form3.UserName.Text"},
                                   "test.txt:1: expect: expected 'PATH == VALUE' or 'PATH != VALUE'"},
                      TFailureCase{{"key Ctrl+Banana"}, "test.txt:1: key: unknown key 'Ctrl+Banana'"},
                      TFailureCase{{"wait soon"}, "test.txt:1: wait: expected milliseconds"},
                      TFailureCase{{"click Form3.Box 5"}, "test.txt:1: bad point '5' (expected x,y)"},
                      TFailureCase{{"shot Form3"}, "test.txt:1: shot: expected a window (or desktop) and a file name"}));

TEST_F(DriverTest, SeparateClicksOnOneSpotStaySingleAndDblclickIsDouble) {
  int doubles = 0;
  Form->Box->OnDblClick = [&](TObject*) { ++doubles; };
  std::string failure = RunScript({"click Form3.Box", "click Form3.Box", "expect Form3.Box.Checked == false",
                                   "dblclick Form3.Box"});
  EXPECT_EQ(failure, "");
  EXPECT_EQ(doubles, 1);
}

TEST_F(DriverTest, HiddenControlsCannotBeClicked) {
  Form->Box->SetVisible(false);
  EXPECT_EQ(RunScript({"click Form3.Box"}), "test.txt:1: Form3.Box is not visible");
}

TEST_F(DriverTest, DumpListsWindowsAndControls) {
  Form->Show();
  Form->Box->SetChecked(true);
  std::string json = TScriptDriver::DumpJson();
  EXPECT_NE(json.find("\"name\":\"Form3\",\"class\":\"TForm\",\"caption\":\"Вход\""), std::string::npos);
  EXPECT_NE(json.find("\"name\":\"Box\",\"class\":\"TCheckBox\""), std::string::npos);
  EXPECT_NE(json.find("\"checked\":true"), std::string::npos);
  EXPECT_NE(json.find("\"skinIndex\":-1"), std::string::npos);
}

TEST(DriverOptions, HeadlessAndScriptAreTakenOutOfTheArguments) {
  char a0[] = "prog", a1[] = "--headless", a2[] = "keep", a3[] = "--script", a4[] = "s.txt";
  char* argv[] = {a0, a1, a2, a3, a4, nullptr};
  int argc = 5;
  TDriverOptions o = ParseDriverOptions(argc, argv);
  EXPECT_TRUE(o.Headless);
  EXPECT_EQ(o.ScriptFile, "s.txt");
  ASSERT_EQ(argc, 2);
  EXPECT_STREQ(argv[1], "keep");
  char b0[] = "prog", b1[] = "--script";
  char* argv2[] = {b0, b1, nullptr};
  int argc2 = 2;
  EXPECT_FALSE(ParseDriverOptions(argc2, argv2).Error.empty());
}

// --- actions added for the textbook's windows ------------------------------------------


namespace {

class TListForm : public TForm {
public:
  explicit TListForm(TComponent* owner) : TForm(owner) {
    SetName("Form7");
    SetCaption("Теория");
    SetBounds(40, 40, 320, 240);
    List = new TListBox(this);
    List->SetName("List");
    List->SetParent(this);
    List->SetBounds(10, 10, 150, 60);
    for (int i = 0; i < 20; ++i) List->Items().Add("Строка " + std::to_string(i));
  }
  TListBox* List;
};

// A class of a later layer: its properties come through the registry, not the driver.
class TGauge : public TControl {
public:
  explicit TGauge(TComponent* owner) : TControl(owner) {}
  std::string ClassName() const override { return "TGauge"; }
  int Progress = 42;
};

}  // namespace

class DriverActionsTest : public DriverTest {
protected:
  void SetUp() override {
    DriverTest::SetUp();
    Lists = App->CreateForm<TListForm>();
  }
  // Runs the lines one by one outside the loop (the loop runs once per test).
  std::string Steps(const std::vector<std::string>& lines) {
    TScriptDriver driver(*Backend, lines, "test.txt");
    while (driver.Step()) {
    }
    return driver.Failure();
  }
  TListForm* Lists = nullptr;
};

TEST_F(DriverActionsTest, EveryActionIsInTheTable) {
  std::vector<std::string> names;
  for (const auto& action : TScriptDriver::Actions()) {
    names.push_back(action.Name);
    EXPECT_NE(action.Handler, nullptr);
  }
  for (const char* wanted : {"click", "dblclick", "rclick", "hover", "select", "dblselect", "cell", "dblcell",
                             "close", "type", "key", "wait", "shot", "dump", "expect", "set"})
    EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
}

TEST_F(DriverActionsTest, CloseClicksTheCloseBoxOfTheFrame) {
  int closes = 0;
  Lists->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  Lists->Show();
  std::string failure = RunScript({"expect Form7.Visible == true", "close Form7", "expect Form7.Visible == false"});
  EXPECT_EQ(failure, "");
  EXPECT_EQ(closes, 1);
}

TEST_F(DriverActionsTest, CloseFailsClearlyWithoutACloseBox) {
  Lists->SetBorderStyle(bsNone);
  Lists->Show();
  EXPECT_EQ(Steps({"close Form7"}), "test.txt:1: Form7 has no close box");
  EXPECT_EQ(Steps({"close Form9"}), "test.txt:1: no window named Form9");
}

TEST_F(DriverActionsTest, SelectClicksARowScrolledIntoView) {
  Lists->Show();
  int clicks = 0;
  Lists->List->OnClick = [&](TObject*) { ++clicks; };
  std::string failure = RunScript({"select Form7.List 15", "expect Form7.List.ItemIndex == 15",
                                   "expect Form7.List.SelectedItem == Строка 15", "select Form7.List 0",
                                   "expect Form7.List.TopIndex == 0"});
  EXPECT_EQ(failure, "");
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Steps({"select Form7.List 20"}), "test.txt:1: Form7.List has no row 20");
  EXPECT_EQ(Steps({"select Form7.List x"}), "test.txt:1: select: expected a target and a row number");
  Form->Show();
  EXPECT_EQ(Steps({"select Form3.UserName 0"}), "test.txt:1: Form3.UserName has no rows");
}

TEST_F(DriverActionsTest, LaterLayersRegisterTheirOwnProperties) {
  auto* gauge = new TGauge(Form);
  gauge->SetName("Gauge1");
  std::string error;
  EXPECT_FALSE(TScriptDriver::ReadProperty("Form3.Gauge1.Progress", error));
  EXPECT_EQ(error, "TGauge has no property Progress");
  TDriverProperties::Register<TGauge>("Progress", [](TGauge& g) { return std::to_string(g.Progress); },
                                      TDumpAs::Raw, "progress");
  EXPECT_EQ(TScriptDriver::ReadProperty("Form3.Gauge1.Progress", error), "42");
  // The framework's own properties still answer for it.
  EXPECT_EQ(TScriptDriver::ReadProperty("Form3.Gauge1.Visible", error), "true");
  EXPECT_NE(TScriptDriver::DumpJson().find("\"progress\":42"), std::string::npos);
  // Other classes do not get it.
  EXPECT_FALSE(TScriptDriver::ReadProperty("Form3.UserName.Progress", error));
}


TEST_F(DriverActionsTest, SetWritesOnlyWhatALayerLetsScriptsSet) {
  auto* gauge = new TGauge(Form);
  gauge->SetName("Gauge2");
  Form->Show();
  EXPECT_EQ(Steps({"set Form3.Gauge2.Progress 7"}), "test.txt:1: Form3.Gauge2 has no property Progress that scripts may set");
  TDriverProperties::RegisterSetter<TGauge>("Progress", [](TGauge& g, const std::string& value) -> std::string {
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos) return "not a number";
    g.Progress = std::stoi(value);
    return {};
  });
  EXPECT_EQ(Steps({"set Form3.Gauge2.Progress 7"}), "");
  EXPECT_EQ(gauge->Progress, 7);
  EXPECT_EQ(Steps({"set Form3.Gauge2.Progress seven"}), "test.txt:1: set Form3.Gauge2.Progress: not a number");
  EXPECT_EQ(gauge->Progress, 7);
  EXPECT_EQ(Steps({"set Form3.Gauge2.Progress"}), "test.txt:1: set: expected a property and a value");
  EXPECT_EQ(Steps({"set Form3.Nothing.Progress 1"}), "test.txt:1: Form3 has no control named Nothing");
  // Only that class: another control keeps its properties read-only.
  EXPECT_EQ(Steps({"set Form3.UserName.Progress 1"}), "test.txt:1: Form3.UserName has no property Progress that scripts may set");
}

TEST(ProgramRunner, AStartUpErrorReachesTheErrorBoxAndEndsWithStatusOne) {
  const auto script = std::filesystem::temp_directory_path() / ("tb_runner_" + std::to_string(::getpid()) + ".txt");
  {
    std::ofstream out(script);
    out << "expect MessageBox.Message.Caption == no such table: Тесты\n"
           "expect MessageBox.Visible == true\n"
           "click MessageBox.OK\n";
  }
  std::string path = script.string();
  char a0[] = "prog", a1[] = "--script";
  char* argv[] = {a0, a1, path.data(), nullptr};
  bool later = false;
  int status = RunFormsProgram(3, argv, [&](TApplication& app) {
    app.CreateForm<TForm>()->SetName("Form1");
    throw std::runtime_error("no such table: Тесты");
    later = true;
  });
  std::filesystem::remove(script);
  EXPECT_EQ(status, 1);
  EXPECT_FALSE(later);
}
