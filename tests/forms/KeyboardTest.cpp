#include "FormsTestUtil.h"
#include "forms/Button.h"
#include "forms/Clipboard.h"
#include "forms/CustomEdit.h"
#include "forms/Memo.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"

namespace {

class TKeysForm : public TForm {
public:
  explicit TKeysForm(TComponent* owner) : TForm(owner) {
    SetName("KeysForm");
    SetBounds(50, 50, 400, 300);
    Edit = Add<TEdit>("Edit", 10, 10, 200, 23);
    Memo = Add<TMemo>("Memo", 10, 40, 200, 80);
    Other = Add<TButton>("Other", 220, 10, 75, 25);
    Ok = Add<TButton>("Ok", 220, 40, 75, 25);
    Ok->SetDefault(true);
    Ok->OnClick = [this](TObject*) { ++OkClicks; };
    Cancel = Add<TButton>("Cancel", 220, 70, 75, 25);
    Cancel->SetCancel(true);
    Cancel->OnClick = [this](TObject*) { ++CancelClicks; };
    Other->OnClick = [this](TObject*) { ++OtherClicks; };
  }
  template <class T>
  T* Add(const char* name, int x, int y, int w, int h) {
    return AddControl<T>(this, name, x, y, w, h);
  }
  TEdit* Edit;
  TMemo* Memo;
  TButton* Other;
  TButton* Ok;
  TButton* Cancel;
  int OkClicks = 0, CancelClicks = 0, OtherClicks = 0;
};

}  // namespace

class KeysTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    Form = App->CreateForm<TKeysForm>();
    Form->Show();
  }
  void Type(const std::string& s) { Backend->Text(s); }
  void Key(int vk) { Backend->Key(vk); }
  void Chord(int modifier, int vk) {
    Backend->KeyDown(modifier);
    Backend->Key(vk);
    Backend->KeyUp(modifier);
  }
  TKeysForm* Form = nullptr;
};

TEST_F(KeysTest, EnterAndEscReachDefaultAndCancelButtonsFromAnEdit) {
  Form->Edit->SetFocus();
  Key(VK_RETURN);
  EXPECT_EQ(Form->OkClicks, 1);
  Key(VK_ESCAPE);
  EXPECT_EQ(Form->CancelClicks, 1);
  EXPECT_EQ(Form->OtherClicks, 0);
  EXPECT_EQ(Form->Edit->Text(), "");  // the Enter character never reached the edit
}

TEST_F(KeysTest, MemoKeepsEnterForItself) {
  Form->Memo->SetFocus();
  Type("a");
  Key(VK_RETURN);
  Type("b");
  EXPECT_EQ(Form->OkClicks, 0);
  EXPECT_EQ(Form->Memo->Text(), "a\nb");
}

TEST_F(KeysTest, EnterOnAFocusedButtonPressesThatButton) {
  Form->Other->SetFocus();
  Key(VK_RETURN);
  EXPECT_EQ(Form->OtherClicks, 1);
  EXPECT_EQ(Form->OkClicks, 0);
}

TEST_F(KeysTest, TabMovesFocusInTabOrder) {
  Form->Edit->SetFocus();
  Key(VK_TAB);
  EXPECT_TRUE(Form->Memo->Focused());
  Chord(VK_SHIFT, VK_TAB);
  EXPECT_TRUE(Form->Edit->Focused());
  EXPECT_EQ(Form->ActiveControl(), Form->Edit);
}

TEST_F(KeysTest, KeyPreviewLetsTheFormSwallowKeys) {
  Form->SetKeyPreview(true);
  Form->OnKeyDown = [](TObject*, WORD& key, TShiftState) {
    if (key == VK_RETURN) key = 0;
  };
  Form->Edit->SetFocus();
  Key(VK_RETURN);
  EXPECT_EQ(Form->OkClicks, 0);
}

TEST_F(KeysTest, MaxLengthLimitsTypingAndPasting) {
  Form->Edit->SetMaxLength(31);
  Form->Edit->SetFocus();
  Type(std::string(40, 'x'));
  EXPECT_EQ(Form->Edit->Text(), std::string(31, 'x'));
  Clipboard().SetAsText("yyyy");
  Chord(VK_CONTROL, 'V');
  EXPECT_EQ(Form->Edit->TextLength(), 31);
  // Selecting makes room again.
  Chord(VK_CONTROL, 'A');
  Chord(VK_CONTROL, 'V');
  EXPECT_EQ(Form->Edit->Text(), "yyyy");
  // Setting the text from code is not limited, as classically.
  Form->Edit->SetText(std::string(35, 'z'));
  EXPECT_EQ(Form->Edit->TextLength(), 35);
}

TEST_F(KeysTest, EditingKeysMoveSelectAndDelete) {
  TEdit* e = Form->Edit;
  e->SetFocus();
  Type("hello world");
  Key(VK_HOME);
  Backend->KeyDown(VK_SHIFT);
  for (int i = 0; i < 5; ++i) Key(VK_RIGHT);
  Backend->KeyUp(VK_SHIFT);
  EXPECT_EQ(e->SelText(), "hello");
  Type("HELLO");
  EXPECT_EQ(e->Text(), "HELLO world");
  Key(VK_END);
  Key(VK_BACK);
  EXPECT_EQ(e->Text(), "HELLO worl");
  Key(VK_HOME);
  Key(VK_DELETE);
  EXPECT_EQ(e->Text(), "ELLO worl");
  Chord(VK_CONTROL, 'A');
  Chord(VK_CONTROL, 'X');
  EXPECT_EQ(e->Text(), "");
  EXPECT_EQ(Clipboard().AsText(), "ELLO worl");
  Chord(VK_CONTROL, 'V');
  Chord(VK_CONTROL, 'V');
  EXPECT_EQ(e->Text(), "ELLO worlELLO worl");
}

TEST_F(KeysTest, UnicodeInputCountsCharactersNotBytes) {
  TEdit* e = Form->Edit;
  e->SetMaxLength(5);
  e->SetFocus();
  Type("Привет");
  EXPECT_EQ(e->Text(), "Приве");
  Key(VK_LEFT);
  Key(VK_BACK);
  EXPECT_EQ(e->Text(), "Прие");
  EXPECT_EQ(e->CaretPos(), 3);
  Type("😀");  // above the basic plane: a surrogate pair on the way
  EXPECT_EQ(e->Text(), "При😀е");
}

TEST_F(KeysTest, TypedBytesThatAreNotUtf8BecomeReplacementCharacters) {
  TEdit* e = Form->Edit;
  e->SetFocus();
  const std::string bad = "\xEF\xBF\xBD";
  // An overlong '/', a lone surrogate half, a code point past U+10FFFF, an
  // overlong NUL and an overlong four-byte 'A': every bad byte run is one U+FFFD.
  Type("a\xC0\xAF" "b");
  EXPECT_EQ(e->Text(), "a" + bad + bad + "b");
  e->SetText("");
  Type("\xED\xA0\x80|\xED\xBF\xBF|\xF4\x90\x80\x80|\xE0\x80\x80|\xF0\x80\x81\x81");
  EXPECT_EQ(e->Text(), bad + bad + bad + "|" + bad + bad + bad + "|" + bad + bad + bad + bad + "|" + bad + bad + bad +
                           "|" + bad + bad + bad + bad);
  // A cut sequence, then stray continuation bytes; the good text around them stays.
  e->SetText("");
  Type("\xD0\x9F\xD1" "x\x80\xBF\xF4\x8F\xBF\xBF");
  EXPECT_EQ(e->Text(), "\xD0\x9F" + bad + "x" + bad + bad + "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(e->TextLength(), 6);
}

TEST_F(KeysTest, HalvesOfSurrogatePairsWithoutTheirPartnerBecomeReplacementCharacters) {
  TEdit* e = Form->Edit;
  e->SetFocus();
  const HWND h = e->Handle();
  const std::string bad = "\xEF\xBF\xBD";
  for (WPARAM ch : {WPARAM{'a'}, WPARAM{0xDC00}, WPARAM{'b'}, WPARAM{0xD83D}, WPARAM{'c'}, WPARAM{0xD83D}, WPARAM{0xD83D},
                    WPARAM{0xDE00}, WPARAM{0x110000}})
    PostMessage(h, WM_CHAR, ch, 1);
  Pump();
  EXPECT_EQ(e->Text(), "a" + bad + "b" + bad + "c" + bad + "\xF0\x9F\x98\x80" + bad);
}

TEST_F(KeysTest, MouseSelectsByDragging) {
  TEdit* e = Form->Edit;
  e->SetText("abcdefgh");
  TPoint from = e->ClientToScreen({2, 10});
  TPoint to = e->ClientToScreen({e->Width() - 4, 10});
  Backend->MouseDown(from);
  Backend->MouseMove(to);
  Backend->MouseUp(to);
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(e->SelText(), "abcdefgh");
}

TEST_F(KeysTest, PasswordEditShowsOnlyThePasswordCharacterAndKeepsTheClipboard) {
  TEdit* secret = Form->Edit;
  secret->SetPasswordChar('*');
  secret->SetText("ab");
  TEdit* plain = Form->Add<TEdit>("Plain", 10, 200, 200, 23);
  plain->SetText("**");
  Form->Memo->SetFocus();  // neither edit draws a caret
  UpdateAllWindows();
  const TBitmap* image = WindowImage(Form->Handle());
  ASSERT_NE(image, nullptr);
  TPoint a = secret->ClientToScreen({0, 0}), b = plain->ClientToScreen({0, 0});
  TRect wr = WindowRect(Form->Handle());
  int differing = 0, inked = 0;
  for (int y = 0; y < secret->ClientHeight(); ++y)
    for (int x = 0; x < secret->ClientWidth(); ++x) {
      std::uint32_t p = image->Pixel32(a.X - wr.Left + x, a.Y - wr.Top + y);
      std::uint32_t q = image->Pixel32(b.X - wr.Left + x, b.Y - wr.Top + y);
      if (p != q) ++differing;
      if ((p & 0xFFFFFF) != 0xFFFFFF) ++inked;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(inked, 10);  // the stars are there
  EXPECT_EQ(secret->Text(), "ab");
  Clipboard().SetAsText("unchanged");
  secret->SelectAll();
  secret->CopyToClipboard();
  EXPECT_EQ(Clipboard().AsText(), "unchanged");
}
