// Typing into a long text: a keystroke measures and converts about as much in
// 64 KB as in 4 KB, and what the edit and the memo keep for that (pen
// positions, the UTF-8 text, the memo's wrapped lines) stays what laying out
// the whole text afresh gives.
#include <algorithm>
#include <random>

#include "FormsTestUtil.h"
#include "forms/CustomEdit.h"
#include "forms/Memo.h"
#include "platform/base/Cp1251.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"

namespace {

// The protected layout of a memo, for comparing with a fresh one.
class TOpenMemo : public TMemo {
public:
  using TMemo::TMemo;
  std::vector<std::pair<int, int>> VisualLines() {
    Layout();
    std::vector<std::pair<int, int>> out;
    for (const TVisualLine& l : Lines2_) out.emplace_back(l.Start, l.End);
    return out;
  }
  int Width(int from, int to) { return TextWidthOf(from, to); }
};

class TTypingForm : public TForm {
public:
  explicit TTypingForm(TComponent* owner) : TForm(owner) {
    SetName("TypingForm");
    SetBounds(20, 20, 900, 500);
    Edit = new TEdit(this);
    Edit->SetName("Edit");
    Edit->SetParent(this);
    Edit->SetBounds(10, 10, 300, 23);
    Memo = new TOpenMemo(this);
    Memo->SetName("Memo");
    Memo->SetParent(this);
    Memo->SetBounds(10, 40, 400, 300);
    Memo->SetScrollBars(ssVertical);
    Fresh = new TOpenMemo(this);
    Fresh->SetName("Fresh");
    Fresh->SetParent(this);
    Fresh->SetBounds(460, 40, 400, 300);
    Fresh->SetScrollBars(ssVertical);
  }
  TEdit* Edit;
  TOpenMemo* Memo;
  TOpenMemo* Fresh;
};

// Paragraphs of Cyrillic words (two bytes a letter), about `bytes` long.
std::string LongText(std::size_t bytes, bool paragraphs) {
  static const char* const kWords[] = {"лекция", "урок", "задача", "пример", "ответ", "глава", "тест", "вопрос"};
  std::string text;
  for (int i = 0; text.size() < bytes; ++i) {
    text += kWords[i % 8];
    text += paragraphs && i % 12 == 11 ? "\n" : " ";
  }
  return text;
}

}  // namespace

class TypingCostTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    Form = App->CreateForm<TTypingForm>();
    Form->Show();
  }
  // Characters measured while typing `typed` at the end of `control` holding `text`.
  long MeasuredForTyping(TCustomEdit* control, const std::string& text, const std::string& typed) {
    control->SetText(text);
    control->SetFocus();
    Backend->KeyDown(VK_CONTROL);
    Backend->Key(VK_END);
    Backend->KeyUp(VK_CONTROL);
    UpdateAllWindows();
    const long before = control->MeasuredChars();
    for (std::size_t pos = 0; pos < typed.size();) {
      const std::size_t start = pos;
      NextCodePoint(typed, pos);
      Backend->Text(typed.substr(start, pos - start));
      UpdateAllWindows();
    }
    EXPECT_EQ(control->Text(), text + typed);
    return control->MeasuredChars() - before;
  }
  TTypingForm* Form = nullptr;
};

TEST_F(TypingCostTest, AKeystrokeMeasuresAsLittleInALongTextAsInAShortOne) {
  const std::string typed = "Ещё сорок букв напечатано в конце текста.";
  for (TCustomEdit* control : {static_cast<TCustomEdit*>(Form->Edit), static_cast<TCustomEdit*>(Form->Memo)}) {
    const long shortText = MeasuredForTyping(control, LongText(4 << 10, true), typed);
    const long longText = MeasuredForTyping(control, LongText(64 << 10, true), typed);
    SCOPED_TRACE(control->Name());
    EXPECT_LE(longText, shortText + 64) << "the long text is not measured again at each key";
    EXPECT_LT(longText, 64 * 41) << "a run of a few characters a key at most";
  }
}

TEST_F(TypingCostTest, EditedLinesAndTextMatchAFreshLayoutOfTheSameText) {
  TOpenMemo* memo = Form->Memo;
  memo->SetText(LongText(6000, true));
  memo->SetFocus();
  // What the text must be, kept apart from the memo.
  std::u32string expected = Utf8ToUtf32(memo->Text());
  std::mt19937 random(20261210);
  const char* const kPieces[] = {"а", "слово ", " ", "\n", "длинноесловобезпробеловкотороенепомещается ", "x", "€😀"};
  int place = 0;
  for (int round = 0; round < 400; ++round) {
    // Mostly typing on where the last key went, now and then elsewhere.
    if (random() % 3 == 0) place = static_cast<int>(random() % static_cast<unsigned>(expected.size() + 1));
    place = std::min(place, static_cast<int>(expected.size()));
    memo->SetSelStart(place);
    const auto at = static_cast<std::size_t>(place);
    switch (random() % 4) {
      case 0:
        Backend->Key(VK_BACK);
        if (place > 0) expected.erase(at - 1, 1), --place;
        break;
      case 1:
        Backend->Key(VK_DELETE);
        if (at < expected.size()) expected.erase(at, 1);
        break;
      default: {
        const std::u32string piece = Utf8ToUtf32(kPieces[random() % 7]);
        Backend->Text(Utf32ToUtf8(piece));
        expected.insert(at, piece);
        place += static_cast<int>(piece.size());
        break;
      }
    }
    ASSERT_EQ(memo->Text(), Utf32ToUtf8(expected)) << "round " << round;
    if (round % 25 != 24) continue;
    Form->Fresh->SetText(memo->Text());
    ASSERT_EQ(memo->VisualLines(), Form->Fresh->VisualLines()) << "round " << round;
  }
  // Typing at the very end and at the very start, line breaks included.
  for (const char* piece : {"\n", "\n", "конец", "\n"}) {
    memo->SetSelStart(memo->TextLength());
    Backend->Text(piece);
    memo->SetSelStart(0);
    Backend->Text(piece);
    expected = Utf8ToUtf32(piece) + expected + Utf8ToUtf32(piece);
  }
  EXPECT_EQ(memo->Text(), Utf32ToUtf8(expected));
  Form->Fresh->SetText(memo->Text());
  EXPECT_EQ(memo->VisualLines(), Form->Fresh->VisualLines());
}

TEST_F(TypingCostTest, TheSameCharactersSetInOtherBytesAreEditedFromTheNewBytes) {
  TEdit* edit = Form->Edit;
  const std::string replacement = "\xEF\xBF\xBD";
  edit->SetText("аб" + replacement + replacement + "гд");
  edit->SetFocus();
  edit->SetSelStart(2);
  Backend->Text("ж");
  ASSERT_EQ(edit->Text(), "абж" + replacement + replacement + "гд");
  // The same characters again, the two replacement ones now spelt by two bytes that
  // look like one sequence: an edit must not walk the new bytes as the old ones.
  edit->SetText("абж\xC0\xAFгд");
  ASSERT_EQ(edit->TextLength(), 7);
  edit->SetSelStart(6);
  Backend->Text("е");
  EXPECT_EQ(edit->Text(), "абж" + replacement + replacement + "гед");
}

TEST_F(TypingCostTest, KeptPenPositionsGiveTheWidthsTheTextEngineMeasures) {
  TOpenMemo* memo = Form->Memo;
  memo->SetText("Ширина текста: Ёё ÀÉ — 12345 ☺ 😀 end");
  memo->SetFocus();
  memo->SetSelStart(7);
  Backend->Text("вставка ");
  TCanvas canvas;
  canvas.Font().Assign(memo->Font());
  const std::u32string chars = Utf8ToUtf32(memo->Text());
  for (int from = 0; from <= static_cast<int>(chars.size()); from += 3)
    for (int to = from; to <= static_cast<int>(chars.size()); ++to)
      ASSERT_EQ(memo->Width(from, to), canvas.TextWidth(Utf32ToUtf8(chars.substr(static_cast<std::size_t>(from),
                                                                                   static_cast<std::size_t>(to - from)))))
          << from << ".." << to;
  // Text set with bytes that are not UTF-8 is still edited right.
  memo->SetText("ab\xFF" "cd");
  memo->SetSelStart(4);
  Backend->Text("Я");
  EXPECT_EQ(memo->Text(), "ab\xEF\xBF\xBD" "cЯd");
}

// The edit draws only the characters in view: what shows must be what drawing the
// whole text showed.
class EditViewTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    Form = App->CreateForm<TForm>();
    Form->SetBorderStyle(bsNone);  // the window image is the client area
    Form->SetBounds(0, 0, 400, 130);
    Form->SetColor(clWhite);
    Long = Add(10);
    Short = Add(50);
    Other = Add(85);
    Form->Show();
    // Compared without a caret or a selection: the focus stays elsewhere.
    Other->SetFocus();
  }
  TEdit* Add(int top) {
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, top, 200, 23);
    return edit;
  }
  // Columns of the edit's client area holding any pixel of the text's colour.
  std::vector<int> InkColumns(TEdit* edit) {
    UpdateAllWindows();
    const TBitmap* image = WindowImage(Form->Handle());
    const TPoint origin = Form->ScreenToClient(edit->ClientToScreen({0, 0}));
    // The text stands clear of the client area's top row.
    const std::uint32_t background = image->Pixel32(origin.X, origin.Y) & 0xFFFFFF;
    std::vector<int> columns;
    for (int x = 0; x < edit->ClientWidth(); ++x)
      for (int y = 0; y < edit->ClientHeight(); ++y)
        if ((image->Pixel32(origin.X + x, origin.Y + y) & 0xFFFFFF) != background) {
          columns.push_back(x);
          break;
        }
    return columns;
  }
  // Every column of `a` short of the right edge is within a pixel of one of `b`
  // (a text drawn from another character may round a pixel differently; at the
  // edge that pixel may be cut off).
  bool Near(const std::vector<int>& a, const std::vector<int>& b) const {
    const int edge = Long->ClientWidth() - 2;
    return std::all_of(a.begin(), a.end(), [&](int x) {
      return x >= edge || std::any_of(b.begin(), b.end(), [&](int y) { return std::abs(x - y) <= 1; });
    });
  }
  TForm* Form = nullptr;
  TEdit* Long = nullptr;
  TEdit* Short = nullptr;
  TEdit* Other = nullptr;
};

TEST_F(EditViewTest, AnUnscrolledLongTextLooksLikeItsBeginning) {
  const std::string text = LongText(20000, false);
  Long->SetText(text);
  // Far more than the edit shows, still a small part of the whole.
  Short->SetText(Utf32ToUtf8(Utf8ToUtf32(text).substr(0, 120)));
  const std::vector<int> ink = InkColumns(Long);
  ASSERT_GT(ink.size(), 100u) << "the text is drawn";
  EXPECT_EQ(ink, InkColumns(Short));
  UpdateAllWindows();
  const TBitmap* image = WindowImage(Form->Handle());
  for (int y = 0; y < Long->Height(); ++y)
    for (int x = 0; x < Long->Width(); ++x)
      ASSERT_EQ(image->Pixel32(10 + x, 10 + y), image->Pixel32(10 + x, 50 + y)) << x << "," << y;
}

TEST_F(EditViewTest, AScrolledLongTextShowsTheCharactersAtTheCaret) {
  // Scrolled by putting the caret there.
  auto scrollTo = [&](TEdit* edit, int pos) {
    edit->SetFocus();
    edit->SetSelStart(pos);
    Other->SetFocus();
  };
  const std::u32string text = Utf8ToUtf32(LongText(20000, false));
  Long->SetText(Utf32ToUtf8(text));
  Short->SetText(Utf32ToUtf8(text.substr(text.size() - 120)));
  scrollTo(Long, Long->TextLength());
  scrollTo(Short, Short->TextLength());
  const std::vector<int> atEnd = InkColumns(Long);
  ASSERT_GT(atEnd.size(), 100u) << "the text at the caret is drawn";
  EXPECT_TRUE(Near(atEnd, InkColumns(Short)) && Near(InkColumns(Short), atEnd));
  // Back to the middle: the view starts at the caret.
  const int middle = static_cast<int>(text.size() / 2);
  Short->SetText(Utf32ToUtf8(text.substr(static_cast<std::size_t>(middle), 120)));
  scrollTo(Long, middle);
  scrollTo(Short, 0);
  const std::vector<int> atMiddle = InkColumns(Long);
  ASSERT_GT(atMiddle.size(), 100u);
  EXPECT_TRUE(Near(atMiddle, InkColumns(Short)) && Near(InkColumns(Short), atMiddle))
      << testing::PrintToString(atMiddle);
}
