#include "app/Unit8.h"

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit4.h"
#include "app/Unit6.h"
#include "app/data/Statements.h"
#include "forms/db/DBComponents.h"
#include "forms/db/DBGrid.h"
#ifdef TEXTBOOK_HAVE_TB_APPART
#include "app/art/AppArt.h"
#endif

TForm8* Form8 = nullptr;

namespace {
constexpr int kButtonWidth = 400;
constexpr int kButtonHeight = 132;
constexpr int kUserHeight = 40;
}  // namespace

TForm8::TForm8(TComponent* owner) : TForm(owner) {
  SetName("Form8");
  SetCaption("Тест");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(528, 449);

  sPanel2 = MakeControl<TsPanel>(this, this, "sPanel2", 0, 0, 528, 449);
  sPanel2->SetAlign(alClient);
  sPanel2->SetCaption("");
  sPanel2->SetBevelOuter(bvNone);

  // Down the window from the top left, one step right for each.
  struct TButtonSpec {
    TsSpeedButton** Member;
    const char* Name;
    const char* Caption;
    int Left, Top;
  };
  const TButtonSpec buttons[] = {
      {&sSpeedButton1, "sSpeedButton1", "Тестирование", 8, 6},
      {&sSpeedButton2, "sSpeedButton2", "Просмотр результатов", 64, 142},
      {&sSpeedButton3, "sSpeedButton3", "Редактирование тестов", 120, 278},
  };
  for (const TButtonSpec& spec : buttons) {
    TsSpeedButton* b = MakeControl<TsSpeedButton>(this, sPanel2, spec.Name, spec.Left, spec.Top, kButtonWidth,
                                                  kButtonHeight);
    b->SetCaption(spec.Caption);
    b->SetCursor(crHandPoint);
    b->SetGroupIndex(1);
    b->Font().SetName("Palatino Linotype");
    b->Font().SetHeight(-21);
    b->Font().SetStyle({fsBold});
    b->SetMargin(4);
    *spec.Member = b;
  }
#ifdef TEXTBOOK_HAVE_TB_APPART
  const TColor face = GetSysColor(COLOR_BTNFACE);
  sSpeedButton1->SetGlyph(AppPictureGlyph(TAppPicture::TestTaking, face));
  sSpeedButton2->SetGlyph(AppPictureGlyph(TAppPicture::TestResults, face));
  sSpeedButton3->SetGlyph(AppPictureGlyph(TAppPicture::TestEditing, face));
#endif
  sSpeedButton1->OnClick = [this](TObject* s) { sSpeedButton1Click(s); };
  sSpeedButton2->OnClick = [this](TObject* s) { sSpeedButton2Click(s); };
  sSpeedButton3->OnClick = [this](TObject* s) { sSpeedButton3Click(s); };

  sPanel1 = MakeControl<TsPanel>(this, sPanel2, "sPanel1", 0, 449 - kUserHeight, 528, kUserHeight);
  sPanel1->SetAlign(alBottom);
  sPanel1->Font().SetName("Palatino Linotype");
  sPanel1->Font().SetHeight(-21);
  sPanel1->Font().SetStyle({fsBold});

  OnCreate = [this](TObject* s) { FormShow(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

bool TForm8::IsAdministrator() const { return sPanel1->Caption() == Statements::kAdminLogin; }

void TForm8::FormShow(TObject*) {
  sPanel1->SetCaption(Form1->sPanel1->Caption());
  sSpeedButton3->SetVisible(IsAdministrator());
}

void TForm8::sSpeedButton1Click(TObject*) { Form2->Show(); }

void TForm8::sSpeedButton2Click(TObject*) {
  TADOQueryComponent& query = *Form6->ADOQuery1;
  LoadStatement(query, Statements::kSelectResults);
  const bool administrator = IsAdministrator();
  if (!administrator) {
    query.SQL().Add(std::string(Statements::kResultsOfUser));
    query.ParamByName("a").SetValue(Variant(sPanel1->Caption()));
  }
  // Each student sees their own scores and cannot change them.
  Form6->DBGrid1->SetReadOnly(!administrator);
  query.Open();
  Form6->Show();
}

void TForm8::sSpeedButton3Click(TObject*) { Form4->Show(); }
