#include "app/Unit1.h"

#include "app/AppControls.h"
#include "app/Unit3.h"
#include "app/Unit5.h"
#include "app/Unit7.h"
#include "app/Unit8.h"
#include "app/Unit9.h"
#include "app/data/DatabaseChoice.h"
#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "forms/db/DBComponents.h"
#include "skin/runtime/sSkinManager.h"
#ifdef TEXTBOOK_HAVE_TB_APPART
#include "app/art/AppArt.h"
#endif

TForm1* Form1 = nullptr;

namespace {
constexpr int kStripWidth = 889;
constexpr int kStripHeight = 113;
constexpr int kButtonWidth = 196;
constexpr int kButtonHeight = 46;
constexpr int kAboutWidth = 132;
constexpr int kAboutHeight = 30;
// The strip's two rows and the left end that holds the current user.
constexpr int kUpperRow = 8;
constexpr int kLowerRow = 59;
constexpr int kFirstButton = 78;
constexpr int kButtonStep = kButtonWidth + 6;
// The strip and the margin beside the picture in the blue of the window's panels.
constexpr TColor kStripColor = static_cast<TColor>(RGB(0xC4, 0xD8, 0xEA));
constexpr TColor kUserColor = static_cast<TColor>(RGB(0xD0, 0xEB, 0xFF));
constexpr TColor kUserTextColor = static_cast<TColor>(RGB(0x24, 0x39, 0x53));

#ifdef TEXTBOOK_HAVE_TB_APPART
// The faces' soft edges are blended over the colour of the skin's button face.
TColor ButtonFaceColour(const TsSkinManager* manager) {
  const int section = manager ? manager->SectionIndexOf("SPEEDBUTTON") : -1;
  if (section < 0) return GetSysColor(COLOR_BTNFACE);
  return ColorToRGB(manager->Section(section)->Color);
}

// The word is the button's face: the picture fills the whole button (Margin 0)
// so that a caption, which only some buttons carry, falls outside and is not drawn.
TBitmap FaceGlyph(TAppPicture id, int width, int height, TColor faceColour) {
  TBitmap face = AppPictureGlyph(id, faceColour);
  TBitmap glyph(width, height, TPixelFormat::pf24bit, true);
  const int left = (width - face.Width()) / 2, top = (height - face.Height()) / 2;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = glyph.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      row[x * 3] = 0xFF;  // the magenta key
      row[x * 3 + 1] = 0x00;
      row[x * 3 + 2] = 0xFF;
    }
    const int fy = y - top;
    if (fy < 0 || fy >= face.Height()) continue;
    const std::uint8_t* src = face.ScanLine(fy);
    for (int fx = 0; fx < face.Width(); ++fx) {
      const int x = left + fx;
      if (x < 0 || x >= width) continue;
      row[x * 3] = src[fx * 3];
      row[x * 3 + 1] = src[fx * 3 + 1];
      row[x * 3 + 2] = src[fx * 3 + 2];
    }
  }
  return glyph;
}
#endif
}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetName("Form1");
  SetCaption("Электронный учебник");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 895, 624);
  SetColor(kStripColor);

  // The connection opens first: a missing or damaged database ends start-up here.
  ADOConnection1 = MakeComponent<TADOConnectionComponent>(this, "ADOConnection1");
  // db.mdb, or the database chosen at start-up (a file or a server).
  ADOConnection1->SetConnectionString(DatabaseChoice::ConnectionStringFor(DatabaseChoice::Chosen()));
  ADOConnection1->Open();

  // The skin manager of the stored design: carries the internal skin and becomes the
  // default manager; every window is given its skinned frame when first activated
  // (the engine scope main holds, app/TextbookEngine.h).
  sSkinManager1 = MakeComponent<TsSkinManager>(this, "sSkinManager1");
  ApplyMainWindowSkinSettings(*sSkinManager1);

  Image1 = MakeControl<TImage>(this, this, "Image1", 0, 0, 873, 585);
  Image1->SetStretch(true);

  sPanel4 = MakeControl<TsPanel>(this, this, "sPanel4", 0, ClientHeight() - kStripHeight, kStripWidth, kStripHeight);
  sPanel4->SetAnchors({akLeft, akBottom});
  sPanel4->SetCursor(crHandPoint);
  sPanel4->SetBevelOuter(bvNone);
  sPanel4->SetColor(kStripColor);

  sPanel1 = MakeControl<TsPanel>(this, sPanel4, "sPanel1", 8, kLowerRow, 64, 48);
  sPanel1->SetCaption("sPanel1");
  sPanel1->Font().SetName("Arial");
  sPanel1->Font().SetHeight(-21);
  sPanel1->Font().SetStyle({fsBold});
  sPanel1->SetCursor(crHandPoint);
  sPanel1->SetColor(kUserColor);
  sPanel1->Font().SetColor(kUserTextColor);
  sPanel1->SetShrinkCaption(true);  // a long login is drawn smaller, never clipped

  auto stripButton = [this](const char* name, int left, int top) {
    TsSpeedButton* b = MakeControl<TsSpeedButton>(this, sPanel4, name, left, top, kButtonWidth, kButtonHeight);
    b->SetGroupIndex(1);
    b->Font().SetName("Palatino Linotype");
    b->Font().SetHeight(-16);
    b->Font().SetStyle({fsBold});
    b->SetCursor(crHandPoint);
    b->SetMargin(0);
    return b;
  };
  sSpeedButton1 = stripButton("sSpeedButton1", kFirstButton, kLowerRow);
  sSpeedButton3 = stripButton("sSpeedButton3", kFirstButton + kButtonStep, kLowerRow);
  sSpeedButton4 = stripButton("sSpeedButton4", kFirstButton + 2 * kButtonStep, kLowerRow);
  sSpeedButton2 = stripButton("sSpeedButton2", kFirstButton + 3 * kButtonStep, kLowerRow);
  sSpeedButton2->SetCaption("Практика");
  sSpeedButton5 = stripButton("sSpeedButton5", kFirstButton + 3 * kButtonStep, kUpperRow);

  sSpeedButton7 = MakeControl<TsSpeedButton>(this, this, "sSpeedButton7", ClientWidth() - kAboutWidth - 8, 8,
                                            kAboutWidth, kAboutHeight);
  sSpeedButton7->SetCursor(crHandPoint);
  sSpeedButton7->SetMargin(0);

  // Help and the shortcut panel are part of the window but never shown.
  sSpeedButton6 = MakeControl<TsSpeedButton>(this, sPanel4, "sSpeedButton6", kFirstButton, kUpperRow, kButtonWidth,
                                            kButtonHeight);
  sSpeedButton6->SetCaption("Справка");
  sSpeedButton6->SetVisible(false);
  sPanel3 = MakeControl<TsPanel>(this, sPanel4, "sPanel3", kFirstButton + kButtonStep, kUpperRow, 2 * kButtonWidth, 46);
  sPanel3->SetVisible(false);
  sSpeedButton8 = MakeControl<TsSpeedButton>(this, sPanel3, "sSpeedButton8", 0, 0, kButtonWidth, kButtonHeight);
  sSpeedButton8->SetCaption("Результат");
  sSpeedButton9 = MakeControl<TsSpeedButton>(this, sPanel3, "sSpeedButton9", kButtonWidth, 0, kButtonWidth, kButtonHeight);
  sSpeedButton9->SetCaption("Редактировать");

#ifdef TEXTBOOK_HAVE_TB_APPART
  Image1->Picture().SetBitmap(AppShownBitmap(TAppPicture::MainBackground));
  const TColor faceColour = ButtonFaceColour(sSkinManager1);
  sSpeedButton1->SetGlyph(FaceGlyph(TAppPicture::ButtonLessons, kButtonWidth, kButtonHeight, faceColour));
  sSpeedButton3->SetGlyph(FaceGlyph(TAppPicture::ButtonVideo, kButtonWidth, kButtonHeight, faceColour));
  sSpeedButton4->SetGlyph(FaceGlyph(TAppPicture::ButtonTests, kButtonWidth, kButtonHeight, faceColour));
  sSpeedButton2->SetGlyph(FaceGlyph(TAppPicture::ButtonExtra, kButtonWidth, kButtonHeight, faceColour));
  sSpeedButton5->SetGlyph(FaceGlyph(TAppPicture::ButtonAccounts, kButtonWidth, kButtonHeight, faceColour));
  sSpeedButton7->SetGlyph(FaceGlyph(TAppPicture::ButtonAbout, kAboutWidth, kAboutHeight, faceColour));
#else
  for (TsSpeedButton* b : {sSpeedButton1, sSpeedButton3, sSpeedButton4, sSpeedButton2, sSpeedButton5, sSpeedButton7})
    b->SetMargin(-1);
  sSpeedButton1->SetCaption("Уроки");
  sSpeedButton3->SetCaption("Видео");
  sSpeedButton4->SetCaption("Тесты");
  sSpeedButton5->SetCaption("Учетные записи");
  sSpeedButton7->SetCaption("О программе");
#endif

  sSpeedButton1->OnClick = [this](TObject* s) { sSpeedButton1Click(s); };
  sSpeedButton2->OnClick = [this](TObject* s) { sSpeedButton2Click(s); };
  sSpeedButton3->OnClick = [this](TObject* s) { sSpeedButton3Click(s); };
  sSpeedButton4->OnClick = [this](TObject* s) { sSpeedButton4Click(s); };
  sSpeedButton5->OnClick = [this](TObject* s) { sSpeedButton5Click(s); };
  sSpeedButton7->OnClick = [this](TObject* s) { sSpeedButton7Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

std::string TForm1::CurrentUser() const { return sPanel1->Caption(); }

bool TForm1::IsAdministrator() const { return CurrentUser() == Statements::kAdminLogin; }

void TForm1::ShowingChanged() {
  TForm::ShowingChanged();
  // Showing this window activates it; the login window, shown from FormShow,
  // must keep the keyboard while it is up.
  if (Visible() && Form3 && Form3->Visible()) Form3->Show();
}

void TForm1::FormShow(TObject*) { Form3->Show(); }

void TForm1::sSpeedButton1Click(TObject*) { Form7->Show(); }
void TForm1::sSpeedButton2Click(TObject*) { Form7->Show(); }
void TForm1::sSpeedButton3Click(TObject*) { Form7->Show(); }
void TForm1::sSpeedButton4Click(TObject*) { Form8->Show(); }
void TForm1::sSpeedButton5Click(TObject*) { Form5->Show(); }
void TForm1::sSpeedButton7Click(TObject*) { Form9->Show(); }
