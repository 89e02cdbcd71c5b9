#include "app/Unit4.h"

#include <cstdint>

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/data/Statements.h"
#include "data/TextConvert.h"
#include "forms/db/DBComponents.h"
#include "platform/base/Exception.h"
#include "skin/controls/sDBEdit.h"
#include "skin/controls/sDBMemo.h"
#include "skin/controls/sDBNavigator.h"

TForm4* Form4 = nullptr;

namespace {
constexpr TColor kLabelColor = RGB(0x40, 0x40, 0x40);
constexpr const char* kNoCorrectNumber =
    "Вопрос не сохранён: укажите номер правильного ответа (целое число).";

void LabelFont(TsLabel* label) {
  label->Font().SetName("Arial");
  label->Font().SetHeight(-16);
  label->Font().SetStyle({fsBold});
  label->Font().SetColor(kLabelColor);
}

void MemoFont(TCustomEdit* edit) {
  edit->Font().SetName("Arial");
  edit->Font().SetHeight(-13);
  edit->Font().SetColor(clBlack);
  edit->SetColor(clWhite);
}
}  // namespace

TForm4::TForm4(TComponent* owner) : TForm(owner) {
  SetName("Form4");
  SetCaption("Редактирование тестов");
  SetBorderStyle(bsNone);
  SetPosition(poScreenCenter);
  SetClientSize(825, 662);

  ADOQuery1 = new TADOQueryComponent(this);
  ADOQuery1->SetName("ADOQuery1");
  ADOQuery1->SetConnection(Form1->ADOConnection1);
  LoadStatement(*ADOQuery1, Statements::kSelectAllQuestions);
  ADOQuery1->BeforePost = [this](TDataSet& d) { ADOQuery1BeforePost(d); };
  DataSource1 = new TDataSourceComponent(this);
  DataSource1->SetName("DataSource1");
  DataSource1->SetDataSet(ADOQuery1);

  sPanel1 = MakeControl<TsPanel>(this, this, "sPanel1", 0, 0, 825, 662);
  sPanel1->SetAlign(alClient);
  sPanel1->SetCaption("");

  // The question across the top.
  sLabel1 = MakeControl<TsLabel>(this, sPanel1, "sLabel1", 16, 10, 200, 19);
  sLabel1->SetCaption("Вопрос");
  sDBMemo1 = MakeControl<TsDBMemo>(this, sPanel1, "sDBMemo1", 16, 32, 793, 104);

  // The five options in a column on the left.
  struct TOptionSpec {
    TsLabel** Label;
    TsDBMemo** Memo;
    const char* LabelName;
    const char* MemoName;
    const char* Caption;
  };
  const TOptionSpec options[] = {
      {&sLabel2, &sDBMemo2, "sLabel2", "sDBMemo2", "Вариант А"},
      {&sLabel3, &sDBMemo3, "sLabel3", "sDBMemo3", "Вариант B"},
      {&sLabel4, &sDBMemo4, "sLabel4", "sDBMemo4", "Вариант C"},
      {&sLabel5, &sDBMemo5, "sLabel5", "sDBMemo5", "Вариант D"},
      {&sLabel6, &sDBMemo6, "sLabel6", "sDBMemo6", "Вариант Е"},
  };
  int top = 146;
  for (const TOptionSpec& spec : options) {
    *spec.Label = MakeControl<TsLabel>(this, sPanel1, spec.LabelName, 16, top, 200, 19);
    (*spec.Label)->SetCaption(spec.Caption);
    *spec.Memo = MakeControl<TsDBMemo>(this, sPanel1, spec.MemoName, 16, top + 22, 470, 76);
    top += 102;
  }
  const char* columns[] = {"Вопрос", "Ответ1", "Ответ2", "Ответ3", "Ответ4", "Ответ5"};
  TsDBMemo* memos[] = {sDBMemo1, sDBMemo2, sDBMemo3, sDBMemo4, sDBMemo5, sDBMemo6};
  TsLabel* labels[] = {sLabel1, sLabel2, sLabel3, sLabel4, sLabel5, sLabel6};
  for (int i = 0; i < 6; ++i) {
    LabelFont(labels[i]);
    MemoFont(memos[i]);
    memos[i]->SetScrollBars(ssVertical);
    memos[i]->SetDataSource(DataSource1);
    memos[i]->SetDataField(columns[i]);
    labels[i]->SetFocusControl(memos[i]);
  }

  // On the right: the right answer's number, the search, the navigator, the way out.
  sLabel7 = MakeControl<TsLabel>(this, sPanel1, "sLabel7", 510, 146, 299, 19);
  sLabel7->SetCaption("Номер правильного ответа");
  LabelFont(sLabel7);
  sDBEdit1 = MakeControl<TsDBEdit>(this, sPanel1, "sDBEdit1", 510, 168, 90, 24);
  MemoFont(sDBEdit1);
  sDBEdit1->SetDataSource(DataSource1);
  sDBEdit1->SetDataField("ОтветПр");
  sLabel7->SetFocusControl(sDBEdit1);

  sGroupBox1 = MakeControl<TsGroupBox>(this, sPanel1, "sGroupBox1", 510, 212, 299, 262);
  sGroupBox1->SetCaption("Поиск");
  sGroupBox1->Font().SetName("Arial");
  sGroupBox1->Font().SetHeight(-16);
  sGroupBox1->Font().SetStyle({fsBold});
  sLabel8 = MakeControl<TsLabel>(this, sGroupBox1, "sLabel8", 14, 28, 200, 19);
  sLabel8->SetCaption("Вопрос");
  LabelFont(sLabel8);
  sMemo1 = MakeControl<TsMemo>(this, sGroupBox1, "sMemo1", 14, 50, 271, 150);
  MemoFont(sMemo1);
  sMemo1->SetScrollBars(ssVertical);
  sLabel8->SetFocusControl(sMemo1);
  sButton1 = MakeControl<TsButton>(this, sGroupBox1, "sButton1", 14, 214, 128, 32);
  sButton1->SetCaption("Найти");
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };
  sButton2 = MakeControl<TsButton>(this, sGroupBox1, "sButton2", 157, 214, 128, 32);
  sButton2->SetCaption("Все записи");
  sButton2->OnClick = [this](TObject* s) { sButton2Click(s); };

  sDBNavigator1 = MakeControl<TsDBNavigator>(this, sPanel1, "sDBNavigator1", 510, 494, 299, 34);
  sDBNavigator1->SetShowHint(true);
  sDBNavigator1->SetDataSource(DataSource1);

  sButton3 = MakeControl<TsButton>(this, sPanel1, "sButton3", 659, 600, 150, 44);
  sButton3->SetCaption("Выход");
  sButton3->Font().SetName("Arial");
  sButton3->Font().SetHeight(-19);
  sButton3->Font().SetStyle({fsBold});
  sButton3->OnClick = [this](TObject* s) { sButton3Click(s); };

  ADOQuery1->Open();
}

// Search: the first question whose text holds the phrase; the navigator rests
// until "Все записи".
void TForm4::sButton1Click(TObject*) {
  LoadStatement(*ADOQuery1, Statements::kSearchQuestions);
  ADOQuery1->ParamByName("a").SetValue(Variant(Statements::SearchPattern(sMemo1->Text())));
  ADOQuery1->Open();
  sMemo1->Clear();
  sDBNavigator1->SetEnabled(false);
}

void TForm4::sButton2Click(TObject*) {
  LoadStatement(*ADOQuery1, Statements::kSelectAllQuestions);
  ADOQuery1->Open();
  sMemo1->Clear();
  sDBNavigator1->SetEnabled(true);
}

void TForm4::sButton3Click(TObject*) { Close(); }

// A question without a correct number could never be scored: it is not posted,
// and the row stays in editing for the number to be typed.
void TForm4::ADOQuery1BeforePost(TDataSet& dataSet) {
  const TField& correct = dataSet.FieldByName("ОтветПр");
  std::int64_t number = 0;
  if (correct.IsNull() || !TryStrToInt64(correct.AsString(), number)) throw EDatabaseError(kNoCorrectNumber);
}
