#include "FormsTestUtil.h"
#include "forms/CheckBox.h"
#include "forms/CustomEdit.h"

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
