#include <filesystem>
#include <fstream>
#include <memory>

#include "FormsTestUtil.h"
#include "forms/Button.h"
#include "forms/CustomLabel.h"
#include "forms/Dialogs.h"
#include "forms/OpenDialog.h"
#include "platform/base/Exception.h"
#include "platform/win/Window.h"

namespace {

class TAskForm : public TForm {
public:
  explicit TAskForm(TComponent* owner) : TForm(owner) {
    SetName("Form1");
    SetBounds(100, 100, 300, 200);
    Ask = Add("Ask", 10, 10);
    Ask->OnClick = [this](TObject*) {
      TModalResult r = MessageDlg("Удалить запись?", mtConfirmation, {mbOK, mbCancel});
      Result->SetCaption(r == mrOk ? "ok" : "cancel");
    };
    Input = Add("Input", 10, 40);
    Input->OnClick = [this](TObject*) { Result->SetCaption(InputBox("Ввод", "Имя?", "default")); };
    Boom = Add("Boom", 10, 70);
    Boom->OnClick = [this](TObject*) {
      Result->SetCaption("before");
      throw EConvertError("'x' is not a valid integer value");
    };
    Open = Add("Open", 10, 100);
    Open->OnClick = [this](TObject*) { Result->SetCaption(Dialog->Execute() ? Dialog->FileName() : "none"); };
    Result = new TLabel(this);
    Result->SetName("Result");
    Result->SetParent(this);
    Result->SetBounds(100, 10, 150, 17);
    Dialog = new TOpenDialog(this);
    Dialog->SetFilter("Тексты|*.txt|Все файлы|*.*");
  }
  TButton* Add(const char* name, int x, int y) {
    auto* b = new TButton(this);
    b->SetName(name);
    b->SetParent(this);
    b->SetBounds(x, y, 80, 25);
    return b;
  }
  TButton *Ask, *Input, *Boom, *Open;
  TLabel* Result;
  TOpenDialog* Dialog;
};

}  // namespace

class DialogTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    Form = App->CreateForm<TAskForm>();
  }
  TAskForm* Form = nullptr;
};

TEST_F(DialogTest, ScriptAnswersAModalMessageBox) {
  std::string failure = RunScript({
      "click Form1.Ask",
      "expect MessageBox.Visible == true",
      "expect MessageBox.Caption == Подтверждение",
      "expect MessageBox.Message.Caption == Удалить запись?",
      "expect MessageBox.OK.Caption == ОК",
      "expect MessageBox.Cancel.Caption == Отмена",
      "expect Form1.Enabled == true",
      "click MessageBox.Cancel",
      "expect Form1.Result.Caption == cancel",
      "click Form1.Ask",
      "key Enter",
      "expect Form1.Result.Caption == ok",
  });
  EXPECT_EQ(failure, "");
  EXPECT_TRUE(ScriptFinished);
}

// A box asked for by a stay-on-top window (the login window) must open above it,
// where the user can see and answer it.
TEST_F(DialogTest, ABoxOpensAboveTheStayOnTopFormItHoldsUp) {
  Form->SetFormStyle(fsStayOnTop);
  Form->SetBounds(0, 0, 1024, 768);  // covers the place where the box opens
  Form->Show();
  std::string failure = RunScript({"click Form1.Ask", "click MessageBox.Cancel", "expect Form1.Result.Caption == cancel",
                                   "click Form1.Ask", "click MessageBox.OK", "expect Form1.Result.Caption == ok"});
  EXPECT_EQ(failure, "");
  EXPECT_TRUE(GetWindowLongPtr(Form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(DialogTest, InputBoxReturnsTheTextOnOkAndTheDefaultOnCancel) {
  std::string failure = RunScript({
      "click Form1.Input",
      "expect InputBox.Edit.Text == default",
      "expect InputBox.Prompt.Caption == Имя?",
      "key Ctrl+A",
      "type Мария",
      "key Enter",
      "expect Form1.Result.Caption == Мария",
      "click Form1.Input",
      "type zzz",
      "key Esc",
      "expect Form1.Result.Caption == default",
  });
  EXPECT_EQ(failure, "");
}

TEST_F(DialogTest, AnErrorInAClickHandlerShowsTheErrorBoxAndLeavesTheFormOpen) {
  std::string failure = RunScript({
      "click Form1.Boom",
      "expect MessageBox.Caption == Ошибка",
      "expect MessageBox.Message.Caption == 'x' is not a valid integer value",
      "click MessageBox.OK",
      "expect Form1.Visible == true",
      "expect Form1.Result.Caption == before",
      "click Form1.Ask",
      "expect MessageBox.Visible == true",
      "key Esc",
  });
  EXPECT_EQ(failure, "");
  EXPECT_TRUE(ScriptFinished);
}

TEST_F(DialogTest, OpenDialogPicksAFileAndRemembersItsFolder) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "forms_open_dialog_test";
  fs::remove_all(dir);
  fs::create_directories(dir / "Уроки");
  std::ofstream(dir / "Уроки" / "lesson.txt") << "x";
  std::ofstream(dir / "picture.png") << "x";
  Form->Dialog->SetInitialDir(dir.string());
  std::string failure = RunScript({
      "click Form1.Open",
      "expect OpenDialog.Caption == Открыть",
      "expect OpenDialog.Open.Caption == Открыть",
      "expect OpenDialog.Files.Items.Count == 2",  // ".." and the folder: the picture is filtered out
      "click OpenDialog.FileName",
      "type Уроки",
      "key Enter",
      "expect OpenDialog.Files.Items.Count == 2",  // ".." and lesson.txt
      "dblclick OpenDialog.Files 20,24",
      "expect Form1.Result.Caption == " + (dir / "Уроки" / "lesson.txt").string(),
      "click Form1.Open",
      "expect OpenDialog.Folder.Caption == " + (dir / "Уроки").string(),
      "expect OpenDialog.FileName.Text == lesson.txt",
      "click OpenDialog.Cancel",
      "expect Form1.Result.Caption == none",
  });
  EXPECT_EQ(failure, "");
  fs::remove_all(dir);
}

// The second press of a double click on a folder lands on the new listing: it
// must not choose (nor leave chosen) the file that now lies under the pointer.
TEST_F(DialogTest, DoubleClickOnAFolderChoosesNoFileOfTheNewListing) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "forms_open_dialog_dblclick_test";
  fs::remove_all(dir);
  fs::create_directories(dir / "lectures");
  std::ofstream(dir / "lectures" / "a.txt") << "x";
  std::ofstream(dir / "lectures" / "b.txt") << "x";
  std::ofstream(dir / "c.txt") << "x";
  Form->Dialog->SetInitialDir(dir.string());
  std::string failure = RunScript({
      "click Form1.Open",
      "expect OpenDialog.Files.SelectedItem == ",
      "dblselect OpenDialog.Files 1",  // "lectures/"; a.txt takes its row in the new listing
      "expect OpenDialog.Folder.Caption == " + (dir / "lectures").string(),
      "expect OpenDialog.Files.ItemIndex == -1",
      "expect OpenDialog.FileName.Text == ",
      "key Enter",  // nothing chosen: Enter chooses nothing either
      "expect OpenDialog.Visible == true",
      "select OpenDialog.Files 2",  // a plain click afterwards picks as before
      "expect OpenDialog.FileName.Text == b.txt",
      "key Enter",
      "expect Form1.Result.Caption == " + (dir / "lectures" / "b.txt").string(),
  });
  EXPECT_EQ(failure, "");
  fs::remove_all(dir);
}

// While a box runs it belongs to the window it holds up and is modal; afterwards
// neither, and the control that had the focus has it again.
TEST_F(DialogTest, BoxBelongsToTheWindowItHoldsUpAndTheFocusComesBack) {
  Form->Show();
  HWND owner = nullptr;
  bool modal = false;
  Form->Ask->OnClick = [&](TObject*) {
    TForm* box = CreateMessageDialog("Удалить запись?", mtConfirmation, {mbOK, mbCancel});
    std::unique_ptr<TForm> keep(box);
    box->OnShow = [&, box](TObject*) {
      owner = GetOwner(box->Handle());
      modal = IsWindowModal(box->Handle());
    };
    box->ShowModal();
    EXPECT_EQ(GetOwner(box->Handle()), nullptr);
    EXPECT_FALSE(IsWindowModal(box->Handle()));
  };
  // The press focuses the button; the box takes the focus and gives it back.
  std::string failure = RunScript({"click Form1.Ask", "expect Form1.Ask.Focused == false", "key Esc",
                                   "expect Form1.Ask.Focused == true"});
  EXPECT_EQ(failure, "");
  EXPECT_EQ(owner, Form->Handle());
  EXPECT_TRUE(modal);
}

TEST_F(DialogTest, ShowingAMinimisedFormAgainRestoresIt) {
  Form->Show();
  Form->SetWindowState(wsMinimized);
  ASSERT_TRUE(IsIconic(Form->Handle()));
  Form->Show();
  EXPECT_FALSE(IsIconic(Form->Handle()));
  EXPECT_EQ(Form->WindowState(), wsNormal);
  EXPECT_TRUE(Form->Active());
}

TEST(OpenDialogFilter, ParsesPairsAndMatchesPatternsIgnoringCase) {
  auto pairs = TOpenDialog::ParseFilter("Документы|*.htm;*.html|Все файлы|*.*");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].first, "Документы");
  EXPECT_EQ(pairs[0].second, "*.htm;*.html");
  EXPECT_TRUE(TOpenDialog::MatchesPatterns("Lesson.HTML", "*.htm;*.html"));
  EXPECT_FALSE(TOpenDialog::MatchesPatterns("lesson.txt", "*.htm;*.html"));
  EXPECT_TRUE(TOpenDialog::MatchesPatterns("УРОК.txt", "урок.*"));
  EXPECT_TRUE(TOpenDialog::MatchesPatterns("a1.txt", "a?.txt"));
  EXPECT_TRUE(TOpenDialog::MatchesPatterns("anything", "*.*"));
  EXPECT_TRUE(TOpenDialog::ParseFilter("").empty());
  EXPECT_TRUE(TOpenDialog::ParseFilter("no patterns|").empty());
}
