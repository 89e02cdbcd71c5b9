#include "app/Unit9.h"

#include "app/AppControls.h"

#ifdef TEXTBOOK_HAVE_TB_APPART
#include "app/art/AppArt.h"
#endif

TForm9* Form9 = nullptr;

namespace {
constexpr int kPictureWidth = 377;
constexpr int kPictureHeight = 153;
constexpr int kCreditHeight = 40;
// A calm green in the family of the window's blues.
constexpr TColor kCreditColor = static_cast<TColor>(RGB(0xA8, 0xD8, 0x9C));
}  // namespace

TForm9::TForm9(TComponent* owner) : TForm(owner) {
  SetName("Form9");
  SetCaption("Электронный учебник");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu});
  SetPosition(poScreenCenter);
  SetClientSize(kPictureWidth, kPictureHeight + kCreditHeight);

  Image1 = MakeControl<TImage>(this, this, "Image1", 0, 0, kPictureWidth, kPictureHeight);
  Image1->SetStretch(true);
  sLabel1 = MakeControl<TsLabel>(this, this, "sLabel1", 0, kPictureHeight, kPictureWidth, kCreditHeight);
  sLabel1->SetAutoSize(false);
  sLabel1->SetWordWrap(true);
  sLabel1->SetAlignment(taCenter);
  sLabel1->SetLayout(tlCenter);
  sLabel1->SetTransparent(false);
  sLabel1->SetColor(kCreditColor);
  sLabel1->Font().SetName("MS Sans Serif");
  sLabel1->Font().SetHeight(-13);
  sLabel1->Font().SetColor(clBlack);
  sLabel1->SetSkinSection("BAR");  // the skin's bar behind the credit
#ifdef TEXTBOOK_HAVE_TB_APPART
  Image1->Picture().SetBitmap(AppShownBitmap(TAppPicture::AboutBanner));
  sLabel1->SetCaption(kAboutCredit);
#else
  sLabel1->SetCaption("Электронный учебник");
#endif
}
