// Corner refreshes: only the holes of a border's corner slices take what lies
// behind; the face inside the rounded outline stays the control's own.
#include "tests/skinpaint/FadeTestKit.h"
#include "tests/skinpaint/PaintTestSkin.h"

#include "skin/internal/InternalSkin.h"
#include "skin/paint/acMaskPaint.h"

namespace {

// A parent answering background requests with its picture, client origin at (2, 3).
class TPicturedParent : public TCustomControl {
public:
  explicit TPicturedParent(TComponent* owner) : TCustomControl(owner), Picture(PatternedParent(300, 200)) {
    ControlStyle_.Include(csAcceptsControls);
  }
  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD && CommandOf(message.WParam) == AC_GETCACHE) {
      auto* request = reinterpret_cast<TacBGInfo*>(message.LParam);
      request->BgType = btCache;
      request->Bmp = &Picture;
      request->OffsetX = 2;
      request->OffsetY = 3;
      return;
    }
    TCustomControl::WndProc(message);
  }
  TBitmap Picture;
};

bool SameBitmap(const TBitmap& a, const TBitmap& b, int& x, int& y) {
  for (y = 0; y < a.Height(); ++y)
    for (x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

// A masked 2 x 2 corner like the art draws it: a hole outside the outline, an
// opaque outline pixel, a half-clear highlight and a clear pixel of the face.
struct TCornerSkin : TPaintSkin {
  int Index = -1;
  explicit TCornerSkin(int maskType) {
    // One state image 4 x 4 (two-pixel corners), its band 4 rows below when masked.
    Index = AddMask("B", "BORDERSMASK", {0, 0, 4, maskType == 1 ? 8 : 4}, 1, maskType);
    TsMaskData& m = Mask(Index);
    m.WL = m.WT = m.WR = m.WB = 2;
    FillMaster({0, 0, 4, 4}, 0xFEFEFE);
    FillMaster({0, 4, 4, 8}, 0xFFFFFF);  // band: clear
    for (TPoint p : {TPoint{0, 0}, TPoint{3, 0}, TPoint{0, 3}, TPoint{3, 3}}) Model.MasterBitmap->SetPixel(p.X, p.Y, kKey);
    Model.MasterBitmap->SetPixel(1, 0, 0x3366CC);  // outline, opaque
    Model.MasterBitmap->SetPixel(1, 4, 0x000000);
    Model.MasterBitmap->SetPixel(0, 1, 0xFFFFFF);  // highlight, half clear
    Model.MasterBitmap->SetPixel(0, 5, 0x808080);
  }
};

TEST(CornerRefresh, OnlyHolesOfAMaskedCornerTakeTheParent) {
  TCornerSkin skin(1);
  const TsMaskData& mask = skin.Mask(skin.Index);
  const TBitmap parent = PatternedParent(40, 40);
  TBitmap face = Filled(10, 8, 0x405060);
  const TBitmap before = face;
  const BackgroundInfo bg = BackgroundInfo::FromBitmap(&parent, 5, 6);
  RecompositeCorners(face, {0, 0, 10, 8}, mask, TacPaintState::Normal, 15, bg);
  // The hole at the outer pixel of each corner.
  EXPECT_EQ(face.Pixel(0, 0), parent.Pixel(5, 6));
  EXPECT_EQ(face.Pixel(9, 0), parent.Pixel(14, 6));
  EXPECT_EQ(face.Pixel(0, 7), parent.Pixel(5, 13));
  EXPECT_EQ(face.Pixel(9, 7), parent.Pixel(14, 13));
  // Outline, half-clear highlight and clear face pixels keep the face they show.
  for (TPoint p : {TPoint{1, 0}, TPoint{0, 1}, TPoint{1, 1}, TPoint{8, 6}, TPoint{8, 1}, TPoint{5, 4}})
    EXPECT_EQ(face.Pixel(p.X, p.Y), before.Pixel(p.X, p.Y)) << p.X << "," << p.Y;
  // A second refresh over a parent that has not changed changes nothing.
  const TBitmap once = face;
  RecompositeCorners(face, {0, 0, 10, 8}, mask, TacPaintState::Normal, 15, bg);
  int x = 0, y = 0;
  EXPECT_TRUE(SameBitmap(face, once, x, y)) << x << "," << y;
}

TEST(CornerRefresh, ColoursAndUnknownBackgrounds) {
  TCornerSkin skin(1);
  const TsMaskData& mask = skin.Mask(skin.Index);
  TBitmap face = Filled(10, 8, 0x405060);
  RecompositeCorners(face, {0, 0, 10, 8}, mask, TacPaintState::Normal, kCornerTopLeft, BackgroundInfo::FromColor(0x00AA00));
  EXPECT_EQ(face.Pixel(0, 0), 0x00AA00);
  EXPECT_EQ(face.Pixel(1, 1), 0x405060);
  EXPECT_EQ(face.Pixel(9, 7), 0x405060);  // a corner not asked for
  // Nothing known behind: no key colour, no change at all.
  TBitmap unknown = Filled(10, 8, 0x405060);
  RecompositeCorners(unknown, {0, 0, 10, 8}, mask, TacPaintState::Normal, 15, BackgroundInfo::FromColor(kKey));
  EXPECT_EQ(unknown.Pixel(0, 0), 0x405060);
}

TEST(CornerRefresh, KeyedCornerCopiesItsPictureAndTheParentUnderHoles) {
  TCornerSkin skin(0);
  const TsMaskData& mask = skin.Mask(skin.Index);
  const TBitmap parent = PatternedParent(40, 40);
  TBitmap face = Filled(10, 8, 0x405060);
  RecompositeCorners(face, {0, 0, 10, 8}, mask, TacPaintState::Normal, kCornerTopLeft, BackgroundInfo::FromBitmap(&parent, 1, 1));
  EXPECT_EQ(face.Pixel(0, 0), parent.Pixel(1, 1));
  EXPECT_EQ(face.Pixel(1, 0), 0x3366CC);
  EXPECT_EQ(face.Pixel(1, 1), 0xFEFEFE);
  EXPECT_EQ(face.Pixel(2, 2), 0x405060);  // outside the slice
}

// The internal skin, and a 96 x 31 control at (17, 11) on a pictured parent.
class CornerRefreshOverAPicture : public FadeTest {
protected:
  bool OverAPicture(TPicturedParent*& parent, TFadeButton*& control) {
    Build("");
    AddInternalSkin(*Manager);
    Manager->SetSkinName(kInternalSkinName);
    parent = new TPicturedParent(Form);
    parent->SetBounds(0, 0, 300, 200);
    parent->SetParent(Form);
    control = new TFadeButton(Form);
    control->SetParent(parent);
    control->SetBounds(17, 11, 96, 31);
    return Manager->SkinData.SkinReady;
  }
};

// Every section of the internal skin whose border is masked: a face painted with its
// corners taking the parent is left exactly as it is by a corner refresh, and a face
// painted without is refreshed into that same picture (no parent squares inside the
// rounded corners of buttons, edits or frames).
TEST_F(CornerRefreshOverAPicture, InternalSkinFacesAreUnchangedByCornerRefreshes) {
  TPicturedParent* parent = nullptr;
  TFadeButton* control = nullptr;
  ASSERT_TRUE(OverAPicture(parent, control));
  int masked = 0;
  for (std::size_t i = 0; i < Manager->Sections().size(); ++i) {
    const TsGeneralData& section = Manager->Sections()[i];
    if (section.BorderIndex < 0 || Manager->Mask(section.BorderIndex)->MaskType != 1) continue;
    ++masked;
    control->Data.SetSkinSection(section.SectionName);
    ASSERT_EQ(control->Data.BorderIndex(), section.BorderIndex) << section.SectionName;
    for (int state = 0; state < 3; ++state) {
      control->Data.EnsureCache();
      TBitmap& cache = *control->Data.Cache();
      PaintSectionForControl(control->Data, parent, true, static_cast<TacPaintState>(state), {0, 0, 96, 31}, {17, 11}, &cache, true);
      const TBitmap painted = cache;
      RefreshCorners(control->Data, static_cast<TacPaintState>(state));
      int x = 0, y = 0;
      EXPECT_TRUE(SameBitmap(cache, painted, x, y)) << section.SectionName << " state " << state << " at " << x << ","
                                                    << y;
      PaintSectionForControl(control->Data, parent, true, static_cast<TacPaintState>(state), {0, 0, 96, 31}, {17, 11}, &cache, false);
      RefreshCorners(control->Data, static_cast<TacPaintState>(state));
      EXPECT_TRUE(SameBitmap(cache, painted, x, y)) << section.SectionName << " state " << state << " at " << x << ","
                                                    << y << " (painted without corners)";
    }
  }
  EXPECT_GE(masked, 20);
}

// Clean speed buttons refresh their corners for state 0 whatever face they show: the
// internal skin's masks have their holes at the same places in every state image, so
// a hot or pressed face keeps its outline.
TEST_F(CornerRefreshOverAPicture, InternalSkinHotFacesAreUnchangedByAStateZeroRefresh) {
  TPicturedParent* parent = nullptr;
  TFadeButton* control = nullptr;
  ASSERT_TRUE(OverAPicture(parent, control));
  for (const char* name : {"SPEEDBUTTON", "BUTTON", "TOOLBUTTON", "EDIT", "CHECKBOX"}) {
    control->Data.SetSkinSection(name);
    for (int state = 1; state < 3; ++state) {
      control->Data.EnsureCache();
      TBitmap& cache = *control->Data.Cache();
      PaintSectionForControl(control->Data, parent, true, static_cast<TacPaintState>(state), {0, 0, 96, 31}, {17, 11}, &cache, true);
      const TBitmap painted = cache;
      RefreshCorners(control->Data, TacPaintState::Normal);
      int x = 0, y = 0;
      EXPECT_TRUE(SameBitmap(cache, painted, x, y)) << name << " state " << state << " at " << x << "," << y;
    }
  }
}

}  // namespace
