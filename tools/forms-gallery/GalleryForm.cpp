#include "tools/forms-gallery/GalleryForm.h"

#include "forms/Dialogs.h"
#include "platform/base/Exception.h"

TGalleryForm* GalleryForm = nullptr;

namespace {

template <class T>
T* Make(TForm* form, TWinControl* parent, const char* name, int x, int y, int w, int h) {
  auto* c = new T(form);
  c->SetName(name);
  c->SetParent(parent);
  c->SetBounds(x, y, w, h);
  return c;
}

// A calm picture for the image control: sky gradient, hills, a sun.
TBitmap GalleryPicture(int w, int h) {
  TBitmap b(w, h, TPixelFormat::pf24bit, true);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      int sky = y * 255 / h;
      std::uint8_t r = static_cast<std::uint8_t>(0x77 + (0xC4 - 0x77) * sky / 255);
      std::uint8_t g = static_cast<std::uint8_t>(0xAB + (0xD8 - 0xAB) * sky / 255);
      std::uint8_t bl = static_cast<std::uint8_t>(0xDB + (0xEA - 0xDB) * sky / 255);
      int hill = h * 2 / 3 + ((x - w / 2) * (x - w / 2)) / (w * 2);
      int dx = x - w * 3 / 4, dy = y - h / 4;
      if (dx * dx + dy * dy < (h / 8) * (h / 8)) {
        r = 0xF5; g = 0xD0; bl = 0x60;
      }
      if (y > hill) {
        r = 0x5E; g = 0x9E; bl = 0x6A;
      }
      row[x * 3] = bl;
      row[x * 3 + 1] = g;
      row[x * 3 + 2] = r;
    }
  }
  return b;
}

}  // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
  SetName("GalleryForm");
  SetCaption("Галерея элементов");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poScreenCenter);
  Font().SetName("Arial");
  Font().SetHeight(-13);
  SetClientSize(760, 520);
  SetKeyPreview(true);

  Panel1 = Make<TPanel>(this, this, "Panel1", 0, 0, 760, 44);
  Panel1->SetAlign(alTop);
  Panel1->SetColor(static_cast<TColor>(RGB(0xC4, 0xD8, 0xEA)));
  Panel1->SetBevelOuter(bvNone);
  Title = Make<TLabel>(this, Panel1, "Title", 12, 11, 300, 22);
  Title->SetCaption("Стандартные элементы управления");
  Title->Font().SetName("Arial");
  Title->Font().SetHeight(-19);
  Title->Font().SetStyle({fsBold});
  Title->Font().SetColor(static_cast<TColor>(RGB(0x24, 0x39, 0x53)));

  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 12, 54, 300, 250);
  GroupBox1->SetCaption("Ввод текста");
  Label1 = Make<TLabel>(this, GroupBox1, "Label1", 12, 26, 80, 17);
  Label1->SetCaption("Имя:");
  Edit1 = Make<TEdit>(this, GroupBox1, "Edit1", 100, 22, 186, 23);
  Edit1->SetMaxLength(31);
  Label1->SetFocusControl(Edit1);
  Label2 = Make<TLabel>(this, GroupBox1, "Label2", 12, 58, 80, 17);
  Label2->SetCaption("Пароль:");
  Edit2 = Make<TEdit>(this, GroupBox1, "Edit2", 100, 54, 186, 23);
  Edit2->SetMaxLength(31);
  Edit2->SetPasswordChar('*');
  Memo1 = Make<TMemo>(this, GroupBox1, "Memo1", 12, 88, 274, 148);
  Memo1->SetScrollBars(ssVertical);
  Memo1->Lines().Add("Многострочный текст: стрелки, Home/End,");
  Memo1->Lines().Add("Shift для выделения, Ctrl+C/V/X/A.");
  Memo1->Lines().Add("Длинные строки переносятся по словам, а полоса прокрутки показывает, где вы находитесь.");

  GroupBox2 = Make<TGroupBox>(this, this, "GroupBox2", 324, 54, 424, 250);
  GroupBox2->SetCaption("Кнопки");
  SpeedButton1 = Make<TSpeedButton>(this, GroupBox2, "SpeedButton1", 12, 24, 96, 30);
  SpeedButton1->SetCaption("Уроки");
  SpeedButton2 = Make<TSpeedButton>(this, GroupBox2, "SpeedButton2", 112, 24, 96, 30);
  SpeedButton2->SetCaption("Видео");
  SpeedButton3 = Make<TSpeedButton>(this, GroupBox2, "SpeedButton3", 212, 24, 96, 30);
  SpeedButton3->SetCaption("Тесты");
  for (TSpeedButton* b : {SpeedButton1, SpeedButton2, SpeedButton3}) {
    b->SetGroupIndex(1);
    b->OnClick = [this](TObject* s) { SpeedButtonClick(s); };
  }
  SpeedButton1->SetDown(true);
  SpeedButton4 = Make<TSpeedButton>(this, GroupBox2, "SpeedButton4", 316, 24, 96, 30);
  SpeedButton4->SetCaption("Плоская");
  SpeedButton4->SetFlat(true);
  SpeedButton4->OnClick = [this](TObject* s) { SpeedButtonClick(s); };

  CheckBox1 = Make<TCheckBox>(this, GroupBox2, "CheckBox1", 12, 66, 190, 19);
  CheckBox1->SetCaption("Фильтрация");
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  CheckBox2 = Make<TCheckBox>(this, GroupBox2, "CheckBox2", 212, 66, 200, 19);
  CheckBox2->SetCaption("Три состояния");
  CheckBox2->SetAllowGrayed(true);
  CheckBox2->SetState(cbGrayed);

  Button1 = Make<TButton>(this, GroupBox2, "Button1", 12, 100, 128, 27);
  Button1->SetCaption("Сообщение");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button2 = Make<TButton>(this, GroupBox2, "Button2", 148, 100, 128, 27);
  Button2->SetCaption("Вопрос");
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  Button3 = Make<TButton>(this, GroupBox2, "Button3", 284, 100, 128, 27);
  Button3->SetCaption("Ввод");
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  Button4 = Make<TButton>(this, GroupBox2, "Button4", 12, 136, 128, 27);
  Button4->SetCaption("Открыть файл…");
  Button4->OnClick = [this](TObject* s) { Button4Click(s); };
  BitBtn1 = Make<TBitBtn>(this, GroupBox2, "BitBtn1", 148, 136, 128, 27);
  BitBtn1->SetKind(bkOK);
  BitBtn1->SetModalResult(mrNone);
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
  BitBtn2 = Make<TBitBtn>(this, GroupBox2, "BitBtn2", 284, 136, 128, 27);
  BitBtn2->SetCaption("Ошибка");
  BitBtn2->SetKind(bkCancel);
  BitBtn2->SetModalResult(mrNone);
  BitBtn2->SetCancel(false);
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
  auto* disabled = Make<TButton>(this, GroupBox2, "Button5", 12, 172, 128, 27);
  disabled->SetCaption("Недоступна");
  disabled->SetEnabled(false);
  auto* label = Make<TLabel>(this, GroupBox2, "Label3", 148, 172, 264, 60);
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetCaption("Enter нажимает кнопку «ОК» (по умолчанию) из любого поля ввода.");

  GroupBox3 = Make<TGroupBox>(this, this, "GroupBox3", 12, 312, 736, 160);
  GroupBox3->SetCaption("Списки и картинки");
  ListBox1 = Make<TListBox>(this, GroupBox3, "ListBox1", 12, 24, 240, 124);
  for (const char* s : {"Лекция 1. Введение", "Лекция 2. Алгоритмы", "Лекция 3. Данные", "Лабораторная 1",
                        "Лабораторная 2", "Видео: знакомство", "Видео: практика", "Тест по разделу"})
    ListBox1->Items().Add(s);
  ListBox1->OnClick = [this](TObject* s) { ListBox1Click(s); };
  Image1 = Make<TImage>(this, GroupBox3, "Image1", 264, 24, 220, 124);
  Image1->Picture().SetBitmap(GalleryPicture(220, 124));
  auto* small = Make<TImage>(this, GroupBox3, "Image2", 496, 24, 228, 124);
  small->SetStretch(true);
  small->Picture().SetBitmap(GalleryPicture(60, 34));

  Panel2 = Make<TPanel>(this, this, "Panel2", 0, 496, 760, 24);
  Panel2->SetAlign(alBottom);
  Panel2->SetBevelOuter(bvLowered);
  Status = Make<TLabel>(this, Panel2, "Status", 8, 4, 740, 17);
  Status->SetCaption("Готово");

  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  OpenDialog1->SetFilter("Документы (*.htm;*.txt)|*.htm;*.html;*.txt|Все файлы (*.*)|*.*");
  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetInterval(1000);
  Timer1->OnTimer = [this](TObject*) { ++Ticks; };

  OnCreate = [this](TObject* s) { FormCreate(s); };
  SetActiveControl(Edit1);
}

void TGalleryForm::SetStatus(const std::string& text) { Status->SetCaption(text); }

void TGalleryForm::FormCreate(TObject*) { SetStatus("Готово"); }

void TGalleryForm::Button1Click(TObject*) {
  ShowMessage("Данная учетная запись не существует");
  SetStatus("Сообщение закрыто");
}

void TGalleryForm::Button2Click(TObject*) {
  TModalResult r = MessageDlg("Удалить запись?", mtConfirmation, {mbOK, mbCancel});
  SetStatus(r == mrOk ? "Ответ: ОК" : "Ответ: Отмена");
}

void TGalleryForm::Button3Click(TObject*) {
  std::string name = InputBox("Ввод", "Как вас зовут?", Edit1->Text());
  Edit1->SetText(name);
  SetStatus("Введено: " + name);
}

void TGalleryForm::Button4Click(TObject*) {
  if (OpenDialog1->Execute()) SetStatus("Файл: " + OpenDialog1->FileName());
  else SetStatus("Файл не выбран");
}

void TGalleryForm::BitBtn1Click(TObject*) { SetStatus("Нажата ОК, имя: " + Edit1->Text()); }

void TGalleryForm::BitBtn2Click(TObject*) {
  // Errors from handlers reach the error box and the window stays.
  throw EConvertError("'" + Edit1->Text() + "' is not a valid integer value");
}

void TGalleryForm::SpeedButtonClick(TObject* sender) {
  auto* b = static_cast<TSpeedButton*>(sender);
  SetStatus("Кнопка «" + b->Caption() + "», нажата: " + (b->Down() ? "да" : "нет"));
}

void TGalleryForm::CheckBox1Click(TObject*) { SetStatus(CheckBox1->Checked() ? "Флажок установлен" : "Флажок снят"); }

void TGalleryForm::ListBox1Click(TObject*) {
  if (ListBox1->ItemIndex() >= 0) SetStatus("Выбрано: " + ListBox1->Items().Get(ListBox1->ItemIndex()));
}
