// What the provider takes from others: the standard-control adapter through its
// factory seam, the window's own icon or the program's icon, and the caption text.
#include "platform/win/HitTest.h"
#include "platform/win/Icons.h"
#include "tests/skinframe/FrameTestUtil.h"

namespace {

struct TAdapterLog {
  int Made = 0;
  int Added = 0;
  int Removed = 0;
  int Destroyed = 0;
};

class TFakeAdapter final : public IacCtrlAdapter {
public:
  explicit TFakeAdapter(TAdapterLog& log) : Log_(log) { ++Log_.Made; }
  ~TFakeAdapter() override { ++Log_.Destroyed; }
  void AddAllItems() override { ++Log_.Added; }
  void RemoveAllItems() override { ++Log_.Removed; }

private:
  TAdapterLog& Log_;
};

}  // namespace

TEST_F(FrameTest, EachProviderOwnsOneAdapterFromTheRegisteredFactory) {
  TAdapterLog log;
  SetCtrlAdapterFactory([&log](TsSkinProvider&) { return std::make_unique<TFakeAdapter>(log); });
  TForm* form = ShowForm();
  ASSERT_NE(ProviderOf(form), nullptr);
  EXPECT_NE(ProviderOf(form)->Adapter(), nullptr);
  EXPECT_EQ(log.Made, 1);
  EXPECT_EQ(log.Added, 1) << "the adapter scans the form once it is skinned";
  Manager->NotifyNewSkin(false);
  EXPECT_EQ(log.Added, 2) << "a new skin scans again";
  Manager->SetActive(false);
  EXPECT_GE(log.Removed, 1) << "removing the skin detaches the adapter";
  EXPECT_EQ(log.Destroyed, 1) << "the adapter goes with its provider";
  SetCtrlAdapterFactory(nullptr);
  // Without a factory a provider has no adapter and works all the same.
  Manager->SetActive(true);
  TForm* other = ShowForm({}, Bounds(520, 80, 300, 200));
  ASSERT_NE(ProviderOf(other), nullptr);
  EXPECT_EQ(ProviderOf(other)->Adapter(), nullptr);
  EXPECT_TRUE(ProviderOf(other)->FrameSkinned());
}

TEST_F(FrameTest, TitleBandShowsTheWindowsIconElseTheProgramsIcon) {
  TForm* form = ShowForm([](TForm* f) { f->SetBorderStyle(bsSingle); });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  ASSERT_NE(ApplicationIcon(), nullptr) << "the program has its icon once form skinning is registered";
  // The program's icon: the textbook's book at the left of the band.
  const TPoint iconCentre{3 + Manager->SkinData.BILeft + 8, 3 + 19 / 2};
  const TColor withProgramIcon = ImagePixel(form, iconCentre);
  TBitmap green(16, 16, TPixelFormat::pf24bit, true);
  green.Fill(RGB(0, 200, 0));
  HICON own = CreateIconFromImage(green);
  SendMessage(form->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(own));
  Settle();
  EXPECT_EQ(ImagePixel(form, iconCentre), RGB(0, 200, 0)) << "the window's own icon";
  EXPECT_NE(withProgramIcon, RGB(0, 200, 0));
  EXPECT_EQ(SendMessage(form->Handle(), WM_NCHITTEST, 0,
                        MAKELPARAM(static_cast<WORD>(Screen(form, iconCentre).X), static_cast<WORD>(Screen(form, iconCentre).Y))),
            HTSYSMENU);
  // Without ShowAppIcon the band has no icon and the caption moves left.
  provider->SetShowAppIcon(false);
  Settle();
  EXPECT_NE(ImagePixel(form, iconCentre), RGB(0, 200, 0));
  SendMessage(form->Handle(), WM_SETICON, ICON_SMALL, 0);
  DestroyIcon(own);
}

TEST_F(FrameTest, CaptionTextIsDrawnInTheTitleBandAndFollowsTheCaption) {
  TForm* form = ShowForm([](TForm* f) { f->SetCaption(""); });
  TsSkinProvider* provider = ProviderOf(form);
  ASSERT_NE(provider, nullptr);
  const TBitmap empty = *provider->WindowImage();
  form->SetCaption("Электронный учебник");
  Settle();
  const TBitmap* titled = provider->WindowImage();
  // Text pixels differ from the band only between the icon and the buttons.
  int changedInText = 0, changedElsewhere = 0;
  const int textLeft = 3 + 16 + Manager->SkinData.BILeft + 4;
  const int textRight = provider->Button(HTMINBUTTON).Rect.Left - 6;
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < empty.Width(); ++x) {
      if (empty.Pixel(x, y) == titled->Pixel(x, y)) continue;
      if (x >= textLeft && x < textRight) ++changedInText;
      else ++changedElsewhere;
    }
  EXPECT_GT(changedInText, 50);
  EXPECT_EQ(changedElsewhere, 0);
}
