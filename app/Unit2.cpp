#include "app/Unit2.h"

#include <cstdint>
#include <random>

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/data/ResultStore.h"
#include "app/data/Statements.h"
#include "data/TextConvert.h"
#include "forms/Application.h"
#include "forms/Dialogs.h"
#include "forms/db/DBComponents.h"
#include "platform/base/Exception.h"
#include "platform/win/Backend.h"

TForm2* Form2 = nullptr;

namespace {
constexpr const char* kAnswerCaptions[TForm2::kAnswers] = {"A", "B", "C", "D", "E"};
constexpr const char* kResultKept =
    "Нет связи с сервером базы данных. Результат сохранён на этом компьютере и будет отправлен на сервер "
    "при следующем подключении.";

// Said when the score could not be stored; the engine's reason goes between.
constexpr const char* kNotStored = "Результат не сохранён в базе данных (";
constexpr const char* kHandInAgain = "). Анкета остаётся открытой: сдайте её ещё раз.";

}  // namespace

TForm2::TForm2(TComponent* owner) : TForm(owner) {
  SetName("Form2");
  SetCaption("Тестер");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(1024, 682);

  Panel1 = MakeControl<TPanel>(this, this, "Panel1", 0, 0, 1024, 41);
  Panel1->SetAlign(alTop);
  Panel1->SetCaption("");

  // The 56-pixel band under the question row: answers on the left, the user
  // and the hand-in button on the right.
  Panel2 = MakeControl<TPanel>(this, this, "Panel2", 0, 41, 1024, 56);
  Panel2->SetAlign(alTop);
  Panel2->SetCaption("");
  Panel4 = MakeControl<TPanel>(this, Panel2, "Panel4", 1, 1, 456, 54);
  Panel4->SetAlign(alLeft);
  Panel4->SetCaption("");
  Panel5 = MakeControl<TPanel>(this, Panel2, "Panel5", 457, 1, 566, 54);
  Panel5->SetAlign(alClient);
  Panel5->SetCaption("");
  Panel5->SetColor(clGradientInactiveCaption);
  Label1 = MakeControl<TLabel>(this, Panel5, "Label1", 12, 13, 370, 29);
  Label1->Font().SetName("MS Sans Serif");
  Label1->Font().SetHeight(-24);
  Label1->Font().SetStyle({fsBold});
  Label1->SetCaption("");
  sSpeedButton3 = MakeControl<TsSpeedButton>(this, Panel5, "sSpeedButton3", 400, 3, 100, 50);
  sSpeedButton3->SetCaption("Сдать анкету");
  sSpeedButton3->Font().SetName("Arial");
  sSpeedButton3->Font().SetHeight(-16);
  sSpeedButton3->Font().SetStyle({fsBold});
  sSpeedButton3->OnClick = [this](TObject* s) { sSpeedButton3Click(s); };

  Panel3 = MakeControl<TPanel>(this, this, "Panel3", 0, 97, 1024, 585);
  Panel3->SetAlign(alClient);
  Panel3->SetCaption("");
  Panel3->SetColor(clGradientInactiveCaption);
  Memo1 = MakeControl<TMemo>(this, Panel3, "Memo1", 1, 1, 1022, 583);
  Memo1->SetAlign(alClient);
  Memo1->SetScrollBars(ssVertical);

  // The bank's columns, never shown.
  TDBListBox** lists[] = {&DBListBox1, &DBListBox2, &DBListBox3, &DBListBox4, &DBListBox5, &DBListBox6, &DBListBox7};
  for (int i = 0; i < 7; ++i) {
    const std::string name = "DBListBox" + std::to_string(i + 1);
    auto* list = new TDBListBox(this);
    list->SetName(name);
    list->SetVisible(false);
    list->SetParent(Panel3);
    list->SetBounds(8 + 40 * i, 8, 32, 32);
    *lists[i] = list;
  }

  ADOQuery1 = new TADOQueryComponent(this);
  ADOQuery1->SetName("ADOQuery1");
  ADOQuery1->SetConnection(Form1->ADOConnection1);
  LoadStatement(*ADOQuery1, Statements::kSelectQuestionRows);
  ADOQuery8 = new TADOQueryComponent(this);
  ADOQuery8->SetName("ADOQuery8");
  ADOQuery8->SetConnection(Form1->ADOConnection1);
  // The attempt that starts on creation opens the select, so a missing table still
  // stops start-up, and the bank is read once, not twice.
  OnCreate = [this](TObject* s) { FormShow(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

std::array<TDBListBox*, 7> TForm2::Lists() const {
  return {DBListBox1, DBListBox2, DBListBox3, DBListBox4, DBListBox5, DBListBox6, DBListBox7};
}

int TForm2::QuestionCount() const { return DBListBox1->Items().Count(); }

int TForm2::SelectedPosition() const {
  for (int p = 1; p <= kPositions; ++p) {
    TsSpeedButton* b = QuestionButtons[static_cast<size_t>(p - 1)];
    if (b && b->Down()) return p;
  }
  return 0;
}

void TForm2::FormShow(TObject*) {
  Chosen_.fill(1);
  Memo1->Clear();
  std::mt19937 random(static_cast<std::uint32_t>(GetTickCount64()));
  LoadBank();
  const int n = QuestionCount();
  for (int p = 0; p < kPositions; ++p) {
    if (n == 0) {
      Drawn_[static_cast<size_t>(p)] = 0;
    } else {
      std::uniform_int_distribution<int> draw(0, n - 1);
      Drawn_[static_cast<size_t>(p)] = draw(random);
    }
  }
  BuildQuestionRow();
  BuildAnswerRow();
  Label1->SetCaption(Form1->sPanel1->Caption());
}

// One statement reads every column of a row, so entry k of every list comes
// from the same row whatever order the engine walks the table in.
void TForm2::LoadBank() {
  const auto lists = Lists();
  for (TDBListBox* list : lists) {
    list->Items().BeginUpdate();
    list->Items().Clear();
  }
  try {
    ADOQuery1->Close();
    ADOQuery1->Open();
    std::array<TField*, 7> fields{};
    for (size_t c = 0; c < fields.size(); ++c) fields[c] = &ADOQuery1->Fields(static_cast<int>(c));
    for (ADOQuery1->First(); !ADOQuery1->Eof(); ADOQuery1->Next())
      for (size_t c = 0; c < fields.size(); ++c) lists[c]->Items().Add(fields[c]->AsString());
  } catch (...) {
    for (TDBListBox* list : lists) list->Items().EndUpdate();
    throw;
  }
  for (TDBListBox* list : lists) list->Items().EndUpdate();
}

void TForm2::BuildQuestionRow() {
  for (TsSpeedButton*& b : QuestionButtons) {
    delete b;
    b = nullptr;
  }
  for (int p = 1; p <= kPositions; ++p) {
    auto* b = new TsSpeedButton(this);
    b->SetName("QuestionButton" + std::to_string(p));
    b->SetParent(Panel1);
    b->SetBounds(30 * p - 25, 5, 30, 30);
    b->SetGroupIndex(1);
    b->SetCaption(std::to_string(p));
    b->Font().SetStyle({fsBold});
    b->SetTag(p);
    b->OnClick = [this](TObject* s) { QuestionButtonClick(s); };
    QuestionButtons[static_cast<size_t>(p - 1)] = b;
  }
}

void TForm2::BuildAnswerRow() {
  for (TsSpeedButton*& b : AnswerButtons) {
    delete b;
    b = nullptr;
  }
  for (int j = 1; j <= kAnswers; ++j) {
    auto* b = new TsSpeedButton(this);
    b->SetName("AnswerButton" + std::to_string(j));
    b->SetParent(Panel4);
    b->SetBounds(80 * j - 70, 2, 70, Panel4->Height() - 4);
    b->SetGroupIndex(1);
    b->SetCaption(kAnswerCaptions[j - 1]);
    b->Font().SetSize(20);
    b->Font().SetStyle({fsBold});
    b->SetTag(j);
    b->OnClick = [this](TObject* s) { AnswerButtonClick(s); };
    AnswerButtons[static_cast<size_t>(j - 1)] = b;
  }
}

void TForm2::ColourAnswers() {
  for (TsSpeedButton* b : AnswerButtons) b->Font().SetColor(b->Down() ? clRed : clBlack);
}

void TForm2::QuestionButtonClick(TObject* sender) {
  const int p = static_cast<TComponent*>(sender)->Tag();
  AnswerButtons[Chosen_[static_cast<size_t>(p - 1)] - 1u]->SetDown(true);
  ColourAnswers();
  const int k = Drawn_[static_cast<size_t>(p - 1)];
  Memo1->SetText(DBListBox1->Items().Get(k));
  for (TDBListBox* option : {DBListBox2, DBListBox3, DBListBox4, DBListBox5, DBListBox6})
    Memo1->Lines().Add(option->Items().Get(k));
}

void TForm2::AnswerButtonClick(TObject* sender) {
  const int j = static_cast<TComponent*>(sender)->Tag();
  if (const int p = SelectedPosition(); p != 0) Chosen_[static_cast<size_t>(p - 1)] = static_cast<std::uint8_t>(j);
  ColourAnswers();
}

void TForm2::sSpeedButton3Click(TObject*) {
  std::uint8_t score = 0;
  for (int p = 0; p < kPositions; ++p) {
    const std::string correct = DBListBox7->Items().Get(Drawn_[static_cast<size_t>(p)]);
    // A correct number that is empty or not an integer matches no answer: that
    // position counts as wrong, and the attempt is still scored and stored.
    std::int64_t number = 0;
    if (TryStrToInt64(correct, number) && number == Chosen_[static_cast<size_t>(p)]) ++score;
  }
  Score_ = score;
  ShowMessage("Вы " + std::to_string(score) + " ответили верно");
  // On a server a result the connection fails for, at any moment, is kept on
  // this computer and sent later, exactly once.
  TResultJournal journal(TResultJournal::DefaultPath());
  TStoreResult stored = TStoreResult::Stored;
  try {
    stored = StoreResult(*Form1->ADOConnection1, *ADOQuery8, journal, Form1->sPanel1->Caption(), Form1->HandInToken,
                         score);
  } catch (...) {
    // The attempt stays open, answers and all, so that handing it in again can store it.
    MessageDlg(kNotStored + ExceptionMessage(std::current_exception()) + kHandInAgain, mtError, {mbOK});
    return;
  }
  if (stored == TStoreResult::Kept) ShowMessage(kResultKept);
  Close();
}
