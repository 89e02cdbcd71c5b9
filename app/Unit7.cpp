#include "app/Unit7.h"

#include <filesystem>

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/WorkspaceChoice.h"
#include "app/data/Statements.h"
#include "forms/Dialogs.h"
#include "forms/OpenDialog.h"
#include "forms/db/DBComponents.h"
#include "media/MediaPlayer.h"
#include "media/WebBrowser.h"
#include "platform/base/Exception.h"
#include "skin/controls/sDBLookupListBox.h"

TForm7* Form7 = nullptr;

namespace {
constexpr int kLeftColumn = 345;
constexpr int kBand = 120;
constexpr int kStrip = 41;

constexpr std::uint8_t kLectures = 1;
constexpr std::uint8_t kLabs = 2;
constexpr std::uint8_t kVideos = 3;

const TStatement& SelectAll(std::uint8_t kind) {
  return kind == kLectures ? Statements::kSelectLectures : kind == kLabs ? Statements::kSelectLabs : Statements::kSelectVideos;
}
const TStatement& Search(std::uint8_t kind) {
  return kind == kLectures ? Statements::kSearchLectures : kind == kLabs ? Statements::kSearchLabs : Statements::kSearchVideos;
}
const TStatement& Add(std::uint8_t kind) {
  return kind == kLectures ? Statements::kAddLecture : kind == kLabs ? Statements::kAddLab : Statements::kAddVideo;
}
const TStatement& Delete(std::uint8_t kind) {
  return kind == kLectures ? Statements::kDeleteLecture : kind == kLabs ? Statements::kDeleteLab : Statements::kDeleteVideo;
}

// A key value as the text a string variable takes: the video's file name is
// read that way, and a null key fails as the runtime fails it.
std::string KeyAsString(const Variant& key) {
  if (key.IsNull())
    throw EVariantError(std::string("Could not convert variant of type (") + Variant::KindName(key.GetKind()) +
                        ") into type (String)");
  return key.AsString();
}
}  // namespace

TForm7::TForm7(TComponent* owner) : TForm(owner) {
  SetName("Form7");
  SetCaption("Теория");
  SetBorderStyle(bsSizeable);
  SetBounds(0, 0, 1024, 700);

  ADOQuery1 = MakeComponent<TADOQueryComponent>(this, "ADOQuery1");
  ADOQuery1->SetConnection(Form1->ADOConnection1);
  ADOQuery2 = MakeComponent<TADOQueryComponent>(this, "ADOQuery2");
  ADOQuery3 = MakeComponent<TADOQueryComponent>(this, "ADOQuery3");
  ADOQuery4 = MakeComponent<TADOQueryComponent>(this, "ADOQuery4");
  DataSource1 = MakeComponent<TDataSourceComponent>(this, "DataSource1");
  DataSource2 = MakeComponent<TDataSourceComponent>(this, "DataSource2");
  DataSource3 = MakeComponent<TDataSourceComponent>(this, "DataSource3");
  OpenDialog1 = MakeComponent<TOpenDialog>(this, "OpenDialog1");

  sPanel2 = MakeControl<TsPanel>(this, this, "sPanel2");
  sPanel2->SetAlign(alLeft);
  sPanel2->SetWidth(kLeftColumn);
  sPanel2->SetBevelOuter(bvNone);
  sPanel2->SetCaption("");

  sGroupBox1 = MakeControl<TsGroupBox>(this, sPanel2, "sGroupBox1", 0, 0, kLeftColumn / 2, kBand);
  sGroupBox1->SetCaption("Редактирование");
  sButton3 = MakeControl<TsButton>(this, sGroupBox1, "sButton3", 12, 24, kLeftColumn / 2 - 24, 36);
  sButton3->SetCaption("Добавить");
  sButton4 = MakeControl<TsButton>(this, sGroupBox1, "sButton4", 12, 70, kLeftColumn / 2 - 24, 36);
  sButton4->SetCaption("Удалить");
  sGroupBox2 = MakeControl<TsGroupBox>(this, sPanel2, "sGroupBox2", kLeftColumn / 2, 0, kLeftColumn - kLeftColumn / 2,
                                       kBand);
  sGroupBox2->SetCaption("Поиск");
  sButton1 = MakeControl<TsButton>(this, sGroupBox2, "sButton1", 12, 24, kLeftColumn - kLeftColumn / 2 - 24, 36);
  sButton1->SetCaption("Найти");
  sButton2 = MakeControl<TsButton>(this, sGroupBox2, "sButton2", 12, 70, kLeftColumn - kLeftColumn / 2 - 24, 36);
  sButton2->SetCaption("Все записи");
  for (TsButton* b : {sButton1, sButton2, sButton3, sButton4}) {
    b->Font().SetName("Arial");
    b->Font().SetHeight(-14);
    b->Font().SetStyle({fsBold});
  }

  // The three lists lie in one place; the kind decides which one shows.
  struct TListSpec {
    TsDBLookupListBox** List;
    const char* Name;
    TADOQueryComponent* Query;
    TDataSourceComponent* Source;
    const TStatement* Select;
    const char* Title;
    const char* Key;
  };
  const TListSpec specs[] = {
      {&sDBLookupListBox1, "sDBLookupListBox1", ADOQuery2, DataSource1, &Statements::kSelectLectures,
       "НазваниеЛекции", "АдресЛекции"},
      {&sDBLookupListBox2, "sDBLookupListBox2", ADOQuery3, DataSource2, &Statements::kSelectLabs, "НазваниеЛабы",
       "АдресЛабы"},
      {&sDBLookupListBox3, "sDBLookupListBox3", ADOQuery4, DataSource3, &Statements::kSelectVideos, "НазваниеВидео",
       "АдресВидео"},
  };
  for (const TListSpec& spec : specs) {
    spec.Query->SetConnection(Form1->ADOConnection1);
    LoadStatement(*spec.Query, *spec.Select);
    spec.Source->SetDataSet(spec.Query);
    TsDBLookupListBox* list =
        MakeControl<TsDBLookupListBox>(this, sPanel2, spec.Name, 0, kBand, kLeftColumn, sPanel2->Height() - kBand);
    list->SetAnchors({akLeft, akTop, akRight, akBottom});
    list->Font().SetName("Arial");
    list->Font().SetHeight(-16);
    list->Font().SetStyle({fsBold});
    list->Font().SetColor(clBlack);
    list->SetColor(clWhite);
    list->SetListSource(spec.Source);
    list->SetListField(spec.Title);
    list->SetKeyField(spec.Key);
    *spec.List = list;
  }
  sDBLookupListBox2->SetVisible(false);
  sDBLookupListBox3->SetVisible(false);

  sPanel3 = MakeControl<TsPanel>(this, this, "sPanel3");
  sPanel3->SetAlign(alClient);
  sPanel3->SetBevelOuter(bvNone);
  sPanel3->SetCaption("");
  sPanel1 = MakeControl<TsPanel>(this, sPanel3, "sPanel1");
  sPanel1->SetAlign(alTop);
  sPanel1->SetHeight(kStrip);
  sPanel1->SetCaption("");
  MediaPlayer1 = MakeControl<TMediaPlayer>(this, sPanel1, "MediaPlayer1");
  MediaPlayer1->SetLeft(8);
  MediaPlayer1->SetTop((kStrip - MediaPlayer1->Height()) / 2);
  WebBrowser1 = MakeControl<TWebBrowser>(this, sPanel3, "WebBrowser1");
  WebBrowser1->SetAlign(alClient);
  Panel4 = MakeControl<TPanel>(this, sPanel3, "Panel4");
  Panel4->SetAlign(alClient);
  Panel4->SetBevelOuter(bvNone);
  Panel4->SetColor(clBlack);
  Panel4->SetCaption("");

  for (TADOQueryComponent* q : {ADOQuery2, ADOQuery3, ADOQuery4}) q->Open();

  sDBLookupListBox1->OnDblClick = [this](TObject* s) { sDBLookupListBox1DblClick(s); };
  sDBLookupListBox2->OnDblClick = [this](TObject* s) { sDBLookupListBox2DblClick(s); };
  sDBLookupListBox3->OnDblClick = [this](TObject* s) { sDBLookupListBox3DblClick(s); };
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };
  sButton2->OnClick = [this](TObject* s) { sButton2Click(s); };
  sButton3->OnClick = [this](TObject* s) { sButton3Click(s); };
  sButton4->OnClick = [this](TObject* s) { sButton4Click(s); };
  // Last, so that laying out the controls cannot turn it back to normal.
  SetWindowState(wsMaximized);
  // The on-show steps run each time before the window is seen, the first time
  // included; not while it is made as well: nothing they do shows until then, and
  // start-up need not load a page nobody sees.
  OnShow = [this](TObject* s) { FormShow(s); };
  OnHide = [this](TObject* s) { FormHide(s); };
}

TADOQueryComponent* TForm7::ListQuery(std::uint8_t kind) const {
  switch (kind) {
    case kLectures: return ADOQuery2;
    case kLabs: return ADOQuery3;
    case kVideos: return ADOQuery4;
  }
  return nullptr;
}

TsDBLookupListBox* TForm7::List(std::uint8_t kind) const {
  switch (kind) {
    case kLectures: return sDBLookupListBox1;
    case kLabs: return sDBLookupListBox2;
    case kVideos: return sDBLookupListBox3;
  }
  return nullptr;
}

void TForm7::Reopen(TADOQueryComponent* query) {
  query->Close();
  query->Open();  // its current statement and parameters: a search stays in force
}

void TForm7::FormShow(TObject*) {
  Panel4->SetVisible(false);
  // The first pressed of "Уроки", "Дополнительно", "Видео" decides the kind.
  struct TChoice {
    TsSpeedButton* Button;
    std::uint8_t Kind;
    const char* Caption;
  };
  const TChoice choices[] = {{Form1->sSpeedButton1, kLectures, "Теория"},
                             {Form1->sSpeedButton2, kLabs, "Практика"},
                             {Form1->sSpeedButton3, kVideos, "Видео"}};
  for (const TChoice& c : choices) {
    if (!c.Button->Down()) continue;
    sDBLookupListBox1->SetVisible(c.Kind == kLectures);
    sDBLookupListBox2->SetVisible(c.Kind == kLabs);
    sDBLookupListBox3->SetVisible(c.Kind == kVideos);
    SetCaption(c.Caption);
    if (c.Kind == kVideos) Panel4->SetVisible(true);
    Kind_ = c.Kind;
    sGroupBox2->SetVisible(true);
    break;
  }
  WebBrowser1->Navigate(std::filesystem::current_path().string() + "\\Clear.htm");
  for (TADOQueryComponent* q : {ADOQuery2, ADOQuery3, ADOQuery4}) Reopen(q);
  MediaPlayer1->SetVisible(false);
  MediaPlayer1->SetDisplay(Panel4);
}

void TForm7::FormHide(TObject*) {
  // A video playing in a closed window would go on being heard.
  MediaPlayer1->Stop();
}

void TForm7::sDBLookupListBox1DblClick(TObject*) { WebBrowser1->Navigate(sDBLookupListBox1->KeyValue().AsString()); }

void TForm7::sDBLookupListBox2DblClick(TObject*) { WebBrowser1->Navigate(sDBLookupListBox2->KeyValue().AsString()); }

void TForm7::sDBLookupListBox3DblClick(TObject*) {
  MediaPlayer1->SetVisible(true);
  MediaPlayer1->SetNotify(false);
  MediaPlayer1->SetFileName(KeyAsString(sDBLookupListBox3->KeyValue()));
  MediaPlayer1->Open();
  MediaPlayer1->SetDisplayRect(Panel4->ClientRect());
}

void TForm7::sButton1Click(TObject*) {
  const std::string text = InputBox("Найти", "Введите имя, искомого файла", "");
  TADOQueryComponent* query = ListQuery(Kind_);
  if (!query) return;
  LoadStatement(*query, Search(Kind_));
  query->ParamByName("a").SetValue(Statements::SearchPattern(text));
  query->Open();
}

void TForm7::sButton2Click(TObject*) {
  TADOQueryComponent* query = ListQuery(Kind_);
  if (!query) return;
  LoadStatement(*query, SelectAll(Kind_));
  query->Open();
}

void TForm7::sButton3Click(TObject*) {
  if (Kind_ == kVideos) {
    OpenDialog1->SetFilter("Видео (*.avi,*.wmv,*.mpg)|*.avi;*.wmv;*.mpg");
    OpenDialog1->SetFilterIndex(1);
  } else {
    OpenDialog1->SetFilter("Все файлы |*.*");
  }
  if (!OpenDialog1->Execute()) {
    ShowMessage("Не указано расположение файла!\r\nФайл не добавлен");
    return;
  }
  const std::string title = InputBox("Добавить", "Введите имя, добавляемого файла", "");
  if (title.empty()) {
    ShowMessage("Не указано имя файла!\r\nФайл не добавлен");
    return;
  }
  TADOQueryComponent* list = ListQuery(Kind_);
  if (!list) return;
  LoadStatement(*ADOQuery1, Add(Kind_));
  ADOQuery1->ParamByName("a1").SetValue(title);
  ADOQuery1->ParamByName("a2").SetValue(StoredMaterialPath(OpenDialog1->FileName(), std::filesystem::current_path()));
  ADOQuery1->ExecSQL();
  Reopen(list);
}

void TForm7::sButton4Click(TObject*) {
  TsDBLookupListBox* list = List(Kind_);
  if (!list) return;
  const Variant key = list->KeyValue();
  if (key.GetKind() == Variant::Kind::Text && key.AsString().empty()) return;
  // A null key (nothing chosen yet) matches no row: the delete runs and removes nothing.
  LoadStatement(*ADOQuery1, Delete(Kind_));
  ADOQuery1->ParamByName("a1").SetValue(key);
  ADOQuery1->ExecSQL();
  for (TADOQueryComponent* q : {ADOQuery2, ADOQuery3, ADOQuery4}) Reopen(q);
}
