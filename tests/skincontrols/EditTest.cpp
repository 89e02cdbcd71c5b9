// The skinned edit: colours from its section, the frame ring painted from the face,
// a disabled edit painted from its cache, the password mask.
#include "EditTestKit.h"


#include "skin/controls/sDBEdit.h"
#include "skin/controls/sDBLookupListBox.h"
#include "skin/controls/sDBMemo.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/core/sGeneralData.h"

class EditTest : public EditTestBase {
protected:
  void Build() {
    Form = MakeForm([this](TForm* form) {
      OpenDatabase(form);
      Panel = Add<TsPanel>(form, form, "sPanel1", 0, 0, 500, 360);
      Panel->SetAlign(alClient);
      Edit = Add<TsEdit>(form, Panel, "sEdit1", 10, 10, 150, 24);
      Edit->SetText("Иванов");
      Other = Add<TsEdit>(form, Panel, "sEdit2", 10, 44, 150, 24);
      Memo = Add<TsMemo>(form, Panel, "sMemo1", 200, 10, 200, 80);
      Memo->SetScrollBars(ssVertical);
      DBEdit = Add<TsDBEdit>(form, Panel, "sDBEdit1", 10, 100, 90, 24);
      DBEdit->SetDataSource(Source);
      DBEdit->SetDataField("amount");
      DBMemo = Add<TsDBMemo>(form, Panel, "sDBMemo1", 200, 100, 200, 80);
      DBMemo->SetDataSource(Source);
      DBMemo->SetDataField("title");
      List = Add<TsDBLookupListBox>(form, Panel, "sDBLookupListBox1", 10, 200, 200, 100);
      List->SetListSource(LookupSource);
      List->SetListField("title");
      List->SetKeyField("note");
    });
  }
  // A pixel of a control's client area as the window shows it.
  TColor ClientPixel(TWinControl* c, int x, int y) {
    TRect window;
    GetWindowRect(c->Handle(), &window);
    const TPoint p = c->ClientToScreen({x, y});
    return WindowPixel(c->Handle(), p.X - window.Left, p.Y - window.Top);
  }

  TForm* Form = nullptr;
  TsPanel* Panel = nullptr;
  TsEdit* Edit = nullptr;
  TsEdit* Other = nullptr;
  TsMemo* Memo = nullptr;
  TsDBEdit* DBEdit = nullptr;
  TsDBMemo* DBMemo = nullptr;
  TsDBLookupListBox* List = nullptr;
};

TEST_F(EditTest, EveryMemberTakesItsColoursFromTheEditSection) {
  Build();
  const TsGeneralData& edit = Section("EDIT");
  for (TWinControl* c : std::initializer_list<TWinControl*>{Edit, Memo, DBEdit, DBMemo, List}) {
    TsCommonData* d = SkinDataOf(c);
    ASSERT_NE(d, nullptr) << c->Name();
    EXPECT_EQ(d->SkinSection(), "EDIT") << c->Name();
    EXPECT_EQ(c->Font().Color(), edit.FontColor[0]) << c->Name();
  }
  EXPECT_EQ(Memo->SkinData()->ControlKind(), TacControlKind::Memo);
  EXPECT_EQ(DBEdit->SkinData()->ControlKind(), TacControlKind::DBEdit);
  EXPECT_EQ(List->SkinData()->ControlKind(), TacControlKind::Edit);
  // The family keeps the edit subclass on its window; the edit paints its own frame.
  EXPECT_NE(Memo->EditWnd(), nullptr);
  EXPECT_NE(DBEdit->EditWnd(), nullptr);
  EXPECT_NE(DBMemo->EditWnd(), nullptr);
  EXPECT_NE(List->EditWnd(), nullptr);
  EXPECT_EQ(TacMainWnd::Of(Edit->Handle()), nullptr);
  // The list's own colours give way to the section's unless they are custom.
  List->SkinData()->SetCustomColor(true);
  List->SetColor(0x00D0FFD0);
  Manager->NotifyRefresh();
  EXPECT_EQ(List->Color(), 0x00D0FFD0);
  List->SkinData()->SetCustomColor(false);
  Manager->NotifyRefresh();
  EXPECT_EQ(List->Color(), edit.Color);
}

TEST_F(EditTest, FocusTurnsTheEditToTheHotColoursAndLeavingRestores) {
  // A section of our own whose hot look differs, so the switch is visible.
  Build();
  TsGeneralData& edit = *Manager->Section(Manager->SectionIndexOf("EDIT"));
  edit.HotColor = 0x00E0F0FF;
  edit.HotFontColor[0] = 0x00202080;
  Other->SetFocus();
  Settle();
  EXPECT_EQ(Edit->Color(), edit.Color);
  Edit->SetFocus();
  Settle();
  EXPECT_EQ(Edit->Color(), 0x00E0F0FF);
  EXPECT_EQ(Edit->Font().Color(), 0x00202080);
  EXPECT_EQ(ClientPixel(Edit, Edit->ClientWidth() - 3, 3) & 0xFFFFFF, 0x00E0F0FFu);
  Other->SetFocus();
  Settle();
  EXPECT_EQ(Edit->Color(), edit.Color);
  EXPECT_EQ(Edit->Font().Color(), edit.FontColor[0]);
}

TEST_F(EditTest, TheFrameRingComesFromTheFace) {
  Build();
  ASSERT_EQ(Edit->FrameRingWidth(), 2);
  const TBitmap& face = *Edit->SkinData()->Cache();
  ASSERT_EQ(face.Width(), Edit->Width());
  // Each ring pixel on the screen is the face's pixel.
  for (TPoint p : {TPoint{0, 12}, TPoint{1, 12}, TPoint{75, 0}, TPoint{75, 23}, TPoint{149, 12}})
    EXPECT_EQ(WindowPixel(Edit->Handle(), p.X, p.Y) & 0xFFFFFF, face.Pixel(p.X, p.Y) & 0xFFFFFF) << p.X << "," << p.Y;
}

TEST_F(EditTest, ADisabledEditIsPaintedFromItsCache) {
  Build();
  Edit->SetPasswordChar(U'*');
  Edit->SetEnabled(false);
  Settle();
  const int renders = Edit->RenderCount();
  const TBitmap& face = *Edit->SkinData()->Cache();
  // The client shows the face shifted by the ring, text included.
  int textPixels = 0;
  for (int y = 2; y < Edit->Height() - 2; ++y)
    for (int x = 2; x < Edit->Width() - 2; ++x) {
      const TColor shown = WindowPixel(Edit->Handle(), x, y) & 0xFFFFFF;
      ASSERT_EQ(shown, face.Pixel(x, y) & 0xFFFFFF) << x << "," << y;
      textPixels += shown != (face.Pixel(Edit->Width() - 4, 4) & 0xFFFFFF) ? 1 : 0;
    }
  EXPECT_GT(textPixels, 20);
  // Painting again copies the cache: the face is not rebuilt.
  Edit->Invalidate();
  Settle();
  EXPECT_EQ(Edit->RenderCount(), renders);
  // Six mask characters, not the name: a longer text gives a wider mask.
  // The rightmost column where the text shows: a pixel differs from the same row
  // near the right end.
  auto maskWidth = [&] {
    int right = 0;
    for (int y = 5; y < Edit->Height() - 5; ++y)
      for (int x = 3; x < Edit->Width() - 8; ++x)
        if ((face.Pixel(x, y) & 0xFFFFFF) != (face.Pixel(Edit->Width() - 10, y) & 0xFFFFFF)) right = std::max(right, x);
    return right;
  };
  const int six = maskWidth();
  Edit->SetText("Иванов Иван");
  Settle();
  EXPECT_GT(Edit->RenderCount(), renders);
  EXPECT_GT(maskWidth(), six);
}

// Without a border the bevels make the frame, one pixel for each one present; the
// text moves in by as much.
TEST_F(EditTest, EachPresentBevelIsOnePixelOfFrame) {
  Build();
  Edit->SetBorderStyle(bsNone);
  Edit->SetBevelKind(bkFlat);
  Edit->SetEnabled(false);  // painted from the face, text included
  Settle();
  EXPECT_EQ(Edit->FrameRingWidth(), 2);
  // The first column where the face with the text differs from the face without it.
  auto firstInk = [&] {
    Edit->SetText("");
    Settle();
    const TBitmap blank = *Edit->SkinData()->Cache();
    Edit->SetText("Иванов");
    Settle();
    const TBitmap& face = *Edit->SkinData()->Cache();
    for (int x = 0; x < Edit->Width(); ++x)
      for (int y = 0; y < Edit->Height(); ++y)
        if (face.Pixel(x, y) != blank.Pixel(x, y)) return x;
    return -1;
  };
  const int two = firstInk();
  ASSERT_GT(two, 0);
  Edit->SetBevelOuter(bvNone);
  Settle();
  EXPECT_EQ(Edit->BevelCount(), 1);
  EXPECT_EQ(Edit->FrameRingWidth(), 1);
  EXPECT_EQ(firstInk(), two - 1);
  Edit->SetBevelInner(bvNone);
  Settle();
  EXPECT_EQ(Edit->FrameRingWidth(), 0);
  EXPECT_EQ(firstInk(), two - 2);
  Edit->SetBevelKind(bkNone);
  Edit->SetBevelInner(bvRaised);
  EXPECT_EQ(Edit->BevelCount(), 0) << "bevels count only while BevelKind is set";
}
